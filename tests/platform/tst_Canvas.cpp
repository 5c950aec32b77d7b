#include "graph/ImageProbe.h"
#include "platform/Canvas.h"
#include "platform/QtColor.h"

#include <QImage>
#include <QtTest>

namespace {

QImage WhiteLayer(int W, int H)
{
    QImage Image(W, H, QImage::Format_RGB32);
    Image.fill(Qt::white);
    return Image;
}

// Pixels of every value a layer can hold, from a fixed seed.
QImage NoiseLayer(int W, int H, quint32 Seed)
{
    QImage Image(W, H, QImage::Format_RGB32);
    quint32 State = Seed;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            State = State * 1664525u + 1013904223u;
            Image.setPixel(
                X, Y, qRgb(int(State >> 24), int((State >> 16) & 0xFF), int((State >> 8) & 0xFF)));
        }
    return Image;
}

} // namespace

class TCanvasTest : public QObject
{
    Q_OBJECT

private slots:
    void widePenIsSolid_data();
    void widePenIsSolid();
    void lineLeavesOutEndPoint();
    void lineLeavesOutEndPointEveryWay_data();
    void lineLeavesOutEndPointEveryWay();
    void notXorFigureKeepsTurningPoints();
    void notXorShowsColourAndRestores();
    void linesInOneRunAsOneByOne_data();
    void linesInOneRunAsOneByOne();
    void ellipseStaysInsideBox();
    void floodFillStopsAtBorder();
    void floodFillPassesThroughFillColour_data();
    void floodFillPassesThroughFillColour();
    void floodFillIgnoresBadSeed();
    void floodFillLargeAreaUsesNoRecursion();
    void andCopyKeepsDarkerPixels();
    void composeAndMatchesTwoCopies_data();
    void composeAndMatchesTwoCopies();
    void composeAndRefusesUnlikeLayers_data();
    void composeAndRefusesUnlikeLayers();
    void emptyImageDrawsNothing();
};

void TCanvasTest::widePenIsSolid_data()
{
    QTest::addColumn<int>("Style");
    QTest::addColumn<int>("Width");
    QTest::addColumn<bool>("Solid");
    QTest::newRow("dot 1 px stays dotted") << int(psDot) << 1 << false;
    QTest::newRow("dash 1 px stays dashed") << int(psDash) << 1 << false;
    QTest::newRow("dot 2 px drawn solid") << int(psDot) << 2 << true;
    QTest::newRow("dash-dot-dot 3 px drawn solid") << int(psDashDotDot) << 3 << true;
    QTest::newRow("solid 1 px") << int(psSolid) << 1 << true;
}

void TCanvasTest::widePenIsSolid()
{
    QFETCH(int, Style);
    QFETCH(int, Width);
    QFETCH(bool, Solid);
    QImage Image = WhiteLayer(100, 20);
    TCanvas Canvas(&Image);
    Canvas.SetPen(clBlack, Style, Width);
    Canvas.MoveTo(5, 10);
    Canvas.LineTo(95, 10);
    int Gaps = 0;
    for (int X = 10; X < 90; ++X)
        Gaps += At(Image, X, 10) == clWhite;
    QCOMPARE(Gaps == 0, Solid);
}

void TCanvasTest::lineLeavesOutEndPoint()
{
    QImage Image = WhiteLayer(20, 20);
    TCanvas Canvas(&Image);
    Canvas.SetPen(clBlack, psSolid, 1);
    Canvas.MoveTo(2, 5);
    Canvas.LineTo(10, 5);
    QCOMPARE(At(Image, 2, 5), clBlack);
    QCOMPARE(At(Image, 9, 5), clBlack);
    QCOMPARE(At(Image, 10, 5), clWhite);
    QCOMPARE(Canvas.PenX(), 10);
}

void TCanvasTest::lineLeavesOutEndPointEveryWay_data()
{
    QTest::addColumn<int>("Style");
    QTest::addColumn<QPoint>("From");
    QTest::addColumn<QPoint>("To");
    const QPoint C(15, 15);
    const struct
    {
        const char *Name;
        QPoint To;
    } Ends[] = {
        { "right", { 25, 15 } },
        { "left", { 5, 15 } },
        { "down", { 15, 25 } },
        { "up", { 15, 5 } },
        { "down right, flat", { 25, 19 } },
        { "up left, flat", { 5, 11 } },
        { "up right, steep", { 18, 5 } },
        { "down left, steep", { 12, 25 } },
        { "diagonal up right", { 25, 5 } },
        { "diagonal down left", { 5, 25 } },
        { "diagonal up left", { 5, 5 } },
    };
    for (const auto &E : Ends) {
        QTest::addRow("solid %s", E.Name) << int(psSolid) << C << E.To;
        QTest::addRow("dotted %s", E.Name) << int(psDot) << C << E.To;
    }
}

