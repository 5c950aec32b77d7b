#include "numerics/SmoothCurve.h"

#include "platform/Dialogs.h"
#include "platform/VectorState.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// x^k for k >= 1 by repeated multiplication in extended precision, rounded once.
double IntPower(double X, int K)
{
    long double v = 1.0L;
    for (int i = 0; i < K; ++i)
        v *= X;
    return static_cast<double>(v);
}

// Degrees up to this fit on flat arrays (the per-point power table costs Count x m
// doubles); higher ones, which nobody smooths with, go through the matrix classes only.
constexpr int kFlatMaxColumns = 32;

// How far from the origin, in multiples of its spread, a window may lie for its normal
// equations to be kept. Their error grows with that distance: at 33 (the last window of a
// 501-point sweep of indices) it stays below 1e-3 ohm, while near 190 (a file of 2901
// points) it reaches tens of ohms. Every window of a sweep keeps the normal equations' value,
// bit for bit; farther windows are solved orthogonally.
constexpr double kNormalEquationsReach = 34.0;

// The windows of one smoothing run fitted on flat arrays. Each window repeats, step for
// step and in the same order, what FillDesignRow and FitAndEvaluate do through the matrix
// classes (design rows, normal equations, the elimination of SolveLinear, the evaluation),
// so every result is bit-identical; only the bounds-checked accessors, the row objects and
// their allocations per window are gone. A step that the matrix code would report (a
// non-finite product or quotient, a column without a pivot) makes Fit answer false: the
// caller then runs that window through the matrix classes, which show and raise exactly as
// they always do. A window beyond kNormalEquationsReach is fitted by a QR factorisation of
// the same model in a well-conditioned basis instead, and only when that fit cannot be made
// (all x equal, a value beyond the double range) by the normal equations as above.
class TFlatWindowFit
{
public:
    TFlatWindowFit(const TDoubleArray &xList, int Columns)
        : M(Columns)
        , Points(xList.Count())
        , X(xList.Data())
        , Powers(static_cast<std::size_t>(xList.Count()) * static_cast<std::size_t>(Columns))
        , Normal(static_cast<std::size_t>(Columns) * static_cast<std::size_t>(Columns + kMaxSeries))
        , PivotOf(static_cast<std::size_t>(Columns))
        , Coefficients(static_cast<std::size_t>(Columns) * static_cast<std::size_t>(kMaxSeries))
        , Diagonal(static_cast<std::size_t>(Columns))
    {
        // x^k rounded once from the extended product, as FillDesignRow writes a design row
        // and IntPower evaluates the fit: both build it by the same repeated products.
        const double *x = xList.Data();
        for (int i = 0; i < xList.Count(); ++i) {
            long double power = 1.0L;
            for (int k = 0; k < M; ++k) {
                power *= x[i];
                Powers[Flat(k, i, Points)] = static_cast<double>(power);
            }
        }
    }

    // The fit of the Rows points from First (y values from y) evaluated at point Index.
    bool Fit(int First, int Rows, const double *y, int Index, double &Value)
    {
        const double *ys[1] = { y };
        return FitAll(First, Rows, 1, ys, Index, &Value);
    }

    // Fit for two series over the same window, with one factorisation where it is shared.
    bool FitPair(int First, int Rows, const double *y1, const double *y2, int Index, double &Value1,
        double &Value2)
    {
        const double *ys[2] = { y1, y2 };
        double values[2] = { 0.0, 0.0 };
        if (!FitAll(First, Rows, 2, ys, Index, values))
            return false;
        Value1 = values[0];
        Value2 = values[1];
        return true;
    }

private:
    // Series fitted over one window together.
    static constexpr int kMaxSeries = 2;

    // The degree every sweep is smoothed with has its column count fixed at compile time, so
    // that the index arithmetic folds away; any other runs the same code with M.
    static constexpr int kSweepColumns = 3;

    // A window far from the origin keeps the orthogonal fit's value, so the normal equations
    // are solved, for all the series that fit left without a value at once, only when that
    // fit cannot be made. False when they fail too.
    bool FitAll(int First, int Rows, int Count, const double *const *Ys, int Index, double *Values)
    {
        return M == kSweepColumns ? FitAllOf<kSweepColumns>(First, Rows, Count, Ys, Index, Values)
                                  : FitAllOf<0>(First, Rows, Count, Ys, Index, Values);
    }

