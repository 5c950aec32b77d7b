#include "config/ConfigStore.h"
#include "graph/ImageProbe.h"
#include "measure/Globals.h"
#include "platform/Dialogs.h"
#include "smith/TSmithChart.h"
#include "smith/TvSmithChart.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <stdexcept>

class TSmithFrameTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void nothingBeforeInitChart();
    void initChartPlacesChart();
    void apply_data();
    void apply();
    void refusedWriteIsSilent();
    void sweepLeavesLabelOnLast();
    void enlargingKeepsChart();

private:
    QTemporaryDir Config;
};

void TSmithFrameTest::init()
{
    QVERIFY(Config.isValid());
    qputenv("XDG_CONFIG_HOME", Config.path().toUtf8());
    QFile::remove(Config.path() + QStringLiteral("/kivra/KIVRA.INI"));
    ChImp = 50;
    GraphBackColor = 0xC0F9FA;
}

void TSmithFrameTest::nothingBeforeInitChart()
{
    TvSmithChart Frame;
    Frame.resize(500, 450);
    Frame.show();
    Frame.ClearChart();
    Frame.AddMeasuredPoint(14000, 50, 0);
    Frame.LoadLines({ QStringLiteral("14000 50 0") }, 50);
    Frame.ShowFrequency(14000);
    Frame.RedrawGrid();
    Frame.Replot();
    Frame.pbSmithPaint();
    Frame.FrameResize();
    Frame.pbSmith->repaint();
    QVERIFY(Frame.Chart() == nullptr);
}

void TSmithFrameTest::initChartPlacesChart()
{
    ChImp = 75;
    TvSmithChart Frame;
    QCOMPARE(Frame.edImp->text(), QStringLiteral("50"));
    Frame.InitChart();
    QCOMPARE(Frame.edImp->text(), QStringLiteral("75"));
    const TSmithChart *Chart = Frame.Chart();
    QVERIFY(Chart != nullptr);
    QCOMPARE(QPoint(Chart->CentreX(), Chart->CentreY()), QPoint(173, 180));
    QCOMPARE(Chart->Radius(), 160);
    QCOMPARE(Chart->Buffer().size(), Frame.pbSmith->size());
    QCOMPARE(Frame.pbSmith->height(), Frame.height() - 50);
    QCOMPARE(Frame.btnAply->text(), QStringLiteral("Apply"));
}

void TSmithFrameTest::apply_data()
{
    QTest::addColumn<QString>("Text");
    QTest::addColumn<bool>("Throwing"); // OnApply fails
    QTest::addColumn<int>("Expected"); // ChImp afterwards
    QTest::addColumn<QString>("Stored"); // CH_IMP afterwards
    QTest::addColumn<int>("Applied"); // OnApply calls
    QTest::newRow("75") << QStringLiteral("75") << false << 75 << QStringLiteral("75") << 1;
    QTest::newRow("10 below the label's range")
        << QStringLiteral("10") << false << 10 << QStringLiteral("10") << 1;
    QTest::newRow("1000 above it")
        << QStringLiteral("1000") << false << 1000 << QStringLiteral("1000") << 1;
    QTest::newRow("signed") << QStringLiteral("+60") << false << 60 << QStringLiteral("60") << 1;
    QTest::newRow("letters") << QStringLiteral("abc") << false << 50 << QStringLiteral("50") << 0;
    QTest::newRow("decimal") << QStringLiteral("75.5") << false << 50 << QStringLiteral("50") << 0;
    QTest::newRow("empty") << QString() << false << 50 << QStringLiteral("50") << 0;
    QTest::newRow("handler fails, the rest stays done")
        << QStringLiteral("75") << true << 75 << QStringLiteral("75") << 1;
    QTest::newRow("zero: kept, points not placed")
        << QStringLiteral("0") << false << 0 << QStringLiteral("0") << 1;
}

