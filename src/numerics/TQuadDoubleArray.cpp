#include "numerics/TQuadDoubleArray.h"

#include "numerics/TIntDymArray.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/FloatOps.h"

#include <cmath>
#include <string>
#include <utility>

void TQuadDoubleArray::Clear() { FRows.clear(); }

void TQuadDoubleArray::SetSize(int Rows, int Cols)
{
    // Rows that survive are refilled in place, so a matrix that keeps its shape from one
    // window of the smoothing to the next allocates nothing.
    FRows.resize(Rows > 0 ? static_cast<std::size_t>(Rows) : 0);
    for (TDoubleArray &row : FRows)
        row.SetCount(Cols);
}

bool TQuadDoubleArray::CheckIndex(int Row, int Col) const { return CheckIndex64(Row, Col); }

bool TQuadDoubleArray::CheckIndex64(long long Row, long long Col) const
{
    if (FRows.empty() || Row >= RowCount()) {
        Dialogs().ShowMessage("Error r");
        return false;
    }
    if (Col >= FRows.front().Count()) {
        Dialogs().ShowMessage("Error TQuadDoubleArray s");
        return false;
    }
    return true;
}

const TDoubleArray &TQuadDoubleArray::RowAt(long long Index) const
{
    if (Index < 0 || Index >= RowCount())
        throw EKivraError("List index out of bounds (" + std::to_string(Index) + ")");
    return FRows[static_cast<std::size_t>(Index)];
}

TDoubleArray &TQuadDoubleArray::RowAt(long long Index)
{
    return const_cast<TDoubleArray &>(std::as_const(*this).RowAt(Index));
}

namespace {

// FCheck's verdict without the call for the finite values of the normal case.
double Checked(double Value) { return std::isfinite(Value) ? Value : FCheck(Value); }

// A column index that CheckIndex let through but that lies below 0 ends in the row's own
// index error; every other one fits an int.
int ItemIndexOfColumn(long long Col) { return Col < 0 ? -1 : static_cast<int>(Col); }

} // namespace

double TQuadDoubleArray::GetValueChecked(int Row, int Col) const
{
    const long long r = Row - 1LL;
    const long long c = Col - 1LL;
    if (!CheckIndex64(r, c))
        return 0.0;
    return RowAt(r).ItemRef(ItemIndexOfColumn(c));
}

void TQuadDoubleArray::SetValueChecked(int Row, int Col, double Value)
{
    const long long r = Row - 1LL;
    const long long c = Col - 1LL;
    if (!CheckIndex64(r, c))
        return;
    RowAt(r).ItemRef(ItemIndexOfColumn(c)) = Value;
}

int TQuadDoubleArray::ColCount() const { return RowAt(0).Count(); }

void TQuadDoubleArray::CombineRows(int A, int B, double Factor)
{
    const int cols = ColCount();
    if (A >= 1 && A <= RowCount() && B >= 1 && B <= RowCount()) {
        // Both rows exist and have cols elements: no element check can fail.
        double *a = FRows[static_cast<std::size_t>(A - 1)].Data();
        const double *b = FRows[static_cast<std::size_t>(B - 1)].Data();
        for (int j = 0; j < cols; ++j)
            a[j] = Checked(Factor * a[j] + b[j]);
        return;
    }
    for (int j = 1; j <= cols; ++j) {
        const double a = GetValue(A, j);
        const double b = GetValue(B, j);
        SetValue(A, j, Checked(Factor * a + b));
    }
}

void TQuadDoubleArray::ScaleRow(int A, double Factor)
{
    const int cols = ColCount();
    for (int j = 1; j <= cols; ++j)
        SetValue(A, j, Checked(Factor * GetValue(A, j)));
}

bool MatrixMultiply(TQuadDoubleArray &C, const TQuadDoubleArray &A, const TQuadDoubleArray &B)
{
    if (A.ColCount() != B.RowCount()) {
        Dialogs().ShowMessage("Error A.s <> B.r");
        return false;
    }
    if (&C == &A || &C == &B) {
        // Sizing C first would wipe an operand.
        TQuadDoubleArray product;
        MatrixMultiply(product, A, B);
        C = std::move(product);
        return true;
    }
    C.SetSize(A.RowCount(), B.ColCount());
    const int rows = C.RowCount();
    const int cols = rows > 0 ? C.ColCount() : 0;
    const int inner = A.ColCount();
    // Every row of a matrix has ColCount() elements, so the shapes checked above cover
    // every element read and written here.
    for (int i = 0; i < rows; ++i) {
        const double *a = A.FRows[static_cast<std::size_t>(i)].Data();
        double *c = C.FRows[static_cast<std::size_t>(i)].Data();
        for (int j = 0; j < cols; ++j) {
            double sum = c[j];
            for (int k = 0; k < inner; ++k)
                sum = a[k] * B.FRows[static_cast<std::size_t>(k)].Data()[j] + sum;
            c[j] = Checked(sum);
        }
    }
    return true;
}

