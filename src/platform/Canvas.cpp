#include "platform/Canvas.h"

#include "platform/LineStamps.h"
#include "platform/QtColor.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

QPen MakeCanvasPen(TColor Color, int Style, int Width)
{
    QPen Pen(ToQColor(Color));
    const int W = Width < 1 ? 1 : Width;
    Pen.setWidth(W);
    // Qt would draw a wide pen dashed; the graph's wide pens are solid whatever their style.
    Qt::PenStyle QtStyle = Qt::SolidLine;
    if (W == 1) {
        switch (Style) {
        case psDash:
            QtStyle = Qt::DashLine;
            break;
        case psDot:
            QtStyle = Qt::DotLine;
            break;
        case psDashDot:
            QtStyle = Qt::DashDotLine;
            break;
        case psDashDotDot:
            QtStyle = Qt::DashDotDotLine;
            break;
        default:
            break;
        }
    }
    Pen.setStyle(QtStyle);
    // A flat cap makes a 1-pixel line leave out its end point; wide pens end round.
    Pen.setCapStyle(W == 1 ? Qt::FlatCap : Qt::RoundCap);
    Pen.setJoinStyle(Qt::RoundJoin);
    return Pen;
}

QRect ShapeOutlineRect(int Left, int Top, int Right, int Bottom)
{
    return QRect(Left, Top, Right - Left - 1, Bottom - Top - 1);
}

QRect ShapeFillRect(int Left, int Top, int Right, int Bottom)
{
    return QRect(Left, Top, Right - Left, Bottom - Top);
}

QFont CanvasFont(bool Bold, int PixelSize)
{
    QFont Font(QStringLiteral("DejaVu Sans"));
    Font.setStyleHint(QFont::SansSerif);
    Font.setPixelSize(PixelSize > 0 ? PixelSize : 11);
    Font.setBold(Bold);
    Font.setStyleStrategy(QFont::NoAntialias);
    return Font;
}

void FloodFillToBorder(QImage &Image, int X, int Y, TColor Border, TColor Fill)
{
    if (Image.isNull() || X < 0 || Y < 0 || X >= Image.width() || Y >= Image.height())
        return;
    if (Image.format() != QImage::Format_RGB32 && Image.format() != QImage::Format_ARGB32)
        Image = Image.convertToFormat(QImage::Format_RGB32);
    const QRgb BorderRgb = ToQColor(Border).rgb() & 0xFFFFFFu;
    const QRgb FillRgb = ToQColor(Fill).rgb();
    const int W = Image.width();
    const int H = Image.height();
    // The image detaches once here; scanLine() per pixel would check it every time.
    uchar *const Bits = Image.bits();
    const qsizetype Stride = Image.bytesPerLine();
    auto Pixel = [Bits, Stride](int Px, int Py) -> QRgb & {
        return reinterpret_cast<QRgb *>(Bits + Py * Stride)[Px];
    };
    // Pixels that already have the fill colour belong to the region and are passed through,
    // so only the mask, not the colour, tells what has been filled.
    std::vector<unsigned char> Visited(static_cast<size_t>(W) * static_cast<size_t>(H), 0);
    auto Fillable = [&](int Px, int Py) {
        return !Visited[static_cast<size_t>(Py) * static_cast<size_t>(W) + static_cast<size_t>(Px)]
            && (Pixel(Px, Py) & 0xFFFFFFu) != BorderRgb;
    };
    if (!Fillable(X, Y))
        return;
    // Scanline fill with an explicit stack: a recursive fill of a large layer would exhaust
    // the call stack.
    std::vector<std::pair<int, int>> Stack;
    Stack.emplace_back(X, Y);
    while (!Stack.empty()) {
        auto [Sx, Sy] = Stack.back();
        Stack.pop_back();
        if (!Fillable(Sx, Sy))
            continue;
        int L = Sx;
        while (L > 0 && Fillable(L - 1, Sy))
            --L;
        int R = Sx;
        while (R < W - 1 && Fillable(R + 1, Sy))
            ++R;
        unsigned char *Row = &Visited[static_cast<size_t>(Sy) * static_cast<size_t>(W)];
        for (int I = L; I <= R; ++I) {
            Pixel(I, Sy) = FillRgb;
            Row[I] = 1;
        }
        for (int Ny : { Sy - 1, Sy + 1 }) {
            if (Ny < 0 || Ny >= H)
                continue;
            bool InRun = false;
            for (int I = L; I <= R; ++I) {
                if (Fillable(I, Ny)) {
                    if (!InRun) {
                        Stack.emplace_back(I, Ny);
                        InRun = true;
                    }
                } else {
                    InRun = false;
                }
            }
        }
    }
}

