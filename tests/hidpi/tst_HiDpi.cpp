// The graph at device pixel ratios 1 and 2 (the test runs once per ratio): the picture on
// screen is the composed layer pixel for pixel, each logical pixel a solid block of device
// pixels, and a drag to a column reads the same frequency at either ratio, wherever inside
// the logical pixel the pointer is.

#include "graph/TAnGraph.h"
#include "graph/TvGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"

#include <QMouseEvent>
#include <QScreen>
#include <QtTest>

class tst_HiDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pictureIsSharp();
    void init();
    void dragReadsColumn_data();
    void dragReadsColumn();

private:
    std::unique_ptr<TvGraph> Frame;
};

namespace {

void Send(QWidget *Target, QEvent::Type Type, QPointF At)
{
    const Qt::MouseButtons Held
        = Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent Event(Type, At, Target->mapToGlobal(At), Qt::LeftButton, Held, Qt::NoModifier);
    QApplication::sendEvent(Target, &Event);
}

} // namespace

void tst_HiDpi::initTestCase()
{
    const double Expected = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    Frame = std::make_unique<TvGraph>(nullptr);
    Frame->resize(443, 270);
    Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(Frame.get()));
    QCOMPARE(Frame->devicePixelRatioF(), Expected);

    TAnGraph &Graph = Frame->Graph();
    QCOMPARE(Graph.Composite.size(), Frame->pbGraph->size());
    Graph.OsaX->MinValue = 1.0;
    Graph.OsaX->MaxValue = 30.0;
    QStringList Lines;
    for (int KHz = 1000; KHz <= 30000; KHz += 100)
        Lines << QStringLiteral("%1 50 %2").arg(KHz).arg((KHz - 15000) / 500);
    Graph.Mereni->SetLastLines(Lines);
    Frame->DrawGraph();
}

void tst_HiDpi::pictureIsSharp()
{
    const QImage &Composite = Frame->Graph().Composite;
    const QPixmap Shot = Frame->pbGraph->grab();
    const int Ratio = qRound(Shot.devicePixelRatio());
    const QImage Picture = Shot.toImage();
    QCOMPARE(Picture.size(), Composite.size() * Ratio);
    if (qEnvironmentVariableIsSet("KIVRA_SHOT"))
        Picture.save(qEnvironmentVariable("KIVRA_SHOT"));
    for (int Y = 0; Y < Picture.height(); ++Y)
        for (int X = 0; X < Picture.width(); ++X)
            if (Picture.pixel(X, Y) != Composite.pixel(X / Ratio, Y / Ratio))
                QFAIL(qPrintable(
                    QStringLiteral("device pixel %1,%2 is not its layer pixel").arg(X).arg(Y)));
}

// Both cursors unplaced, so that a press picks cursor 1.
void tst_HiDpi::init() { Frame->Graph().ResetCursors(); }

void tst_HiDpi::dragReadsColumn_data()
{
    QTest::addColumn<double>("AtX");
    QTest::addColumn<int>("Column");
    QTest::addColumn<double>("FrequencyMHz");
    // Fractions stand for the device pixels inside one logical pixel (ratio 2 gives .5;
    // Wayland reports fractions at any ratio).
    QTest::newRow("column start") << 200.0 << 200 << 14.75;
    QTest::newRow("second device pixel") << 200.5 << 200 << 14.75;
    QTest::newRow("pixel's last fraction") << 200.99 << 200 << 14.75;
    QTest::newRow("next column") << 201.0 << 201 << 14.0 + 5.0 / 6.0;
    QTest::newRow("near the left edge") << 60.5 << 60 << 3.0 + 1.0 / 12.0;
    QTest::newRow("near the right edge") << 380.5 << 380 << 29.75;
}

void tst_HiDpi::dragReadsColumn()
{
    QFETCH(double, AtX);
    QFETCH(int, Column);
    QFETCH(double, FrequencyMHz);
    TAnGraph &Graph = Frame->Graph();
    QWidget *Box = Frame->pbGraph;
    const QPointF At(AtX, 120.5);
    Send(Box, QEvent::MouseButtonPress, At);
    Send(Box, QEvent::MouseMove, At);
    Send(Box, QEvent::MouseButtonRelease, At);
    QCOMPARE(Graph.Cursor1->X, Column);
    QCOMPARE(Graph.Cursor1->Frequency, FrequencyMHz);
}

QTEST_MAIN(tst_HiDpi)
#include "tst_HiDpi.moc"