bool MatrixTranspose(TQuadDoubleArray &T, const TQuadDoubleArray &A)
{
    if (&T == &A) {
        TQuadDoubleArray transposed;
        MatrixTranspose(transposed, A);
        T = std::move(transposed);
        return true;
    }
    T.SetSize(A.ColCount(), A.RowCount());
    const int rows = A.RowCount();
    const int cols = A.ColCount();
    for (int i = 0; i < rows; ++i) {
        const double *a = A.FRows[static_cast<std::size_t>(i)].Data();
        for (int j = 0; j < cols; ++j)
            T.FRows[static_cast<std::size_t>(j)].Data()[i] = a[j];
    }
    return true;
}

void SolveLinear(const TQuadDoubleArray &A, TQuadDoubleArray &X, const TQuadDoubleArray &B)
{
    if (&X == &A || &X == &B) {
        // Sizing X first would wipe an operand.
        TQuadDoubleArray solution;
        SolveLinear(A, solution, B);
        X = std::move(solution);
        return;
    }
    const int n = A.RowCount();
    const int colsA = A.ColCount();
    // M and P are locals, so they go on every exit, the pivot error's included.
    TQuadDoubleArray m;
    m.SetSize(n, colsA + 1);
    const int last = colsA + 1;
    X.SetVectorSize(n);

    if (A.RowCount() != A.ColCount())
        Dialogs().ShowMessage("matice A není čtvercová");
    if (X.RowCount() != A.RowCount())
        Dialogs().ShowMessage("matice A nemá stejný počet řádků jako vektor X");
    if (X.ColCount() != 1)
        Dialogs().ShowMessage("Vektor X není vektor");
    if (B.RowCount() != A.RowCount())
        Dialogs().ShowMessage("matice A nemá stejný počet řádků jako vektor B");
    if (B.ColCount() != 1)
        Dialogs().ShowMessage("Vektor B není vektor");

    // p.GetItem(r): the column whose pivot sits in row r, 0 while row r has none.
    TIntDymArray p;
    p.AddZeros(n);
    for (int r = 1; r <= n; ++r) {
        for (int c = 1; c <= colsA; ++c)
            m.SetValue(r, c, A.GetValue(r, c));
        m.SetValue(r, last, B.GetVectorValue(r));
        p.SetItem(r, 0);
    }

    for (int c = 1; c <= n; ++c) {
        int r = 1;
        while (r <= n && (p.GetItem(r) != 0 || m.GetValue(r, c) == 0.0))
            ++r;
        if (r > n) {
            Dialogs().ShowMessage("Pivot nenalezen");
            p.SetItem(r, c); // raises "20517"
        }
        p.SetItem(r, c);
        const double pivot = m.GetValue(r, c);
        if (c != n) {
            for (int l = 1; l <= n; ++l) {
                if (p.GetItem(l) == 0) {
                    const double v = m.GetValue(l, c);
                    if (v != 0.0)
                        m.CombineRows(l, r, FDiv(-pivot, v));
                }
            }
        }
    }

    for (int c = n; c >= 2; --c) {
        int r = 1;
        while (p.GetItem(r) != c) // every column got its pivot row above
            ++r;
        const double pivot = m.GetValue(r, c);
        for (int row = 1; row <= n; ++row) {
            if (p.GetItem(row) < c) {
                const double v = m.GetValue(row, c);
                if (v != 0.0)
                    m.CombineRows(row, r, FDiv(-pivot, v));
            }
        }
    }

    for (int r = 1; r <= n; ++r) {
        const double v = m.GetValue(r, p.GetItem(r));
        if (v != 0.0)
            m.ScaleRow(r, FDiv(1.0, v));
    }

    for (int c = 1; c <= n; ++c) {
        int r = 1;
        while (p.GetItem(r) != c)
            ++r;
        X.SetVectorValue(c, m.GetValue(r, last));
    }
}

void SolveLinear(
    const TQuadDoubleArray &A, std::unique_ptr<TQuadDoubleArray> &X, const TQuadDoubleArray &B)
{
    if (!X)
        X = std::make_unique<TQuadDoubleArray>();
    SolveLinear(A, *X, B);
}