    template <int MT>
    bool FitAllOf(
        int First, int Rows, int Count, const double *const *Ys, int Index, double *Values)
    {
        double lo = 0.0;
        double hi = 0.0;
        bool valid[kMaxSeries] = { false, false };
        if (IsFar(First, Rows, lo, hi))
            FitOrthogonallyAll<MT>(First, Rows, lo, hi, Count, Ys, Index, Values, valid);
        const double *left[kMaxSeries] = { nullptr, nullptr };
        double leftValues[kMaxSeries] = { 0.0, 0.0 };
        int leftCount = 0;
        for (int s = 0; s < Count; ++s)
            if (!valid[s])
                left[leftCount++] = Ys[s];
        if (leftCount == 0)
            return true;
        if (!FitNormalAll<MT>(First, Rows, leftCount, left, Index, leftValues))
            return false;
        for (int s = 0, l = 0; s < Count; ++s)
            if (!valid[s])
                Values[s] = leftValues[l++];
        return true;
    }

    bool IsFar(int First, int Rows, double &Lo, double &Hi) const
    {
        const auto [lo, hi] = std::minmax_element(X + First, X + First + Rows);
        Lo = *lo;
        Hi = *hi;
        const double magnitude = std::max(std::fabs(Lo), std::fabs(Hi));
        return magnitude > kNormalEquationsReach * (Hi - Lo);
    }

    template <int MT> int ColumnsOf() const { return MT > 0 ? MT : M; }

    // The normal equations of Count series over one window, solved together: the normal
    // matrix and every step on it depend on x alone, and each right-hand side column takes
    // exactly the steps it would take alone, so each value is the one a fit of its series
    // alone gives, and the fit fails when that of any series would.
    template <int MT>
    bool FitNormalAll(
        int First, int Rows, int Count, const double *const *Ys, int Index, double *Values)
    {
        const int m = ColumnsOf<MT>();
        // The normal matrix with the right-hand sides as last columns.
        const int width = m + Count;
        const auto at
            = [this, width](int Row, int Col) -> double & { return Normal[Flat(Row, Col, width)]; };
        // AT x A and AT x B, each sum from 0.0 over the window's rows in order, as
        // MatrixMultiply does into a freshly zeroed product. The products commute exactly, so
        // the lower triangle of the symmetric AT x A is the upper one.
        for (int r = 0; r < m; ++r) {
            const double *rowPowers = PowersOf(r) + First;
            for (int c = r; c < m; ++c) {
                const double *colPowers = PowersOf(c) + First;
                double sum = 0.0;
                for (int k = 0; k < Rows; ++k)
                    sum = rowPowers[k] * colPowers[k] + sum;
                if (!std::isfinite(sum))
                    return false;
                at(r, c) = sum;
                at(c, r) = sum;
            }
            for (int s = 0; s < Count; ++s) {
                const double *window = Ys[s] + First;
                double sum = 0.0;
                for (int k = 0; k < Rows; ++k)
                    sum = rowPowers[k] * window[k] + sum;
                if (!std::isfinite(sum))
                    return false;
                at(r, m + s) = sum;
            }
        }

        // SolveLinear's Gauss-Jordan elimination without row exchanges. PivotOf[row] is the
        // 0-based column whose pivot sits in the row, -1 while it has none.
        std::fill(PivotOf.begin(), PivotOf.end(), -1);
        for (int c = 0; c < m; ++c) {
            int r = 0;
            while (r < m && (PivotOf[Slot(r)] != -1 || at(r, c) == 0.0))
                ++r;
            if (r == m)
                return false;
            PivotOf[Slot(r)] = c;
            if (c != m - 1) {
                for (int l = 0; l < m; ++l)
                    if (PivotOf[Slot(l)] == -1 && !Eliminate(l, r, c, width))
                        return false;
            }
        }
        for (int c = m - 1; c >= 1; --c) {
            const int r = RowOfPivot(c);
            for (int row = 0; row < m; ++row)
                if (PivotOf[Slot(row)] < c && !Eliminate(row, r, c, width))
                    return false;
        }
        for (int r = 0; r < m; ++r) {
            const double v = at(r, PivotOf[Slot(r)]);
            if (v == 0.0)
                continue;
            const double factor = 1.0 / v;
            if (!std::isfinite(factor))
                return false;
            for (int j = 0; j < width; ++j) {
                const double scaled = factor * at(r, j);
                if (!std::isfinite(scaled))
                    return false;
                at(r, j) = scaled;
            }
        }
        for (int s = 0; s < Count; ++s) {
            for (int c = 0; c < m; ++c)
                Coefficients[Slot(c)] = at(RowOfPivot(c), m + s);
            double sum = 0.0;
            for (int k = 0; k < m; ++k)
                sum = sum + PowersOf(k)[Index] * Coefficients[Slot(k)];
            Values[s] = sum;
        }
        return true;
    }

