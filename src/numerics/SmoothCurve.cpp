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
        , Normal(static_cast<std::size_t>(Columns) * static_cast<std::size_t>(Columns + 1))
        , PivotOf(static_cast<std::size_t>(Columns))
        , Coefficients(static_cast<std::size_t>(Columns))
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
        // A window far from the origin keeps the orthogonal fit's value, so the normal
        // equations are solved for it only when that fit cannot be made.
        double lo = 0.0;
        double hi = 0.0;
        if (IsFar(First, Rows, lo, hi) && FitOrthogonally(First, Rows, lo, hi, y, Index, Value))
            return true;
        return FitNormal(First, Rows, y, Index, Value);
    }

    // Fit for two series over the same window, with one factorisation where it is shared.
    bool FitPair(int First, int Rows, const double *y1, const double *y2, int Index, double &Value1,
        double &Value2)
    {
        double lo = 0.0;
        double hi = 0.0;
        bool valid[2] = { false, false };
        double values[2] = { 0.0, 0.0 };
        const double *ys[2] = { y1, y2 };
        if (IsFar(First, Rows, lo, hi))
            FitOrthogonallyAll(First, Rows, lo, hi, 2, ys, Index, values, valid);
        if (valid[0])
            Value1 = values[0];
        else if (!FitNormal(First, Rows, y1, Index, Value1))
            return false;
        if (valid[1])
            Value2 = values[1];
        else if (!FitNormal(First, Rows, y2, Index, Value2))
            return false;
        return true;
    }

private:
    bool IsFar(int First, int Rows, double &Lo, double &Hi) const
    {
        const auto [lo, hi] = std::minmax_element(X + First, X + First + Rows);
        Lo = *lo;
        Hi = *hi;
        const double magnitude = std::max(std::fabs(Lo), std::fabs(Hi));
        return magnitude > kNormalEquationsReach * (Hi - Lo);
    }

    bool FitNormal(int First, int Rows, const double *y, int Index, double &Value)
    {
        const int width = M + 1; // the normal matrix with the right-hand side as last column
        // AT x A and AT x B, each sum from 0.0 over the window's rows in order, as
        // MatrixMultiply does into a freshly zeroed product. The products commute exactly, so
        // the lower triangle of the symmetric AT x A is the upper one.
        const double *window = y + First;
        for (int r = 0; r < M; ++r) {
            const double *rowPowers = PowersOf(r) + First;
            for (int c = r; c < M; ++c) {
                const double *colPowers = PowersOf(c) + First;
                double sum = 0.0;
                for (int k = 0; k < Rows; ++k)
                    sum = rowPowers[k] * colPowers[k] + sum;
                if (!std::isfinite(sum))
                    return false;
                At(r, c) = sum;
                At(c, r) = sum;
            }
            double sum = 0.0;
            for (int k = 0; k < Rows; ++k)
                sum = rowPowers[k] * window[k] + sum;
            if (!std::isfinite(sum))
                return false;
            At(r, M) = sum;
        }

        // SolveLinear's Gauss-Jordan elimination without row exchanges. PivotOf[row] is the
        // 0-based column whose pivot sits in the row, -1 while it has none.
        std::fill(PivotOf.begin(), PivotOf.end(), -1);
        for (int c = 0; c < M; ++c) {
            int r = 0;
            while (r < M && (PivotOf[Slot(r)] != -1 || At(r, c) == 0.0))
                ++r;
            if (r == M)
                return false;
            PivotOf[Slot(r)] = c;
            if (c != M - 1) {
                for (int l = 0; l < M; ++l)
                    if (PivotOf[Slot(l)] == -1 && !Eliminate(l, r, c, width))
                        return false;
            }
        }
        for (int c = M - 1; c >= 1; --c) {
            const int r = RowOfPivot(c);
            for (int row = 0; row < M; ++row)
                if (PivotOf[Slot(row)] < c && !Eliminate(row, r, c, width))
                    return false;
        }
        for (int r = 0; r < M; ++r) {
            const double v = At(r, PivotOf[Slot(r)]);
            if (v == 0.0)
                continue;
            const double factor = 1.0 / v;
            if (!std::isfinite(factor))
                return false;
            for (int j = 0; j < width; ++j) {
                const double scaled = factor * At(r, j);
                if (!std::isfinite(scaled))
                    return false;
                At(r, j) = scaled;
            }
        }
        for (int c = 0; c < M; ++c)
            Coefficients[Slot(c)] = At(RowOfPivot(c), M);

        double sum = 0.0;
        for (int k = 0; k < M; ++k)
            sum = sum + PowersOf(k)[Index] * Coefficients[Slot(k)];
        Value = sum;
        return true;
    }

