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

int TDraw::LayerWidth() const { return Canvas ? Canvas->Width() : 0; }

int TDraw::LayerHeight() const { return Canvas ? Canvas->Height() : 0; }

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

void TDraw::LineToPoint(int X, int Y)
{
    const int Top = PlotTop();
    const int Bottom = PlotBottom();
    if (LastY > 0 && Y >= Top && Y <= Bottom && LastY >= Top && LastY <= Bottom)
        DrawLine(X, Y, LastX, LastY, Line);
    LastX = X;
    LastY = Y;
}
