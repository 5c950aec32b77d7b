#pragma once

#include "numerics/TDoubleArray.h"
#include "numerics/TQuadDoubleArray.h"

// Sliding-window least-squares smoothing of a measured series. Each window of xstep points
// is fitted with y = c1 x + c2 x^2 + ... + c(m) x^m, m = nKrivka + 1 (no constant term), and
// the fit is evaluated at the window's middle point. Windows near the origin against their
// spread (every window of a sweep) solve the normal equations; farther ones, where those
// lose their digits, solve the same model by an orthogonal factorisation.
//
// result is resized to Count(xList) when its length differs; points the routine does not
// write keep what result held. Argument faults show a message and leave result untouched.
// A singular window shows "Pivot nenalezen" and raises EKivraError("20517"); points written
// before it keep their new values. result may be the same array as xList or yList.
void SmoothCurve(const TDoubleArray &xList, const TDoubleArray &yList, int xstep, int nKrivka,
    TDoubleArray &result);

// SmoothCurve(xList, yList1, ..., result1), then SmoothCurve(xList, yList2, ..., result2),
// with the same results and messages, but the fit of each window made once for both series
// where it depends on the points alone.
void SmoothCurvePair(const TDoubleArray &xList, const TDoubleArray &yList1,
    const TDoubleArray &yList2, int xstep, int nKrivka, TDoubleArray &result1,
    TDoubleArray &result2);

// A(Row, k) := xList[Index]^k for k = 1 .. ColCount(A), then B(Row) := yList[Index].
// Index is 0-based, Row 1-based.
void FillDesignRow(TQuadDoubleArray &A, TQuadDoubleArray &B, const TDoubleArray &xList, int Index,
    int Row, const TDoubleArray &yList);

// The working matrices of one smoothing run.
struct TSmoothMatrices
{
    TQuadDoubleArray A; // design matrix, xstep x m
    TQuadDoubleArray B; // right-hand side, xstep x 1
    TQuadDoubleArray AT;
    TQuadDoubleArray ATA;
    TQuadDoubleArray ATB;
    std::unique_ptr<TQuadDoubleArray> X; // coefficients, m x 1
};

// Fits the window held in W.A and W.B and evaluates the fit at xList[Index].
double FitAndEvaluate(TSmoothMatrices &W, const TDoubleArray &xList, int m, int Index);