void TCanvasTest::lineLeavesOutEndPointEveryWay()
{
    QFETCH(int, Style);
    QFETCH(QPoint, From);
    QFETCH(QPoint, To);
    QImage Image = WhiteLayer(30, 30);
    TCanvas Canvas(&Image);
    Canvas.SetPen(clBlack, Style, 1);
    Canvas.MoveTo(From.x(), From.y());
    Canvas.LineTo(To.x(), To.y());
    QCOMPARE(At(Image, From.x(), From.y()), clBlack);
    QCOMPARE(At(Image, To.x(), To.y()), clWhite);
    if (Style == psSolid) {
        const int Length = std::max(std::abs(To.x() - From.x()), std::abs(To.y() - From.y()));
        QCOMPARE(CountColor(Image, clBlack), Length);
    }
    // A line to its own start draws nothing.
    Image.fill(Qt::white);
    Canvas.MoveTo(From.x(), From.y());
    Canvas.LineTo(From.x(), From.y());
    QCOMPARE(CountColor(Image, clWhite), 30 * 30);
}

void TCanvasTest::notXorFigureKeepsTurningPoints()
{
    // Two zigzags drawn segment by segment with the not-xor pen: every joint is drawn once,
    // where the figure turns back as well, so no joint is missing or xored away.
    QImage Image = WhiteLayer(40, 40);
    TCanvas Canvas(&Image);
    Canvas.PenMode = TPenMode::NotXor;
    Canvas.SetPen(clGreen, psSolid, 1);
    const QPoint Figure[] = { { 30, 2 }, { 4, 8 }, { 30, 14 }, { 12, 36 }, { 20, 2 } };
    Canvas.MoveTo(Figure[0].x(), Figure[0].y());
    for (const QPoint &P : Figure)
        if (P != Figure[0])
            Canvas.LineTo(P.x(), P.y());
    for (int I = 0; I < 4; ++I)
        QVERIFY2(
            At(Image, Figure[I].x(), Figure[I].y()) == clGreen, qPrintable(QString::number(I)));
    QCOMPARE(At(Image, 20, 2), clWhite);
}

void TCanvasTest::notXorShowsColourAndRestores()
{
    QImage Image = WhiteLayer(30, 30);
    TCanvas Canvas(&Image);
    Canvas.PenMode = TPenMode::NotXor;
    Canvas.SetPen(clGreen, psSolid, 1);
    Canvas.MoveTo(3, 10);
    Canvas.LineTo(25, 10);
    QCOMPARE(At(Image, 12, 10), clGreen);
    Canvas.MoveTo(3, 10);
    Canvas.LineTo(25, 10);
    QCOMPARE(CountColor(Image, clWhite), 30 * 30);
}

void TCanvasTest::linesInOneRunAsOneByOne_data()
{
    QTest::addColumn<int>("widthA");
    QTest::addColumn<int>("widthB");
    QTest::addColumn<int>("styleB");
    QTest::addColumn<bool>("notXor");
    QTest::newRow("wide pens, stamped") << 2 << 3 << int(psDot) << false;
    QTest::newRow("a thin pen among them, painted") << 2 << 1 << int(psDot) << false;
    QTest::newRow("not-xor, painted") << 2 << 1 << int(psSolid) << true;
}

void TCanvasTest::linesInOneRunAsOneByOne()
{
    QFETCH(int, widthA);
    QFETCH(int, widthB);
    QFETCH(int, styleB);
    QFETCH(bool, notXor);
    const TCanvasPen Pens[] = { { clRed, psSolid, widthA }, { clBlue, styleB, widthB } };
    // Short segments of a curve, some across the edges and one far outside.
    std::vector<TCanvasSegment> Lines;
    quint32 State = 5;
    const auto Next = [&State](int Range) {
        State = State * 1664525u + 1013904223u;
        return int(State >> 16) % Range;
    };
    int X = -3;
    int Y = 20;
    for (int I = 0; I < 80; ++I) {
        const int NX = X + Next(3);
        const int NY = Y + Next(15) - 7;
        Lines.push_back({ I % 3 == 0 ? 1 : 0, NX, NY, X, Y });
        X = NX;
        Y = NY;
    }
    Lines.push_back({ 0, 100000, 5, 100002, 9 });

    QImage Run = WhiteLayer(60, 40);
    QImage OneByOne = Run;
    TCanvas RunCanvas(&Run);
    TCanvas Canvas(&OneByOne);
    RunCanvas.PenMode = Canvas.PenMode = notXor ? TPenMode::NotXor : TPenMode::Copy;
    RunCanvas.DrawLines(Lines, Pens);
    for (const TCanvasSegment &L : Lines) {
        const TCanvasPen &P = Pens[L.Pen];
        Canvas.SetPen(P.Color, P.Style, P.Width);
        Canvas.MoveTo(L.X1, L.Y1);
        Canvas.LineTo(L.X2, L.Y2);
    }
    QCOMPARE(Run, OneByOne);
    QCOMPARE(RunCanvas.PenX(), Canvas.PenX());
    QCOMPARE(RunCanvas.PenY(), Canvas.PenY());
    QCOMPARE(RunCanvas.PenColor, Canvas.PenColor);
    QCOMPARE(RunCanvas.PenWidth, Canvas.PenWidth);
}

