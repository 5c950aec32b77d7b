#include "platform/Canvas.h"
#include "platform/LineStamps.h"
#include "platform/QtColor.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <algorithm>
#include <limits>
#include <random>

namespace {

QImage Stroked(QSize Size, int X1, int Y1, int X2, int Y2, const QPen &Pen)
{
    QImage img(Size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setPen(Pen);
    p.drawLine(X1, Y1, X2, Y2);
    return img;
}

} // namespace

// The stamped line must be the very pixels QPainter strokes, wherever it lies.
class TestLineStamps : public QObject
{
    Q_OBJECT

private slots:
    void init() { ClearLineStamps(); }
    void sameAsStroked_data();
    void sameAsStroked();
    void notStamped_data();
    void notStamped();
    void canvasLineUnchanged();
    void farOutsideDrawsNothing_data();
    void farOutsideDrawsNothing();
    void keptShapesStartOver();
};

void TestLineStamps::sameAsStroked_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("seed");
    QTest::newRow("2 px, 795 x 400") << 2 << QSize(795, 400) << 1;
    QTest::newRow("2 px, 1600 x 900") << 2 << QSize(1600, 900) << 2;
    QTest::newRow("3 px, 795 x 400") << 3 << QSize(795, 400) << 3;
    QTest::newRow("5 px, 300 x 200") << 5 << QSize(300, 200) << 4;
}

void TestLineStamps::sameAsStroked()
{
    QFETCH(int, width);
    QFETCH(QSize, size);
    QFETCH(int, seed);

    const TColor colour = RGBColor(200, 30, 60);
    const QPen pen = MakeCanvasPen(colour, psDot, width);
    std::mt19937 gen(static_cast<unsigned>(seed));
    const int w = size.width();
    const int h = size.height();
    std::uniform_int_distribution<int> anyX(-30, w + 30);
    std::uniform_int_distribution<int> anyY(-30, h + 30);
    std::uniform_int_distribution<int> near(-4, 4);
    std::uniform_int_distribution<int> rise(-300, 300);
    std::uniform_int_distribution<int> edge(0, 4);
    QImage stamped(size, QImage::Format_RGB32);
    for (int t = 0; t < 400; ++t) {
        int x1 = anyX(gen);
        int y1 = anyY(gen);
        // A quarter start on or next to an edge of the image.
        switch (t % 4 == 1 ? edge(gen) : 4) {
        case 0:
            x1 = near(gen);
            break;
        case 1:
            x1 = w - 1 + near(gen);
            break;
        case 2:
            y1 = near(gen);
            break;
        case 3:
            y1 = h - 1 + near(gen);
            break;
        default:
            break;
        }
        const bool longLine = t % 5 == 0;
        const int x2 = longLine ? anyX(gen) : x1 + near(gen);
        const int y2 = longLine ? anyY(gen) : y1 + rise(gen);
        stamped.fill(Qt::white);
        const bool done = StampLine(stamped, x1, y1, x2, y2, colour, psDot, width);
        if (!done)
            continue;
        // Twice, so the second comes from the kept shape.
        stamped.fill(Qt::white);
        QVERIFY(StampLine(stamped, x1, y1, x2, y2, colour, psDot, width));
        QVERIFY2(stamped == Stroked(size, x1, y1, x2, y2, pen),
            qPrintable(QStringLiteral("%1,%2 - %3,%4").arg(x1).arg(y1).arg(x2).arg(y2)));
    }
}

void TestLineStamps::notStamped_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("x2");

    QTest::newRow("1 px pen") << 1 << int(QImage::Format_RGB32) << 20;
    QTest::newRow("ARGB image") << 2 << int(QImage::Format_ARGB32_Premultiplied) << 20;
    QTest::newRow("too long") << 2 << int(QImage::Format_RGB32) << 5000;
    QTest::newRow("too wide") << 100 << int(QImage::Format_RGB32) << 20;
}