    // The same model, y = x (d1 + d2 u + ... + d(m) u^(m-1)) with u running over [-1, 1]
    // across the window, spans exactly the polynomials of degree m without a constant term,
    // but its columns are far from parallel. Householder QR of that matrix of powers, so the
    // conditioning is not squared either. The factorisation depends on x alone and is made
    // once; each series' right-hand side goes through the very steps it would alone. False
    // when the basis degenerates (all x equal) or a value leaves the double range; Valid
    // tells which values are finite, the others keep the normal equations' value.
    template <int MT>
    bool FitOrthogonallyAll(int First, int Rows, double Lo, double Hi, int Count,
        const double *const *Ys, int Index, double *Values, bool *Valid)
    {
        const int m = ColumnsOf<MT>();
        const double *x = X + First;
        const double centre = Lo + (Hi - Lo) / 2.0;
        const double halfSpan = (Hi - Lo) / 2.0;
        const double magnitude = std::max(std::fabs(Lo), std::fabs(Hi));
        if (!(halfSpan > 0.0) || !std::isfinite(magnitude))
            return false;
        // The powers of the window's points column by column, the right-hand sides after
        // them: each reduction step reflects every column right of its own alike.
        const int columns = m + Count;
        const std::size_t cells = Flat(columns, 0, Rows);
        if (Work.size() < cells)
            Work.resize(cells);
        double *const work = Work.data();
        for (int s = 0; s < Count; ++s)
            std::copy(Ys[s] + First, Ys[s] + First + Rows, work + Flat(m + s, 0, Rows));
        const double toU = 1.0 / halfSpan;
        const double toUnit = 1.0 / magnitude;
        // The squared norm of column k from row k down, the first one's summed as it is
        // built; each step sums the next one's as it reflects it.
        double norm2 = 0.0;
        for (int i = 0; i < Rows; ++i) {
            const double u = (x[i] - centre) * toU;
            double f = x[i] * toUnit;
            norm2 += f * f;
            double *cell = work + i;
            for (int k = 0; k < m; ++k) {
                *cell = f;
                cell += Rows;
                f *= u;
            }
        }
        for (int k = 0; k < m; ++k) {
            double *const v = work + Flat(k, 0, Rows);
            const double norm = std::sqrt(norm2);
            if (!(norm > 0.0))
                return false;
            // The reflection maps the column onto alpha e(k); the sign keeps v[k] away from 0.
            const double alpha = v[k] > 0.0 ? -norm : norm;
            v[k] -= alpha;
            const double tau = -1.0 / (alpha * v[k]);
            norm2 = ReflectColumns(v, k, Rows, tau, v + Rows, columns - k - 1);
            Diagonal[Slot(k)] = alpha;
        }
        // Back substitution of every series row by row, so that their divisions overlap;
        // series s has its coefficients from Coefficients[s m] on.
        const double u0 = (X[Index] - centre) * toU;
        for (int k = m - 1; k >= 0; --k) {
            for (int s = 0; s < Count; ++s) {
                const double *rhs = work + Flat(m + s, 0, Rows);
                double *const coefficients = &Coefficients[Flat(s, 0, m)];
                double sum = rhs[k];
                for (int j = k + 1; j < m; ++j)
                    sum -= work[Flat(j, k, Rows)] * coefficients[j];
                coefficients[k] = sum / Diagonal[Slot(k)];
            }
        }
        for (int s = 0; s < Count; ++s) {
            const double *const coefficients = &Coefficients[Flat(s, 0, m)];
            double sum = coefficients[m - 1];
            for (int k = m - 2; k >= 0; --k)
                sum = sum * u0 + coefficients[k];
            Values[s] = X[Index] * toUnit * sum;
            Valid[s] = std::isfinite(Values[s]);
        }
        return true;
    }

    // Reflects the Count columns from Cols on (Rows apart) by v from row K down: each column
    // c by c -= tau (v . c) v, its dot product summed in row order. Up to four columns a
    // pass, so that their sums run side by side. Gives the squared norm of the first column
    // from row K + 1 down after its reflection, 0 without columns.
    static double ReflectColumns(
        const double *V, int K, int Rows, double Tau, double *Cols, int Count)
    {
        double norm2 = 0.0;
        for (int t = 0; t < Count; t += 4) {
            double *const first = Cols + Flat(t, 0, Rows);
            double *const next = t == 0 ? &norm2 : nullptr;
            switch (Count - t) {
            case 1:
                ReflectGroup<1>(V, K, Rows, Tau, first, next);
                break;
            case 2:
                ReflectGroup<2>(V, K, Rows, Tau, first, next);
                break;
            case 3:
                ReflectGroup<3>(V, K, Rows, Tau, first, next);
                break;
            default:
                ReflectGroup<4>(V, K, Rows, Tau, first, next);
                break;
            }
        }
        return norm2;
    }

