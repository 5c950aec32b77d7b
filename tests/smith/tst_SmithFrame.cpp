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
    void apply_data();
    void apply();
    void sweepThenEnlarge_data();
    void sweepThenEnlarge();

private:
    QTemporaryDir Config;
};

void TSmithFrameTest::init()
{
    qputenv("XDG_CONFIG_HOME", Config.path().toUtf8());
    QFile::remove(Config.path() + QStringLiteral("/kivra/KIVRA.INI"));
    ChImp = 50;
}

void TSmithFrameTest::nothingBeforeInitChart()
{
    ChImp = 75;
    TvSmithChart Frame;
    Frame.show();
    Frame.ClearChart();
    Frame.AddMeasuredPoint(14000, 50, 0);
    Frame.LoadLines({ QStringLiteral("14000 50 0") }, 50);
    Frame.ShowFrequency(14000);
    Frame.RedrawGrid();
    Frame.Replot();
    Frame.pbSmith->repaint();
    QVERIFY(Frame.Chart() == nullptr);
    QCOMPARE(Frame.edImp->text(), QStringLiteral("50"));
    Frame.InitChart();
    QCOMPARE(Frame.edImp->text(), QStringLiteral("75"));
    QCOMPARE(QPoint(Frame.Chart()->CentreX(), Frame.Chart()->CentreY()), QPoint(173, 180));
    QCOMPARE(Frame.Chart()->Radius(), 160);
    QCOMPARE(Frame.Chart()->Buffer().size(), QSize(443, 220));
}

void TSmithFrameTest::apply_data()
{
    QTest::addColumn<QString>("Text");
    QTest::addColumn<int>("Fault"); // 0 none, 1 OnApply fails, 2 the store cannot write
    QTest::addColumn<int>("Expected"); // ChImp afterwards
    QTest::addColumn<QString>("Stored"); // CH_IMP afterwards
    QTest::addColumn<int>("Applied"); // OnApply calls
    QTest::addColumn<int>("Shown"); // messages
    QTest::newRow("75") << QStringLiteral("75") << 0 << 75 << QStringLiteral("75") << 1 << 0;
    QTest::newRow("10, below the label")
        << QStringLiteral("10") << 0 << 10 << QStringLiteral("10") << 1 << 0;
    QTest::newRow("1000, above it")
        << QStringLiteral("1000") << 0 << 1000 << QStringLiteral("1000") << 1 << 0;
    QTest::newRow("signed") << QStringLiteral("+60") << 0 << 60 << QStringLiteral("60") << 1 << 0;
    QTest::newRow("blank around") << QStringLiteral(" 60 ") << 0 << 60 << QStringLiteral("60") << 1
                                  << 0;
    QTest::newRow("1 and 10000, the ends")
        << QStringLiteral("10000") << 0 << 10000 << QStringLiteral("10000") << 1 << 0;
    // Refused with a message naming the range; nothing changes.
    for (const char *Refused : { "abc", "75.5", "0", "-5", "10001", "1000000000", "" })
        QTest::newRow(Refused) << QString::fromLatin1(Refused) << 0 << 50 << QStringLiteral("50")
                               << 0 << 1;
    QTest::newRow("handler fails")
        << QStringLiteral("75") << 1 << 75 << QStringLiteral("75") << 1 << 0;
    // The new impedance is in use although it could not be stored: said, and applied.
    QTest::newRow("write refused") << QStringLiteral("75") << 2 << 75 << QString() << 1 << 1;
}

