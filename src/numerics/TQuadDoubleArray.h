#pragma once

#include "numerics/TDoubleArray.h"

#include <memory>
#include <vector>

// A dense matrix of doubles made of TDoubleArray rows, for the least-squares smoothing.
// Element access is 1-based. Unlike the arrays it does not raise on a bad index: it shows
// "Error r" or "Error TQuadDoubleArray s" and goes on with 0.0 (reads) or no write.
// Indices below 1 are not covered by that check and end in the row list's error
// ("List index out of bounds (n)") or the row's "20522".
//
// Every row this class makes has the same length, so ColCount() holds for all rows.
class TQuadDoubleArray
{
public:
    TQuadDoubleArray() = default;

    // Drops every row.
    void Clear();
    // Rows x Cols zeros (reuses the rows when the shape is unchanged).
    void SetSize(int Rows, int Cols);
    // An all-zero column vector of Rows elements.
    void SetVectorSize(int Rows) { SetSize(Rows, 1); }

    // 0-based check; shows the message and answers false when the element does not exist.
    bool CheckIndex(int Row, int Col) const;

    double GetValue(int Row, int Col) const
    {
        if (Exists(Row, Col))
            return FRows[static_cast<std::size_t>(Row - 1)].Data()[Col - 1];
        return GetValueChecked(Row, Col);
    }
    void SetValue(int Row, int Col, double Value)
    {
        if (Exists(Row, Col))
            FRows[static_cast<std::size_t>(Row - 1)].Data()[Col - 1] = Value;
        else
            SetValueChecked(Row, Col, Value);
    }
    double GetVectorValue(int Row) const { return GetValue(Row, 1); }
    void SetVectorValue(int Row, double Value) { SetValue(Row, 1, Value); }

    int RowCount() const { return static_cast<int>(FRows.size()); }
    // Length of the first row; an empty matrix raises the row list's index error.
    int ColCount() const;

    // Row A := Factor x row A + row B (1-based rows).
    void CombineRows(int A, int B, double Factor);
    // Row A := Factor x row A.
    void ScaleRow(int A, double Factor);

private:
    friend bool MatrixMultiply(
        TQuadDoubleArray &, const TQuadDoubleArray &, const TQuadDoubleArray &);
    friend bool MatrixTranspose(TQuadDoubleArray &, const TQuadDoubleArray &);

    // The element (1-based) exists, so every check would pass: the fast path of the
    // accessors. Every row has the length of the first.
    bool Exists(int Row, int Col) const
    {
        return Row >= 1 && Row <= RowCount() && Col >= 1 && Col <= FRows.front().Count();
    }
    double GetValueChecked(int Row, int Col) const;
    void SetValueChecked(int Row, int Col, double Value);
    bool CheckIndex64(long long Row, long long Col) const;
    const TDoubleArray &RowAt(long long Index) const;
    TDoubleArray &RowAt(long long Index);

    std::vector<TDoubleArray> FRows;
};

// C := A x B. Inner dimensions that differ show "Error A.s <> B.r", leave C untouched and
// answer false. C may be A or B.
bool MatrixMultiply(TQuadDoubleArray &C, const TQuadDoubleArray &A, const TQuadDoubleArray &B);

// T := transpose of A; always true. T may be A.
bool MatrixTranspose(TQuadDoubleArray &T, const TQuadDoubleArray &A);

// Solves A . X = B by Gauss-Jordan elimination without row exchanges, taking as pivot the
// first row without one that has an exact nonzero in the column. X becomes an N x 1 vector
// (created when absent). Shape faults show their messages and the solve goes on; a column
// without a pivot shows "Pivot nenalezen" and raises EKivraError("20517"), X then holding
// zeros.
void SolveLinear(
    const TQuadDoubleArray &A, std::unique_ptr<TQuadDoubleArray> &X, const TQuadDoubleArray &B);
void SolveLinear(const TQuadDoubleArray &A, TQuadDoubleArray &X, const TQuadDoubleArray &B);