    // N columns from Cols on; Norm2, unless null, takes the first one's squared norm below
    // row K, summed as its rows are reflected.
    template <int N>
    static void ReflectGroup(
        const double *V, int K, int Rows, double Tau, double *Cols, double *Norm2)
    {
        static_assert(N >= 1 && N <= 4, "one to four columns a pass");
        double *const a = Cols;
        double *const b = Cols + Flat(N > 1 ? 1 : 0, 0, Rows);
        double *const c = Cols + Flat(N > 2 ? 2 : 0, 0, Rows);
        double *const d = Cols + Flat(N > 3 ? 3 : 0, 0, Rows);
        double dotA = 0.0;
        double dotB = 0.0;
        double dotC = 0.0;
        double dotD = 0.0;
        for (int i = K; i < Rows; ++i) {
            const double v = V[i];
            dotA += v * a[i];
            if constexpr (N > 1)
                dotB += v * b[i];
            if constexpr (N > 2)
                dotC += v * c[i];
            if constexpr (N > 3)
                dotD += v * d[i];
        }
        dotA *= Tau;
        dotB *= Tau;
        dotC *= Tau;
        dotD *= Tau;
        double norm2 = 0.0;
        for (int i = K; i < Rows; ++i) {
            const double v = V[i];
            a[i] -= dotA * v;
            if constexpr (N > 1)
                b[i] -= dotB * v;
            if constexpr (N > 2)
                c[i] -= dotC * v;
            if constexpr (N > 3)
                d[i] -= dotD * v;
            if (i > K)
                norm2 += a[i] * a[i];
        }
        if (Norm2)
            *Norm2 = norm2;
    }

    static std::size_t Flat(int Row, int Col, int Width)
    {
        return static_cast<std::size_t>(Row) * static_cast<std::size_t>(Width)
            + static_cast<std::size_t>(Col);
    }
    static std::size_t Slot(int I) { return static_cast<std::size_t>(I); }
    // x^(K+1) of every point, so that a window's sums run along contiguous memory.
    const double *PowersOf(int K) const { return Powers.data() + Flat(K, 0, Points); }

    int RowOfPivot(int Col) const
    {
        int r = 0;
        while (PivotOf[Slot(r)] != Col) // every column has its pivot row by then
            ++r;
        return r;
    }

    // Row Target := factor x row Target + row Pivot with factor -pivot / value, as
    // SolveLinear's CombineRows step; a zero value leaves the row alone.
    bool Eliminate(int Target, int PivotRow, int Col, int Width)
    {
        double *const target = &Normal[Flat(Target, 0, Width)];
        const double *const pivot = &Normal[Flat(PivotRow, 0, Width)];
        const double v = target[Col];
        if (v == 0.0)
            return true;
        const double factor = -pivot[Col] / v;
        if (!std::isfinite(factor))
            return false;
        for (int j = 0; j < Width; ++j) {
            const double combined = factor * target[j] + pivot[j];
            if (!std::isfinite(combined))
                return false;
            target[j] = combined;
        }
        return true;
    }

    int M;
    int Points;
    const double *X;
    std::vector<double> Powers; // Powers[k * Points + i] = x_i^(k+1)
    std::vector<double> Normal; // M x (M + series), row-major
    std::vector<int> PivotOf;
    std::vector<double> Coefficients;
    std::vector<double> Diagonal; // of R in the QR factorisation
    // The powers of a window's points column by column and its right-hand sides, then their QR.
    std::vector<double> Work;
};

} // namespace

void FillDesignRow(TQuadDoubleArray &A, TQuadDoubleArray &B, const TDoubleArray &xList, int Index,
    int Row, const TDoubleArray &yList)
{
    const double x = xList.ItemRef(Index);
    const int cols = A.ColCount();
    // The same products as IntPower(x, k), one step per column.
    long double power = 1.0L;
    for (int k = 1; k <= cols; ++k) {
        power *= x;
        A.SetValue(Row, k, static_cast<double>(power));
    }
    B.SetVectorValue(Row, yList.ItemRef(Index));
}

double FitAndEvaluate(TSmoothMatrices &W, const TDoubleArray &xList, int m, int Index)
{
    MatrixTranspose(W.AT, W.A);
    MatrixMultiply(W.ATA, W.AT, W.A);
    MatrixMultiply(W.ATB, W.AT, W.B);
    SolveLinear(W.ATA, W.X, W.ATB);
    const double x0 = xList.ItemRef(Index);
    double sum = 0.0;
    for (int k = 1; k <= m; ++k)
        sum = sum + IntPower(x0, k) * W.X->GetVectorValue(k);
    return sum;
}