void TCanvasTest::ellipseStaysInsideBox()
{
    QImage Image = WhiteLayer(20, 20);
    TCanvas Canvas(&Image);
    Canvas.SetPen(clBlack, psSolid, 1);
    Canvas.BrushColor = clRed;
    // Box 4..10 with exclusive right and bottom edges: pixels 4..9.
    Canvas.Ellipse(4, 4, 10, 10);
    for (int I = 0; I < 20; ++I) {
        QCOMPARE(At(Image, 10, I), clWhite);
        QCOMPARE(At(Image, I, 10), clWhite);
        QCOMPARE(At(Image, 3, I), clWhite);
    }
    QCOMPARE(At(Image, 9, 7), clBlack);
    QCOMPARE(At(Image, 7, 7), clRed);
}

void TCanvasTest::floodFillStopsAtBorder()
{
    // A diagonal border: a 4-connected fill must not slip through its corners.
    QImage Image = WhiteLayer(20, 20);
    for (int I = 0; I < 20; ++I)
        Image.setPixel(I, 19 - I, qRgb(128, 128, 128));
    Image.setPixel(2, 2, qRgb(255, 0, 0)); // any other colour is painted over
    TCanvas Canvas(&Image);
    Canvas.BrushColor = clBlue;
    Canvas.FloodFill(1, 1, clGray);
    QCOMPARE(At(Image, 0, 0), clBlue);
    QCOMPARE(At(Image, 2, 2), clBlue);
    QCOMPARE(At(Image, 18, 18), clWhite);
    QCOMPARE(At(Image, 19, 1), clWhite);
    QCOMPARE(CountColor(Image, clBlue), 190);
}

void TCanvasTest::floodFillPassesThroughFillColour_data()
{
    QTest::addColumn<int>("SeedX");
    QTest::addColumn<int>("SeedY");
    QTest::newRow("seed on white") << 0 << 0;
    QTest::newRow("seed on the fill colour") << 2 << 10;
    QTest::newRow("seed beyond a wall of fill colour") << 19 << 19;
}

void TCanvasTest::floodFillPassesThroughFillColour()
{
    // A grey frame; outside it a wall and a dot already in the fill colour, inside a white
    // hole. The fill covers all outside the frame and nothing inside.
    QFETCH(int, SeedX);
    QFETCH(int, SeedY);
    QImage Image = WhiteLayer(20, 20);
    for (int I = 5; I <= 14; ++I)
        for (const QPoint &P : { QPoint(I, 5), QPoint(I, 14), QPoint(5, I), QPoint(14, I) })
            Image.setPixel(P, qRgb(128, 128, 128));
    for (int Y = 0; Y < 20; ++Y)
        Image.setPixel(2, Y, qRgb(0, 0, 255));
    Image.setPixel(17, 3, qRgb(0, 0, 255));
    TCanvas Canvas(&Image);
    Canvas.BrushColor = clBlue;
    Canvas.FloodFill(SeedX, SeedY, clGray);
    QCOMPARE(CountColor(Image, clBlue), 400 - 100);
    QCOMPARE(CountColor(Image, clWhite), 64);
}

void TCanvasTest::floodFillIgnoresBadSeed()
{
    QImage Image = WhiteLayer(10, 10);
    TCanvas Canvas(&Image);
    Canvas.BrushColor = clBlue;
    Canvas.FloodFill(-1, 3, clGray);
    Canvas.FloodFill(3, 10, clGray);
    QCOMPARE(CountColor(Image, clWhite), 100);
    Image.fill(QColor(0, 0, 255));
    Canvas.FloodFill(3, 3, clGray);
    QCOMPARE(CountColor(Image, clBlue), 100);
}