void TSmithFrameTest::apply()
{
    QFETCH(QString, Text);
    QFETCH(int, Fault);
    QFETCH(int, Expected);
    QFETCH(QString, Stored);
    QFETCH(int, Applied);
    QFETCH(int, Shown);
    TScriptedDialogs Dialogs;
    TDialogsScope Scope(Dialogs);
    TvSmithChart Frame;
    Frame.InitChart();
    int Calls = 0;
    Frame.OnApply = [&Frame, &Calls, Fault] {
        ++Calls;
        Frame.Replot();
        if (Fault == 1)
            throw std::runtime_error("fails");
    };
    Frame.AddMeasuredPoint(14000, 75, 0);
    Frame.AddMeasuredPoint(14010, 30, -20);
    // A file where the settings folder should be: the store cannot write.
    const QString Blocker = Config.path() + QStringLiteral("/blocked");
    if (Fault == 2) {
        QFile(Blocker).open(QIODevice::WriteOnly);
        qputenv("XDG_CONFIG_HOME", Blocker.toUtf8());
    }
    Frame.edImp->setText(Text);
    // Enter in the field applies as the button does.
    QTest::keyClick(Frame.edImp, Qt::Key_Return);
    QCOMPARE(ChImp, Expected);
    QCOMPARE(Frame.edImp->text(), QString::number(Expected));
    if (Fault != 2)
        QCOMPARE(ReadConfigValue(ciChImp), Stored);
    QCOMPARE(Calls, Applied);
    QCOMPARE(Dialogs.Shown().size(), std::size_t(Shown));
    if (Shown == 1 && Fault == 0)
        QVERIFY(
            QString::fromStdString(Dialogs.Texts().front()).contains(QStringLiteral("1 to 10000")));
    // Re-plotting keeps the values and moves only the places; the label ends on the last.
    const auto &Points = Frame.Chart()->Points();
    QVERIFY(Points.size() == 2 && Points[0].R == 75 && Points[1].X == -20);
    QVERIFY(Points[0].Plotted);
    QCOMPARE(Points[0].Plotted && Points[0].OffsetX == 0 && Points[0].OffsetY == 0,
        Expected == 75 && Applied == 1);
    QCOMPARE(Frame.Chart()->CursorFreq(), 14010);
}

void TSmithFrameTest::sweepThenEnlarge_data()
{
    QTest::addColumn<int>("Ending"); // 0: frames, 1: frames, the label moved just before, 2: end
    QTest::newRow("drawn by the frames") << 0;
    QTest::newRow("the label moved just before: it follows a frame later") << 1;
    QTest::newRow("drawn when the sweep ends") << 2;
}

void TSmithFrameTest::sweepThenEnlarge()
{
    TvSmithChart Frame;
    Frame.resize(443, 420);
    Frame.InitChart();
    Frame.show();
    Frame.AddMeasuredPoint(1000, 10, 10); // at (93, 150), cleared before the sweep
    Frame.ClearChart();
    QFETCH(int, Ending);
    if (Ending == 1)
        Frame.ShowFrequency(14000);
    for (int I = 0; I < 100; ++I)
        Frame.AddMeasuredPoint(14000 + 10 * I, 20 + I, 2 * I - 100);
    const TSmithChart *Chart = Frame.Chart();
    // The points wait for their frame, or for the sweep's end.
    QVERIFY(Chart->FramePending());
    if (Ending == 2)
        Frame.DrawPending();
    else
        QTRY_VERIFY(!Chart->FramePending());
    QCOMPARE(int(Chart->Points().size()), 100);
    QCOMPARE(Chart->CursorFreq(), 14990);
    // The cross stands on the last point.
    int Green = 0;
    for (int Y = 15; Y < 420 - 50 - 35; ++Y)
        Green += At(Chart->LabelLayer(), 173 + Chart->Points().back().OffsetX, Y) == clGreen;
    QVERIFY(Green > 100);
    QCOMPARE(At(Chart->PointLayer(), 92, 149), clWhite);
    QCOMPARE(
        Frame.pbSmith->grab().toImage().convertToFormat(QImage::Format_RGB32), Chart->Buffer());
    Frame.resize(700, 600);
    Frame.RedrawGrid();
    QCOMPARE(Chart->Buffer().size(), QSize(700, 550));
    QCOMPARE(At(Chart->Buffer(), 650, 500), ButtonFaceColor());
    QCOMPARE(At(Chart->Buffer(), 173, 340), clGray);
}

QTEST_MAIN(TSmithFrameTest)
#include "tst_SmithFrame.moc"