void TestLineStamps::notStamped()
{
    QFETCH(int, width);
    QFETCH(int, format);
    QFETCH(int, x2);

    QImage img(50, 50, static_cast<QImage::Format>(format));
    img.fill(Qt::white);
    const QImage before = img;
    QVERIFY(!StampLine(img, 5, 5, x2, 30, clRed, psSolid, width));
    QCOMPARE(img, before);
}

void TestLineStamps::canvasLineUnchanged()
{
    // A curve drawn through the canvas, copy mode, wide pen: the same pixels as one painter
    // stroking every segment.
    QImage layer(400, 300, QImage::Format_RGB32);
    layer.fill(Qt::white);
    TCanvas canvas(&layer);
    canvas.SetPen(clBlue, psDot, 2);
    std::mt19937 gen(9);
    std::uniform_int_distribution<int> dy(-40, 40);
    QImage expected = layer;
    QPainter p(&expected);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setPen(MakeCanvasPen(clBlue, psDot, 2));
    int y = 150;
    for (int x = 0; x < 400; x += 3) {
        const int ny = std::clamp(y + dy(gen), -10, 310);
        canvas.MoveTo(x + 3, ny);
        canvas.LineTo(x, y);
        p.drawLine(x + 3, ny, x, y);
        y = ny;
    }
    p.end();
    QCOMPARE(layer, expected);
}

void TestLineStamps::farOutsideDrawsNothing_data()
{
    QTest::addColumn<int>("x1");
    QTest::addColumn<int>("x2");
    QTest::addColumn<bool>("stamped");
    const int top = std::numeric_limits<int>::max();
    const int bottom = std::numeric_limits<int>::min();
    // A curve point far right of the plot can lie near the end of the int range.
    QTest::newRow("short segment at the int limit") << top - 3 << top << true;
    QTest::newRow("short segment at the negative limit") << bottom << bottom + 3 << true;
    QTest::newRow("across the whole int range") << bottom + 5 << top << false;
}

void TestLineStamps::farOutsideDrawsNothing()
{
    QFETCH(int, x1);
    QFETCH(int, x2);
    QFETCH(bool, stamped);
    QImage img(50, 50, QImage::Format_RGB32);
    img.fill(Qt::white);
    const QImage before = img;
    QCOMPARE(StampLine(img, x1, 20, x2, 25, clRed, psSolid, 2), stamped);
    QCOMPARE(img, before);
}

void TestLineStamps::keptShapesStartOver()
{
    // One shape more than are kept starts the store over: the shapes stamped just before
    // are made anew, not read from where they were.
    struct TShape
    {
        int Width;
        int Dx;
        int Dy;
    };
    std::vector<TShape> shapes;
    for (int width = 2; width <= 64; ++width)
        for (int dx = -3; dx <= 3; ++dx)
            for (int dy = -10; dy <= 10; ++dy)
                shapes.push_back({ width, dx, dy });
    QVERIFY(shapes.size() > size_t(kKeptLineStamps));
    QImage img(48, 48, QImage::Format_RGB32);
    const auto stamped = [&img](const TShape &Shape) {
        img.fill(Qt::white);
        const bool done
            = StampLine(img, 24, 24, 24 + Shape.Dx, 24 + Shape.Dy, clRed, psSolid, Shape.Width);
        return done ? qHashBits(img.constBits(), size_t(img.sizeInBytes())) : 0;
    };
    std::vector<size_t> first;
    for (int i = 0; i <= kKeptLineStamps; ++i)
        first.push_back(stamped(shapes[size_t(i)]));
    for (int i = kKeptLineStamps - 1; i >= kKeptLineStamps - 256; --i)
        QVERIFY2(stamped(shapes[size_t(i)]) == first[size_t(i)], qPrintable(QString::number(i)));
}

QTEST_GUILESS_MAIN(TestLineStamps)
#include "tst_LineStamps.moc"