void TCanvasTest::floodFillLargeAreaUsesNoRecursion()
{
    QImage Image = WhiteLayer(1500, 1500);
    // A comb makes a long winding region.
    for (int X = 10; X < 1490; X += 10)
        for (int Y = (X / 10) % 2 ? 0 : 5; Y < ((X / 10) % 2 ? 1495 : 1500); ++Y)
            Image.setPixel(X, Y, qRgb(0, 0, 0));
    TCanvas Canvas(&Image);
    Canvas.BrushColor = clRed;
    Canvas.FloodFill(0, 0, clBlack);
    QCOMPARE(At(Image, 1499, 1499), clRed);
    QCOMPARE(CountColor(Image, clWhite), 0);
}

void TCanvasTest::andCopyKeepsDarkerPixels()
{
    QImage Picture = WhiteLayer(10, 10);
    Picture.setPixel(2, 2, qRgb(0, 0, 0));
    QImage Overlay = WhiteLayer(10, 10);
    Overlay.setPixel(5, 5, qRgb(0, 128, 0));
    TCanvas Canvas(&Picture);
    Canvas.CopyRect(QRect(0, 0, 10, 10), Overlay, QRect(0, 0, 10, 10), TCopyMode::SourceAnd);
    QCOMPARE(At(Picture, 2, 2), clBlack);
    QCOMPARE(At(Picture, 5, 5), clGreen);
    QCOMPARE(At(Picture, 7, 7), clWhite);
    // An empty destination copies nothing.
    Canvas.CopyRect(QRect(4, 0, 0, 10), Overlay, QRect(0, 0, 10, 10), TCopyMode::Source);
    QCOMPARE(At(Picture, 2, 2), clBlack);
}

void TCanvasTest::composeAndMatchesTwoCopies_data()
{
    QTest::addColumn<int>("Width");
    QTest::newRow("even width") << 64;
    QTest::newRow("odd width leaves one pixel after the pairs") << 37;
    QTest::newRow("one pixel wide") << 1;
}

void TCanvasTest::composeAndMatchesTwoCopies()
{
    QFETCH(int, Width);
    const QImage Source = NoiseLayer(Width, 9, 1);
    const QImage Mask = NoiseLayer(Width, 9, 2);
    const QRect Whole(0, 0, Width, 9);

    QImage Expected = WhiteLayer(Width, 9);
    TCanvas Canvas(&Expected);
    Canvas.CopyRect(Whole, Source, Whole, TCopyMode::Source);
    Canvas.CopyRect(Whole, Mask, Whole, TCopyMode::SourceAnd);

    QImage Composed = NoiseLayer(Width, 9, 3);
    QVERIFY(ComposeAnd(Composed, Source, Mask));
    QCOMPARE(Composed, Expected);
}

void TCanvasTest::composeAndRefusesUnlikeLayers_data()
{
    QTest::addColumn<QImage>("Source");
    QTest::addColumn<QImage>("Mask");
    const QImage Layer = NoiseLayer(8, 8, 4);
    QTest::newRow("source of another size") << NoiseLayer(9, 8, 5) << Layer;
    QTest::newRow("mask of another size") << Layer << NoiseLayer(8, 7, 5);
    QTest::newRow("mask of another format")
        << Layer << Layer.convertToFormat(QImage::Format_ARGB32);
    QTest::newRow("null source") << QImage() << Layer;
}

void TCanvasTest::composeAndRefusesUnlikeLayers()
{
    QFETCH(QImage, Source);
    QFETCH(QImage, Mask);
    QImage Dest = NoiseLayer(8, 8, 6);
    const QImage Before = Dest;
    QVERIFY(!ComposeAnd(Dest, Source, Mask));
    QCOMPARE(Dest, Before);
    // Nor may the destination be one of the layers it reads.
    QImage Self = NoiseLayer(8, 8, 7);
    QVERIFY(!ComposeAnd(Self, Self, NoiseLayer(8, 8, 8)));
}

void TCanvasTest::emptyImageDrawsNothing()
{
    QImage Empty;
    TCanvas Canvas(&Empty);
    Canvas.MoveTo(0, 0);
    Canvas.LineTo(10, 10);
    Canvas.Ellipse(0, 0, 5, 5);
    Canvas.TextOut(0, 0, QStringLiteral("x"));
    Canvas.FillAll();
    Canvas.FloodFill(0, 0, clBlack);
    QVERIFY(Empty.isNull());
    TCanvas NoImage;
    NoImage.LineTo(5, 5);
    QCOMPARE(NoImage.Width(), 0);
}

QTEST_MAIN(TCanvasTest)
#include "tst_Canvas.moc"
