#include "graph/TDraw.h"

#include "measure/Globals.h"
#include "platform/Errors.h"
#include "platform/FloatOps.h"
#include "platform/QtColor.h"

#include <QImage>

#include <limits>

int AddPixels(long long A, long long B)
{
    const long long Sum = A + B;
    if (Sum < std::numeric_limits<int>::min() || Sum > std::numeric_limits<int>::max())
        throw EFloatError(kOverflowMessage);
    return static_cast<int>(Sum);
}

TDraw::TDraw(TCanvas *ACanvas)
    : Canvas(ACanvas)
{
}

QImage *TDraw::Bitmap() const { return Canvas ? Canvas->Image : nullptr; }

bool TDraw::IsVisible() const
{
    switch (ModeGroup) {
    case TModeGroup::ImpedanceKeptForLength:
        if (MeasureMode == mmCableLoss)
            return false;
        if (MeasureMode == mmCableLength)
            return true;
        break;
    case TModeGroup::ImpedanceOnly:
        if (MeasureMode == mmCableLoss || MeasureMode == mmCableLength)
            return false;
        break;
    case TModeGroup::CableLossOnly:
        if (MeasureMode == mmImpedance || MeasureMode == mmCableLength)
            return false;
        break;
    case TModeGroup::None:
        break;
    }
    return Visible;
}

void TDraw::DrawLine(int X1, int Y1, int X2, int Y2, const TPropertyLine &Pen)
{
    if (!Canvas)
        return;
    Canvas->SetPen(Pen.Color, Pen.Style, Pen.Width);
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

void TDraw::DrawCircle(int X, int Y, int R, const TPropertyLine &Pen)
{
    if (!Canvas)
        return;
    Canvas->SetPen(Pen.Color, psSolid, 2);
    Canvas->Ellipse(X + 1 - R, Y - R, X + 1 + R, Y + R);
}

void TDraw::DrawText(int X, int Y, const std::string &S, const TPropertyTXT &Txt)
{
    if (!Canvas)
        return;
    Canvas->FontColor = Txt.Color;
    Canvas->FontBold = true;
    Canvas->TextOut(X, Y, QStr(S));
}

void TDraw::ResetPath()
{
    LastX = 0;
    LastY = 0;
}

namespace {

// Row of the segment (X1, Y1)-(X2, Y2) at column X, which lies between X1 and X2 (X1 != X2),
// to the nearest pixel, halves to even.
int RowAt(int X1, int Y1, int X2, int Y2, int X)
{
    const long double T = static_cast<long double>(X - X1) / (static_cast<long long>(X2) - X1);
    return Round(Y1 + T * (static_cast<long long>(Y2) - Y1));
}

// Cuts the segment to the columns Left..Right; false when nothing of it lies there.
bool ClipColumns(int &X1, int &Y1, int &X2, int &Y2, int Left, int Right)
{
    if ((X1 < Left && X2 < Left) || (X1 > Right && X2 > Right))
        return false;
    const int Ax = X1;
    const int Ay = Y1;
    const int Bx = X2;
    const int By = Y2;
    for (int *Px : { &X1, &X2 }) {
        int *Py = Px == &X1 ? &Y1 : &Y2;
        if (*Px < Left) {
            *Py = RowAt(Ax, Ay, Bx, By, Left);
            *Px = Left;
        } else if (*Px > Right) {
            *Py = RowAt(Ax, Ay, Bx, By, Right);
            *Px = Right;
        }
    }
    return true;
}

} // namespace

void TDraw::LineToPoint(int X, int Y)
{
    const int Top = PlotTop();
    const int Bottom = PlotBottom();
    if (LastY > 0 && Y >= Top && Y <= Bottom && LastY >= Top && LastY <= Bottom) {
        // A point beside the range (a zoom into a sweep) lies left or right of the plot: the
        // curve runs to the edge and no further, over neither scale nor margin.
        int X1 = X;
        int Y1 = Y;
        int X2 = LastX;
        int Y2 = LastY;
        const int Left = PlotLeft();
        const int Right = PlotRight();
        const bool Inside = X1 >= Left && X1 <= Right && X2 >= Left && X2 <= Right;
        if (Inside || ClipColumns(X1, Y1, X2, Y2, Left, Right)) {
            if (Recording)
                Recording->push_back({ RecordTag, X1, Y1, X2, Y2 });
            else
                DrawLine(X1, Y1, X2, Y2, Line);
        }
    }
    LastX = X;
    LastY = Y;
}