private:
    // The same model, y = x (d1 + d2 u + ... + d(m) u^(m-1)) with u running over [-1, 1]
    // across the window, spans exactly the polynomials of degree m without a constant term,
    // but its columns are far from parallel. Householder QR of that design matrix, so the
    // conditioning is not squared either. False when the basis degenerates (all x equal)
    // or a value leaves the double range; the caller then keeps the normal equations' value.
    bool FitOrthogonally(
        int First, int Rows, double Lo, double Hi, const double *y, int Index, double &Value)
    {
        const double *Ys[1] = { y };
        double Values[1] = { 0.0 };
        bool Valid[1] = { false };
        if (!FitOrthogonallyAll(First, Rows, Lo, Hi, 1, Ys, Index, Values, Valid))
            return false;
        Value = Values[0];
        return Valid[0];
    }

    // The orthogonal fit of Count series over the same window: the factorisation depends on
    // x alone and is made once; each series' right-hand side goes through the very steps it
    // would alone. False when the basis degenerates; Valid tells which values are finite.
    bool FitOrthogonallyAll(int First, int Rows, double Lo, double Hi, int Count,
        const double *const *Ys, int Index, double *Values, bool *Valid)
    {
        const double *x = X + First;
        const double centre = Lo + (Hi - Lo) / 2.0;
        const double halfSpan = (Hi - Lo) / 2.0;
        const double magnitude = std::max(std::fabs(Lo), std::fabs(Hi));
        if (!(halfSpan > 0.0) || !std::isfinite(magnitude))
            return false;
        Basis.resize(static_cast<std::size_t>(Rows) * static_cast<std::size_t>(M));
        Rhs.resize(static_cast<std::size_t>(Rows) * static_cast<std::size_t>(Count));
        for (int s = 0; s < Count; ++s)
            std::copy(Ys[s] + First, Ys[s] + First + Rows, &Rhs[Flat(s, 0, Rows)]);
        const double toU = 1.0 / halfSpan;
        const double toUnit = 1.0 / magnitude;
        for (int i = 0; i < Rows; ++i) {
            const double u = (x[i] - centre) * toU;
            double f = x[i] * toUnit;
            double *cell = &Basis[Slot(i)];
            for (int k = 0; k < M; ++k) {
                *cell = f;
                cell += Rows;
                f *= u;
            }
        }

        for (int k = 0; k < M; ++k) {
            double *v = &Basis[Flat(k, 0, Rows)];
            double norm = 0.0;
            for (int i = k; i < Rows; ++i)
                norm += v[i] * v[i];
            norm = std::sqrt(norm);
            if (!(norm > 0.0))
                return false;
            // The reflection maps the column onto alpha e(k); the sign keeps v[k] away from 0.
            const double alpha = v[k] > 0.0 ? -norm : norm;
            v[k] -= alpha;
            const double tau = -1.0 / (alpha * v[k]);
            const auto reflect = [&](double *Column) {
                double dot = 0.0;
                for (int i = k; i < Rows; ++i)
                    dot += v[i] * Column[i];
                dot *= tau;
                for (int i = k; i < Rows; ++i)
                    Column[i] -= dot * v[i];
            };
            for (int j = k + 1; j < M; ++j)
                reflect(&Basis[Flat(j, 0, Rows)]);
            for (int s = 0; s < Count; ++s)
                reflect(&Rhs[Flat(s, 0, Rows)]);
            Diagonal[Slot(k)] = alpha;
        }
        const double u0 = (X[Index] - centre) * toU;
        for (int s = 0; s < Count; ++s) {
            const double *rhs = &Rhs[Flat(s, 0, Rows)];
            for (int k = M - 1; k >= 0; --k) {
                double sum = rhs[k];
                for (int j = k + 1; j < M; ++j)
                    sum -= Basis[Flat(j, k, Rows)] * Coefficients[Slot(j)];
                Coefficients[Slot(k)] = sum / Diagonal[Slot(k)];
            }
            double sum = Coefficients[Slot(M - 1)];
            for (int k = M - 2; k >= 0; --k)
                sum = sum * u0 + Coefficients[Slot(k)];
            Values[s] = X[Index] * toUnit * sum;
            Valid[s] = std::isfinite(Values[s]);
        }
        return true;
    }

    static std::size_t Flat(int Row, int Col, int Width)
    {
        return static_cast<std::size_t>(Row) * static_cast<std::size_t>(Width)
            + static_cast<std::size_t>(Col);
    }
    static std::size_t Slot(int I) { return static_cast<std::size_t>(I); }
    // x^(K+1) of every point, so that a window's sums run along contiguous memory.
    const double *PowersOf(int K) const { return Powers.data() + Flat(K, 0, Points); }
    double &At(int Row, int Col) { return Normal[Flat(Row, Col, M + 1)]; }

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
        const double v = At(Target, Col);
        if (v == 0.0)
            return true;
        const double factor = -At(PivotRow, Col) / v;
        if (!std::isfinite(factor))
            return false;
        for (int j = 0; j < Width; ++j) {
            const double combined = factor * At(Target, j) + At(PivotRow, j);
            if (!std::isfinite(combined))
                return false;
            At(Target, j) = combined;
        }
        return true;
    }

    int M;
    int Points;
    const double *X;
    std::vector<double> Powers; // Powers[k * Points + i] = x_i^(k+1)
    std::vector<double> Normal; // M x (M + 1), row-major
    std::vector<int> PivotOf;
    std::vector<double> Coefficients;
    std::vector<double> Diagonal; // of R in the QR factorisation
    std::vector<double> Basis; // the window's design matrix column by column, then its QR
    std::vector<double> Rhs;
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