void SmoothCurve(const TDoubleArray &xList, const TDoubleArray &yList, int xstep, int nKrivka,
    TDoubleArray &result)
{
    if (nKrivka < 1) {
        Dialogs().ShowMessage("nKrivka nemůže být 0");
        return;
    }
    // nKrivka + 1 must not overflow.
    if (xstep <= nKrivka) {
        Dialogs().ShowMessage("xstep hodnota je nízká");
        return;
    }
    if (xList.Count() != yList.Count()) {
        Dialogs().ShowMessage("xList a yList nemá shodný počet hodnot");
        return;
    }
    if (xList.Count() == 0)
        return;
    if (&result == &xList || &result == &yList) {
        // The windows must read the raw inputs, not points already smoothed or resized.
        const TDoubleArray xCopy = xList;
        const TDoubleArray yCopy = yList;
        SmoothCurve(xCopy, yCopy, xstep, nKrivka, result);
        return;
    }
    const int half = xstep / 2;
    if (result.Count() != xList.Count())
        result.SetCount(xList.Count());
    if (xList.Count() < xstep)
        return;

    const int n = yList.Count();
    const int m = nKrivka + 1;
    // The matrices are only made for a window the flat fit hands back.
    std::unique_ptr<TSmoothMatrices> w;
    const auto fitWithMatrices = [&](int First, int Index) {
        if (!w) {
            w = std::make_unique<TSmoothMatrices>();
            w->A.SetSize(xstep, m);
            w->B.SetVectorSize(xstep);
        }
        for (int j = 1; j <= xstep; ++j)
            FillDesignRow(w->A, w->B, xList, First + j - 1, j, yList);
        return FitAndEvaluate(*w, xList, m, Index);
    };
    // The evaluation of a sweep smooths right after the graph was drawn.
    ReleaseUpperVectorState();
    std::unique_ptr<TFlatWindowFit> flat;
    if (m <= kFlatMaxColumns)
        flat = std::make_unique<TFlatWindowFit>(xList, m);
    for (int i = 0; i + xstep < n; ++i) {
        if (i < half) {
            result.ItemRef(i) = yList.ItemRef(i);
            continue;
        }
        double value = 0.0;
        if (!flat || !flat->Fit(i, xstep, yList.Data(), half + i, value))
            value = fitWithMatrices(i, half + i);
        result.ItemRef(half + i) = value;
    }
}

void SmoothCurvePair(const TDoubleArray &xList, const TDoubleArray &yList1,
    const TDoubleArray &yList2, int xstep, int nKrivka, TDoubleArray &result1,
    TDoubleArray &result2)
{
    const auto oneByOne = [&] {
        SmoothCurve(xList, yList1, xstep, nKrivka, result1);
        SmoothCurve(xList, yList2, xstep, nKrivka, result2);
    };
    const int n = xList.Count();
    const int m = nKrivka + 1;
    // Anything SmoothCurve would report, or treat otherwise than by the flat fit, is left to
    // it, series by series as before.
    const bool aliased = &result1 == &xList || &result1 == &yList1 || &result1 == &yList2
        || &result2 == &xList || &result2 == &yList1 || &result2 == &yList2 || &result1 == &result2;
    if (nKrivka < 1 || xstep <= nKrivka || yList1.Count() != n || yList2.Count() != n || n < xstep
        || aliased || m > kFlatMaxColumns) {
        oneByOne();
        return;
    }
    // Written apart and kept only when every window has been fitted: a window SmoothCurve
    // would report stops the first series there and leaves the second untouched.
    TDoubleArray first = result1;
    TDoubleArray second = result2;
    if (first.Count() != n)
        first.SetCount(n);
    if (second.Count() != n)
        second.SetCount(n);
    const int half = xstep / 2;
    ReleaseUpperVectorState();
    TFlatWindowFit flat(xList, m);
    for (int i = 0; i + xstep < n; ++i) {
        if (i < half) {
            first.ItemRef(i) = yList1.ItemRef(i);
            second.ItemRef(i) = yList2.ItemRef(i);
            continue;
        }
        double value1 = 0.0;
        double value2 = 0.0;
        if (!flat.FitPair(i, xstep, yList1.Data(), yList2.Data(), half + i, value1, value2)) {
            oneByOne();
            return;
        }
        first.ItemRef(half + i) = value1;
        second.ItemRef(half + i) = value2;
    }
    result1 = first;
    result2 = second;
}