bool ComposeAnd(QImage &Dest, const QImage &Source, const QImage &Mask)
{
    const QSize Size = Dest.size();
    if (Dest.isNull() || Source.size() != Size || Mask.size() != Size
        || Dest.format() != QImage::Format_RGB32 || Source.format() != QImage::Format_RGB32
        || Mask.format() != QImage::Format_RGB32 || &Dest == &Source || &Dest == &Mask)
        return false;
    const int W = Size.width();
    for (int Y = 0; Y < Size.height(); ++Y) {
        const auto *S = reinterpret_cast<const QRgb *>(Source.constScanLine(Y));
        const auto *M = reinterpret_cast<const QRgb *>(Mask.constScanLine(Y));
        auto *D = reinterpret_cast<QRgb *>(Dest.scanLine(Y));
        // Two pixels a step. The painter's SourceAnd sets the alpha byte of each, which every
        // RGB32 pixel has set anyway.
        int X = 0;
        for (; X + 2 <= W; X += 2) {
            std::uint64_t SPair = 0;
            std::uint64_t MPair = 0;
            std::memcpy(&SPair, S + X, sizeof SPair);
            std::memcpy(&MPair, M + X, sizeof MPair);
            const std::uint64_t DPair = (SPair & MPair) | 0xFF000000FF000000u;
            std::memcpy(D + X, &DPair, sizeof DPair);
        }
        for (; X < W; ++X)
            D[X] = (S[X] & M[X]) | 0xFF000000u;
    }
    return true;
}

void TCanvas::SetPen(TColor Color, int Style, int Width)
{
    PenColor = Color;
    PenStyle = Style;
    PenWidth = Width;
}

bool TCanvas::Begin(QPainter &Painter) const
{
    if (!HasImage())
        return false;
    if (!Painter.begin(Image))
        return false;
    Painter.setRenderHint(QPainter::Antialiasing, false);
    Painter.setRenderHint(QPainter::TextAntialiasing, false);
    Painter.setCompositionMode(PenMode == TPenMode::NotXor
            ? QPainter::RasterOp_NotSourceXorDestination
            : QPainter::CompositionMode_Source);
    return true;
}

const QFont &TCanvas::Font() const
{
    // A fresh QFont looks its face up in the font database again at the first metric or
    // text; the graph writes dozens of labels a redraw, all in one face.
    if (!FFont || FFontBold != FontBold || FFontPixelSize != FontPixelSize) {
        FFont.emplace(CanvasFont(FontBold, FontPixelSize));
        FFontBold = FontBold;
        FFontPixelSize = FontPixelSize;
    }
    return *FFont;
}

void TCanvas::MoveTo(int X, int Y)
{
    FPenX = X;
    FPenY = Y;
}

void TCanvas::LineTo(int X, int Y)
{
    // Curve segments of wide pens are stamped: stroking each anew dominated a redraw.
    const bool Stamped = PenMode == TPenMode::Copy && HasImage()
        && StampLine(*Image, FPenX, FPenY, X, Y, PenColor, PenStyle, PenWidth);
    if (!Stamped)
        PaintLine(X, Y);
    FPenX = X;
    FPenY = Y;
}

void TCanvas::DrawLines(const std::vector<TCanvasSegment> &Lines, const TCanvasPen *Pens)
{
    if (Lines.empty())
        return;
    const bool stampable = PenMode == TPenMode::Copy && HasImage();
    std::optional<TLineStamper> stamper;
    for (const TCanvasSegment &line : Lines) {
        const TCanvasPen &pen = Pens[line.Pen];
        if (stampable) {
            if (!stamper)
                stamper.emplace(*Image);
            if (stamper->Stamp(line.X1, line.Y1, line.X2, line.Y2, pen.Color, pen.Style, pen.Width))
                continue;
            // The painter draws this one; the next stamper finds the rows anew.
            stamper.reset();
        }
        SetPen(pen.Color, pen.Style, pen.Width);
        MoveTo(line.X1, line.Y1);
        PaintLine(line.X2, line.Y2);
    }
    const TCanvasSegment &last = Lines.back();
    const TCanvasPen &pen = Pens[last.Pen];
    SetPen(pen.Color, pen.Style, pen.Width);
    MoveTo(last.X2, last.Y2);
}