void TSmithFrameTest::apply()
{
    QFETCH(QString, Text);
    QFETCH(bool, Throwing);
    QFETCH(int, Expected);
    QFETCH(QString, Stored);
    QFETCH(int, Applied);
    TScriptedDialogs Dialogs;
    TDialogsScope Scope(Dialogs);
    TvSmithChart Frame;
    Frame.resize(443, 420);
    Frame.InitChart();
    Frame.show();
    int Calls = 0;
    Frame.OnApply = [&Frame, &Calls, Throwing] {
        ++Calls;
        Frame.Replot();
        if (Throwing)
            throw std::runtime_error("fails");
    };
    Frame.AddMeasuredPoint(14000, 75, 0);
    Frame.AddMeasuredPoint(14010, 30, -20);
    Frame.edImp->setText(Text);
    Frame.btnAply->click();
    QCOMPARE(ChImp, Expected);
    QCOMPARE(ReadConfigValue(ciChImp), Stored);
    QCOMPARE(Calls, Applied);
    QVERIFY(Dialogs.Shown().empty());
    const auto &Points = Frame.Chart()->Points();
    QCOMPARE(int(Points.size()), 2);
    // Re-plotting keeps the values and moves only the places.
    QCOMPARE(Points[0].R, 75);
    QCOMPARE(Points[1].X, -20);
    QCOMPARE(Points[0].Plotted, Expected > 0);
    if (Expected == 75)
        QCOMPARE(QPoint(Points[0].OffsetX, Points[0].OffsetY), QPoint(0, 0));
    QCOMPARE(Frame.Chart()->CursorFreq(), 14010);
}

void TSmithFrameTest::refusedWriteIsSilent()
{
    // A file where the settings folder should be: the store cannot write.
    QFile Blocker(Config.path() + QStringLiteral("/blocked"));
    QVERIFY(Blocker.open(QIODevice::WriteOnly));
    Blocker.close();
    qputenv("XDG_CONFIG_HOME", Blocker.fileName().toUtf8());
    TScriptedDialogs Dialogs;
    TDialogsScope Scope(Dialogs);
    TvSmithChart Frame;
    Frame.InitChart();
    int Calls = 0;
    Frame.OnApply = [&Calls] { ++Calls; };
    Frame.edImp->setText(QStringLiteral("75"));
    Frame.btnAplyClick();
    QCOMPARE(ChImp, 75);
    QCOMPARE(Calls, 0);
    QVERIFY(Dialogs.Shown().empty());
}

void TSmithFrameTest::sweepLeavesLabelOnLast()
{
    TvSmithChart Frame;
    Frame.resize(443, 420);
    Frame.InitChart();
    Frame.show();
    Frame.AddMeasuredPoint(1000, 10, 10);
    Frame.ClearChart();
    for (int I = 0; I < 100; ++I)
        Frame.AddMeasuredPoint(14000 + 10 * I, 20 + I, 2 * I - 100);
    const TSmithChart *Chart = Frame.Chart();
    QCOMPARE(int(Chart->Points().size()), 100);
    QCOMPARE(Chart->CursorFreq(), 14990);
    // The cross stands on the last point: its column is green somewhere in the plot.
    const TSmithPoint &Last = Chart->Points().back();
    int Green = 0;
    for (int Y = 15; Y < Chart->LabelLayer().height() - 35; ++Y)
        Green += At(Chart->LabelLayer(), Chart->CentreX() + Last.OffsetX, Y) == clGreen;
    QVERIFY(Green > 50);
    // The point cleared before the sweep is gone from the picture.
    int Ox = 0, Oy = 0;
    QVERIFY(SmithOffsets(10, 10, 50, 160, Ox, Oy));
    QCOMPARE(At(Chart->PointLayer(), 173 + Ox - 1, 180 - Oy - 1), clWhite);
    // The frame's paint shows the composed picture.
    QCOMPARE(
        Frame.pbSmith->grab().toImage().convertToFormat(QImage::Format_RGB32), Chart->Buffer());
}

void TSmithFrameTest::enlargingKeepsChart()
{
    TvSmithChart Frame;
    Frame.resize(443, 270);
    Frame.InitChart();
    Frame.show();
    Frame.AddMeasuredPoint(14000, 150, 0);
    Frame.resize(700, 600);
    Frame.RedrawGrid();
    const TSmithChart *Chart = Frame.Chart();
    QCOMPARE(Chart->Buffer().size(), QSize(700, 550));
    QCOMPARE(QPoint(Chart->CentreX(), Chart->CentreY()), QPoint(173, 180));
    QCOMPARE(At(Chart->Buffer(), 650, 500), ButtonFaceColor());
    QCOMPARE(At(Chart->Buffer(), 173, 340), clGray);
    QCOMPARE(At(Chart->PointLayer(), 253, 180), clRed);
}

QTEST_MAIN(TSmithFrameTest)
#include "tst_SmithFrame.moc"
