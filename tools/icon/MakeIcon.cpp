// Draws the program's icon, either as SVG text or as a PNG of a given size, from one list of
// shapes, so the scalable icon and the bitmaps cannot drift apart.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QString>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The icon is laid out on a 256 x 256 grid.
constexpr double kGrid = 256.0;

const char *const kBackColor = "#1d3557";
const char *const kGridColor = "#4f7cac";
const char *const kCurveColor = "#ffd166";
const char *const kMarkColor = "#ef476f";

constexpr double kPlotLeft = 44.0;
constexpr double kPlotRight = 212.0;
constexpr double kPlotTop = 52.0;
constexpr double kPlotBottom = 204.0;

// An SWR curve with its dip a little left of the middle, as a resonant antenna shows it.
std::vector<QPointF> CurvePoints()
{
    std::vector<QPointF> Points;
    const double Dip = 116.0;
    const double Width = 26.0;
    for (double X = kPlotLeft; X <= kPlotRight + 0.5; X += 6.0) {
        const double U = (X - Dip) / Width;
        const double Y = kPlotTop + 8.0 + (kPlotBottom - kPlotTop - 36.0) / (1.0 + U * U);
        Points.emplace_back(X, Y);
    }
    return Points;
}

QPointF DipPoint()
{
    QPointF Lowest(0.0, -1.0);
    for (const QPointF &P : CurvePoints())
        if (P.y() > Lowest.y())
            Lowest = P;
    return Lowest;
}

std::string Num(double Value)
{
    char Text[32];
    std::snprintf(Text, sizeof Text, "%g", Value);
    return Text;
}

std::string Svg()
{
    std::string S = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                    "viewBox=\"0 0 256 256\">\n";
    S += std::string("  <rect x=\"16\" y=\"16\" width=\"224\" height=\"224\" rx=\"40\" fill=\"")
        + kBackColor + "\"/>\n";
    S += std::string("  <g stroke=\"") + kGridColor + "\" stroke-width=\"4\" fill=\"none\">\n";
    for (int I = 0; I <= 4; ++I) {
        const double X = kPlotLeft + (kPlotRight - kPlotLeft) * I / 4.0;
        S += "    <line x1=\"" + Num(X) + "\" y1=\"" + Num(kPlotTop) + "\" x2=\"" + Num(X)
            + "\" y2=\"" + Num(kPlotBottom) + "\"/>\n";
    }
    for (int I = 0; I <= 3; ++I) {
        const double Y = kPlotTop + (kPlotBottom - kPlotTop) * I / 3.0;
        S += "    <line x1=\"" + Num(kPlotLeft) + "\" y1=\"" + Num(Y) + "\" x2=\"" + Num(kPlotRight)
            + "\" y2=\"" + Num(Y) + "\"/>\n";
    }
    S += "  </g>\n  <polyline fill=\"none\" stroke=\"" + std::string(kCurveColor)
        + "\" stroke-width=\"12\" stroke-linecap=\"round\" stroke-linejoin=\"round\" points=\"";
    for (const QPointF &P : CurvePoints())
        S += Num(P.x()) + "," + Num(P.y()) + " ";
    S.back() = '"';
    S += "/>\n";
    const QPointF Dip = DipPoint();
    S += "  <circle cx=\"" + Num(Dip.x()) + "\" cy=\"" + Num(Dip.y()) + "\" r=\"13\" fill=\""
        + kMarkColor + "\"/>\n</svg>\n";
    return S;
}

QImage Png(int Size)
{
    QImage Image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    Image.fill(Qt::transparent);
    QPainter P(&Image);
    P.setRenderHint(QPainter::Antialiasing);
    P.scale(Size / kGrid, Size / kGrid);
    P.setPen(Qt::NoPen);
    P.setBrush(QColor(QString::fromLatin1(kBackColor)));
    P.drawRoundedRect(QRectF(16, 16, 224, 224), 40, 40);

    P.setPen(QPen(QColor(QString::fromLatin1(kGridColor)), 4));
    for (int I = 0; I <= 4; ++I) {
        const double X = kPlotLeft + (kPlotRight - kPlotLeft) * I / 4.0;
        P.drawLine(QPointF(X, kPlotTop), QPointF(X, kPlotBottom));
    }
    for (int I = 0; I <= 3; ++I) {
        const double Y = kPlotTop + (kPlotBottom - kPlotTop) * I / 3.0;
        P.drawLine(QPointF(kPlotLeft, Y), QPointF(kPlotRight, Y));
    }

    const std::vector<QPointF> Points = CurvePoints();
    P.setPen(QPen(
        QColor(QString::fromLatin1(kCurveColor)), 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    P.setBrush(Qt::NoBrush);
    P.drawPolyline(Points.data(), static_cast<int>(Points.size()));

    P.setPen(Qt::NoPen);
    P.setBrush(QColor(QString::fromLatin1(kMarkColor)));
    P.drawEllipse(DipPoint(), 13, 13);
    P.end();
    return Image;
}

int Usage()
{
    std::fputs("usage: kivra-make-icon svg FILE | png SIZE FILE\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::string Kind = argc > 1 ? argv[1] : "";
    if (Kind == "svg" && argc == 3) {
        std::ofstream Out(argv[2], std::ios::binary);
        Out << Svg();
        return Out.flush() ? 0 : 1;
    }
    if (Kind == "png" && argc == 4) {
        const int Size = std::atoi(argv[2]);
        if (Size < 16 || Size > 1024)
            return Usage();
        return Png(Size).save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
    }
    return Usage();
}