void TCanvas::PaintLine(int X, int Y)
{
    QPainter Painter;
    if (Begin(Painter)) {
        const QPen Pen = MakeCanvasPen(PenColor, PenStyle, PenWidth);
        Painter.setPen(Pen);
        // A flat-capped 1-pixel line leaves out the end with the larger coordinate along its
        // major axis (x when the line is at least as wide as high), whichever way it runs.
        // When that is the start, clip the end away and draw the start itself, so every line
        // leaves out its end point and a not-xor figure drawn segment by segment keeps its
        // joints, turning points included.
        const long long Dx = static_cast<long long>(X) - FPenX;
        const long long Dy = static_cast<long long>(Y) - FPenY;
        const bool StartLeftOut
            = Pen.widthF() <= 1.0 && ((Dx < 0 ? -Dx : Dx) >= (Dy < 0 ? -Dy : Dy) ? Dx < 0 : Dy < 0);
        if (Pen.widthF() <= 1.0 && Dx == 0 && Dy == 0) {
            // Without its end point a line to its own start has no pixel; Qt would draw one.
        } else if (StartLeftOut) {
            Painter.setClipRegion(QRegion(Image->rect()).subtracted(QRegion(X, Y, 1, 1)));
            Painter.drawLine(FPenX, FPenY, X, Y);
            Painter.setClipping(false);
            QPen Dot = Pen;
            Dot.setStyle(Qt::SolidLine);
            Dot.setCapStyle(Qt::SquareCap);
            Painter.setPen(Dot);
            Painter.drawPoint(FPenX, FPenY);
        } else {
            Painter.drawLine(FPenX, FPenY, X, Y);
        }
    }
}

void TCanvas::Ellipse(int Left, int Top, int Right, int Bottom)
{
    QPainter Painter;
    if (!Begin(Painter))
        return;
    Painter.setPen(MakeCanvasPen(PenColor, PenStyle, PenWidth));
    if (BrushSolid)
        Painter.setBrush(ToQColor(BrushColor));
    else
        Painter.setBrush(Qt::NoBrush);
    Painter.drawEllipse(ShapeOutlineRect(Left, Top, Right, Bottom));
}

void TCanvas::FillRect(int Left, int Top, int Right, int Bottom)
{
    QPainter Painter;
    if (!Begin(Painter))
        return;
    // A fill takes the brush colour as it is, whatever the pen mode.
    Painter.setCompositionMode(QPainter::CompositionMode_Source);
    Painter.fillRect(ShapeFillRect(Left, Top, Right, Bottom), ToQColor(BrushColor));
}

void TCanvas::FillAll()
{
    if (HasImage())
        Image->fill(ToQColor(BrushColor));
}

void TCanvas::TextOut(int X, int Y, const QString &Text)
{
    QPainter Painter;
    if (!Begin(Painter))
        return;
    Painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QFont &F = Font();
    Painter.setFont(F);
    const QFontMetrics Metrics(F);
    const QRect Box(X, Y, Metrics.horizontalAdvance(Text), Metrics.height());
    if (BrushSolid)
        Painter.fillRect(Box, ToQColor(BrushColor));
    Painter.setPen(ToQColor(FontColor));
    Painter.drawText(X, Y + Metrics.ascent(), Text);
}

int TCanvas::TextWidth(const QString &Text) const
{
    return QFontMetrics(Font()).horizontalAdvance(Text);
}

int TCanvas::TextHeight(const QString &Text) const
{
    Q_UNUSED(Text);
    return QFontMetrics(Font()).height();
}

void TCanvas::FloodFill(int X, int Y, TColor Border)
{
    if (HasImage())
        FloodFillToBorder(*Image, X, Y, Border, BrushColor);
}

void TCanvas::CopyRect(
    const QRect &DestRect, const QImage &Source, const QRect &SourceRect, TCopyMode Mode)
{
    if (DestRect.width() <= 0 || DestRect.height() <= 0 || SourceRect.width() <= 0
        || SourceRect.height() <= 0 || Source.isNull())
        return;
    QPainter Painter;
    if (!Begin(Painter))
        return;
    Painter.setCompositionMode(Mode == TCopyMode::SourceAnd
            ? QPainter::RasterOp_SourceAndDestination
            : QPainter::CompositionMode_Source);
    Painter.drawImage(DestRect, Source, SourceRect);
}
