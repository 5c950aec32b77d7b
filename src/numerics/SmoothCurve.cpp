#include "numerics/SmoothCurve.h"

#include "platform/Dialogs.h"

namespace {

// x^k for k >= 1 by repeated multiplication in extended precision, rounded once.
double IntPower(double X, int K)
{
    long double v = 1.0L;
    for (int i = 0; i < K; ++i)
        v *= X;
    return static_cast<double>(v);
}

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

    TSmoothMatrices w;
    w.A.SetSize(xstep, nKrivka + 1);
    w.B.SetVectorSize(xstep);
    const int n = yList.Count();
    for (int i = 0; i + xstep < n; ++i) {
        for (int j = 1; j <= xstep; ++j)
            FillDesignRow(w.A, w.B, xList, i + j - 1, j, yList);
        if (i < half)
            result.ItemRef(i) = yList.ItemRef(i);
        else
            result.ItemRef(half + i) = FitAndEvaluate(w, xList, nKrivka + 1, half + i);
    }
}
