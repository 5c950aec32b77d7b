#include "WindowFixture.h"
#include "app/ColourButton.h"
#include "app/TResonancePanel.h"
#include "app/TfrmMain.h"
#include "app/WindowProbe.h"
#include "config/ConfigStore.h"
#include "config/TDlgConfig.h"
#include "config/TfrmCfg.h"
#include "device/TComm.h"
#include "graph/TAnGraph.h"
#include "graph/TvGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "readout/TfraData.h"
#include "readout/TfrmTestColor.h"
#include "smith/TSmithChart.h"
#include "smith/TvSmithChart.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QString U(const char *Utf8) { return QString::fromUtf8(Utf8); }

// Places cursors 1 and 2 at their columns nearest the frequencies, as a drag would.
void PlaceCursors(TAnGraph &G, double F1, double F2)
{
    G.Cursor1->Frequency = F1;
    G.Cursor2->Frequency = F2;
    G.Refresh();
}

QStringList FakeSweep(int FromKHz, int Count)
{
    QStringList Lines;
    for (int I = 0; I < Count; ++I)
        Lines << QStringLiteral("%1 %2 %3").arg(FromKHz + 10 * I).arg(40 + I).arg(I - 10);
    return Lines;
}

} // namespace

class TfrmMainTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void FreshConfigurationStartsWith160m();
    void StartUpFallsBackAndRunsOn_data();
    void StartUpFallsBackAndRunsOn();
    void ARefusedWriteAtStartUpIsShownNotFatal();
    void MaxBandGivesFullRangeAndEmptiesTheSweep();
    void ZoomToTheCursorsAndBack();
    void EqualCursorsDoNotZoom();
    void TheBandShownIsTheBandMeasured();
    void HeaderLabelsFollowTheType_data();
    void HeaderLabelsFollowTheType();
    void NoCaptionIsClippedOrOverlapped();
    void MeasureButtonPaintsWithTwoPalettesOnly();
    void CloseIsRefusedWhileMeasuring();
    void ABurstOfResizesGivesOneRedraw();
    void SetFrequencyRangeMessages_data();
    void SetFrequencyRangeMessages();
    void CableLengthAndVelocityFactor_data();
    void CableLengthAndVelocityFactor();
    void InvalidCableInputIsReportedOncePerRunAfterDrawing();
    void ShortAndFreeGiveTheCableImpedance();
    void ReadoutRowsFollowMinSwr();
    void EveryHandlerLeavesOnePicture_data();
    void EveryHandlerLeavesOnePicture();
    void StatusBarSaysWhyASweepBroughtNothing_data();
    void StatusBarSaysWhyASweepBroughtNothing();
    void StatusBarCountsAnEarlyEnd();
    void RepeatKeepsTheCursorsAndStopsWhenUnchecked();
    void RepeatStopsAtAFailedSweep();
    void ResonanceRowPutsCursorOneOnTheDip();
    void AReferenceLiesUnderTheSweepAndIsReadAtCursorOne();
    void ConfigurationDialogAppliesTheNewBand();

private:
    std::unique_ptr<TScriptedDialogs> Dialogs;
    std::unique_ptr<TDialogsScope> Scope;
};

void TfrmMainTest::init()
{
    QFile::remove(QString::fromStdString(KivraIniPath()));
    ChImp = 50;
    MeasureMode = mmImpedance;
    Dialogs = std::make_unique<TScriptedDialogs>();
    Scope = std::make_unique<TDialogsScope>(*Dialogs);
}

void TfrmMainTest::cleanup()
{
    Scope.reset();
    Dialogs.reset();
}

void TfrmMainTest::FreshConfigurationStartsWith160m()
{
    TfrmMain Window;
    QVERIFY(!Window.Started());
    Window.show();
    Window.hide();
    Window.show(); // a second show must not run the start-up again
    QVERIFY(Window.Started());
    // The first picture is drawn at the size the window shows it, not cleared by the
    // layouts settling and left for the redraw timer.
    const QImage &Picture = Window.Model().Composite;
    QCOMPARE(Picture.size(), Window.GraphFrame()->pbGraph->size());
    QImage Blank(Picture.size(), Picture.format());
    Blank.fill(QColor(234, 243, 255));
    QVERIFY(Picture != Blank);
    QCOMPARE(Window.width(), 1144);
    QCOMPARE(Window.windowTitle(), QStringLiteral("KIVRA Antenne analyzer "));
    QCOMPARE(Window.Model().OsaX->MinValue, 1.81);
    QCOMPARE(Window.Model().OsaX->MaxValue, 2.0);
    QVERIFY(Child<QRadioButton>(Window, "chk160")->isChecked());
    QVERIFY(!Child<QRadioButton>(Window, "chkOther")->isChecked());
    QVERIFY(Child<QFrame>(Window, "pnSmihGraph")->isVisible());
    QVERIFY(Child<QFrame>(Window, "pnBand")->isVisible());
    QCOMPARE(Child<QLineEdit>(Window, "edZkracKa")->text(), QStringLiteral("0.66"));
    QCOMPARE(Window.Model().OsaR->Line.Color, clGreen);
    QCOMPARE(Window.Model().OsaXX->Line.Width, 2);
    QVERIFY(Window.Model().OsaR->Visible && !Window.Model().OsaPSV->Visible);
    QVERIFY(Child<QAction>(Window, "MenLoad")->isEnabled()
        && Child<QAction>(Window, "Oprogramu1")->isEnabled());
    QVERIFY(Dialogs->Texts().empty());
}

void TfrmMainTest::StartUpFallsBackAndRunsOn_data()
{
    QTest::addColumn<QByteArray>("Ini");
    QTest::addColumn<double>("Min");
    QTest::addColumn<double>("Max");
    QTest::addColumn<QString>("StoredChImp");
    QTest::addColumn<int>("Boxes");
    QTest::newRow("CH_IMP not an integer")
        << QByteArray("[COM_PORT]\nCH_IMP=abc\n") << 1.81 << 2.0 << QStringLiteral("50") << 0;
    QTest::newRow("CH_IMP 75, 40 m")
        << QByteArray("[COM_PORT]\nCH_IMP=75\nBAND160=N\nBAND40=A\nFMIN3=7.000\nFMAX3=7.200\n")
        << 7.0 << 7.2 << QStringLiteral("75") << 0;
    // The limits do not convert: the fallback range, and one box saying so.
    QTest::newRow("band limits not numbers")
        << QByteArray("[COM_PORT]\nFMIN1=1,81\n") << 1.0 << 50.0 << QStringLiteral("50") << 1;
}

void TfrmMainTest::StartUpFallsBackAndRunsOn()
{
    QFETCH(QByteArray, Ini);
    QFETCH(double, Min);
    QFETCH(double, Max);
    QFETCH(QString, StoredChImp);
    QFETCH(int, Boxes);
    WriteIni(Ini);
    TfrmMain Window;
    Window.show();
    QCOMPARE(Window.Model().OsaX->MinValue, Min);
    QCOMPARE(Window.Model().OsaX->MaxValue, Max);
    QCOMPARE(QString::number(ChImp), StoredChImp);
    QCOMPARE(ReadConfigValue(ciChImp), StoredChImp);
    QCOMPARE(static_cast<int>(Dialogs->Texts().size()), Boxes);
}

void TfrmMainTest::ARefusedWriteAtStartUpIsShownNotFatal()
{
    WriteIni("[COM_PORT]\nCH_IMP=abc\n");
    // No write may grow a file past a few bytes: the store's save of "50" fails.
    rlimit Old {};
    ::getrlimit(RLIMIT_FSIZE, &Old);
    rlimit Tiny = Old;
    Tiny.rlim_cur = 8;
    std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &Tiny);
    TfrmMain Window;
    Window.show();
    ::setrlimit(RLIMIT_FSIZE, &Old);
    QVERIFY(Window.Started());
    QCOMPARE(ChImp, 50);
    QCOMPARE(static_cast<int>(Dialogs->Texts().size()), 1);
    QVERIFY(
        QString::fromStdString(Dialogs->Texts()[0]).startsWith(QLatin1String("Unable to write")));
    // The steps after the failed one ran.
    QCOMPARE(Window.Model().OsaX->MinValue, 1.81);
    QVERIFY(Child<QFrame>(Window, "pnSmihGraph")->isVisible());
    // Nor does a refused write of the velocity factor keep the window open.
    Child<QLineEdit>(Window, "edZkracKa")->setText(QStringLiteral("0.800000"));
    ::setrlimit(RLIMIT_FSIZE, &Tiny);
    const bool Closed = Window.close();
    ::setrlimit(RLIMIT_FSIZE, &Old);
    QVERIFY(Closed);
    QCOMPARE(static_cast<int>(Dialogs->Texts().size()), 2);
    QCOMPARE(ReadConfigValue(ciVelocityFactor), QStringLiteral("0.66"));
}

void TfrmMainTest::MaxBandGivesFullRangeAndEmptiesTheSweep()
{
    TfrmMain Window;
    Window.show();
    Window.Mereni().SetLastLines(FakeSweep(1810, 20));
    QTest::mouseClick(Child<QRadioButton>(Window, "chkOther"), Qt::LeftButton);
    QCOMPARE(Window.Model().OsaX->MinValue, 1.0);
    QCOMPARE(Window.Model().OsaX->MaxValue, 30.0);
    QVERIFY(Window.Mereni().LastLines().isEmpty());
    QVERIFY(Window.SmithFrame()->Chart() != nullptr);
}

void TfrmMainTest::ZoomToTheCursorsAndBack()
{
    WriteIni("[COM_PORT]\nBAND160=N\nBAND40=A\n");
    TfrmMain Window;
    Window.show();
    TAnGraph &G = Window.Model();
    PlaceCursors(G, 7.05, 7.0);
    QVERIFY(Child<QPushButton>(Window, "btnZoomP")->isEnabled());
    QVERIFY(!Child<QPushButton>(Window, "btnZoomS")->isEnabled());
    G.Cursor1->Frequency = 7.05;
    G.Cursor2->Frequency = 7.0;
    Window.btnZoomPClick();
    QCOMPARE(G.OsaX->MinValue, 6.9975);
    QCOMPARE(G.OsaX->MaxValue, 7.0525);
    QVERIFY(Child<QPushButton>(Window, "btnZoomS")->isEnabled());

    G.Cursor1->Frequency = 7.01;
    G.Cursor2->Frequency = 7.02;
    Window.btnZoomPClick();
    QCOMPARE(G.OsaX->MinValue, 7.0095);
    QCOMPARE(G.OsaX->MaxValue, 7.0205);

    Window.btnZoomSClick();
    QCOMPARE(G.OsaX->MinValue, 7.0);
    QCOMPARE(G.OsaX->MaxValue, 7.1);
    QVERIFY(std::abs(G.Cursor1->Frequency - 7.0) < 1e-3);
    QVERIFY(std::abs(G.Cursor2->Frequency - 7.05) < 1e-3);
    QVERIFY(!Child<QPushButton>(Window, "btnZoomS")->isEnabled());
}

void TfrmMainTest::EqualCursorsDoNotZoom()
{
    TfrmMain Window;
    Window.show();
    TAnGraph &G = Window.Model();
    G.Cursor1->Frequency = 1.9;
    G.Cursor2->Frequency = 1.9;
    Window.btnZoomPClick();
    QCOMPARE(G.OsaX->MinValue, 1.81);
    QCOMPARE(G.OsaX->MaxValue, 2.0);
    QVERIFY(!Window.IsZoomSaved());
    Window.btnZoomSClick(); // nothing saved: nothing happens
    QCOMPARE(G.Cursor1->Frequency, 1.9);
}

void TfrmMainTest::TheBandShownIsTheBandMeasured()
{
    TQuietPort Port;
    TfrmMain Window;
    Window.show();
    QTest::mouseClick(Child<QRadioButton>(Window, "chk40"), Qt::LeftButton);
    QCOMPARE(Window.Model().OsaX->MinValue, 7.0);
    Window.Mereni().SetLastLines(FakeSweep(7000, 5));
    QTest::mouseClick(Child<TColourButton>(Window, "btnMereni"), Qt::LeftButton);
    QVERIFY(Window.IsMeasuring());
    // The analyzer is asked for the band the lines will be drawn against.
    QCOMPARE(Port.Command(), QByteArray("700 710 1 \r"));
    QCOMPARE(Window.Mereni().ExpectedLines, 11);
    QVERIFY(Child<QRadioButton>(Window, "chk40")->isChecked());
    QVERIFY(!Child<QFrame>(Window, "pnBand")->isVisible());
    QVERIFY(!Child<TColourButton>(Window, "btnMereni")->isEnabled());
    QCOMPARE(Child<TColourButton>(Window, "btnMereni")->palette().color(QPalette::ButtonText),
        QColor(255, 0, 0));
    QCOMPARE(Window.Model().OsaX->MinValue, 7.0);
    // Nothing empties the lines at the start: the last sweep stays until the new one ends.
    QCOMPARE(Window.Mereni().LastLines().size(), 5);
    Window.Mereni().SetCurrentLines(FakeSweep(7000, 11));
    Window.Mereni().WatchdogTimer();
    QVERIFY(Child<QFrame>(Window, "pnBand")->isVisible());
    QVERIFY(Child<QRadioButton>(Window, "chk40")->isChecked());
    QCOMPARE(Window.Model().OsaX->MinValue, 7.0);
    QCOMPARE(Window.Mereni().LastLines().size(), 11);
    QVERIFY(Child<TColourButton>(Window, "btnMereni")->isEnabled());
    QCOMPARE(Child<TColourButton>(Window, "btnMereni")->palette().color(QPalette::ButtonText),
        QColor(0, 0, 0));
}

void TfrmMainTest::HeaderLabelsFollowTheType_data()
{
    QTest::addColumn<int>("Type");
    QTest::addColumn<QStringList>("Shown");
    QTest::newRow("impedance") << 0
                               << QStringList { U("Frekvence [Mhz]"), U("PSV"), U("RL [dB]"),
                                      U("F\xc3\xa1ze [stup]"), U("Xx [ohm]"), U("Rx [ohm]"),
                                      U("XC [pF]"), U("\xc5\xa0.p\xc3\xa1sma [MHz]/ Q"),
                                      U("XL {uH}"), U("Z [ohm]") };
    QTest::newRow("cable loss") << 1 << QStringList { U("Frekvence [Mhz]"), U("Attenuation[dB]") };
    QTest::newRow("cable length") << 2
                                  << QStringList { U("Frekvence [Mhz]"), U("F\xc3\xa1ze [stup]"),
                                         U("Z [ohm]") };
}

void TfrmMainTest::HeaderLabelsFollowTheType()
{
    QFETCH(int, Type);
    QFETCH(QStringList, Shown);
    TfrmMain Window;
    Window.show();
    QRadioButton *Buttons[] = { Child<QRadioButton>(Window, "rbImpedance"),
        Child<QRadioButton>(Window, "rbT"), Child<QRadioButton>(Window, "btnLKab") };
    QTest::mouseClick(Buttons[Type], Qt::LeftButton);
    QCOMPARE(static_cast<int>(MeasureMode), Type);
    QStringList Visible;
    for (QLabel *L : { Child<QLabel>(Window, "lbFrekvence"), Child<QLabel>(Window, "lbPSV"),
             Child<QLabel>(Window, "lbRL"), Child<QLabel>(Window, "lbPhase"),
             Child<QLabel>(Window, "lbXx"), Child<QLabel>(Window, "lbRx"),
             Child<QLabel>(Window, "lbC"), Child<QLabel>(Window, "lbAny"),
             Child<QLabel>(Window, "lbH"), Child<QLabel>(Window, "lbZ") })
        if (L->isVisible())
            Visible << L->text();
    QCOMPARE(Visible, Shown);
    QCOMPARE(Child<QGroupBox>(Window, "gbLenKabelu")->isVisible(), Type == 2);
    QCOMPARE(Child<QGroupBox>(Window, "gbKrivky")->isVisible(), Type == 0);
    QCOMPARE(Child<QFrame>(Window, "pnSmihBase")->isVisible(), Type == 0);
    // The Smith chart box does nothing outside the impedance type.
    QTest::mouseClick(Child<QCheckBox>(Window, "CHsMITH"), Qt::LeftButton);
    QCOMPARE(Child<QFrame>(Window, "pnSmihBase")->isVisible(), false);
}

namespace {

// The width a caption's text has inside its widget, as the style lays it out, and the width
// the text needs; widgets without a caption need none.
int CaptionRoom(const QWidget *W)
{
    const auto *Button = qobject_cast<const QAbstractButton *>(W);
    if (Button == nullptr)
        return W->width();
    QStyleOptionButton Option;
    Option.initFrom(W);
    Option.text = Button->text();
    QStyle::SubElement Contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox *>(W) != nullptr)
        Contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton *>(W) != nullptr)
        Contents = QStyle::SE_RadioButtonContents;
    return W->style()->subElementRect(Contents, &Option, W).width();
}

int CaptionWidth(const QWidget *W)
{
    if (const auto *Label = qobject_cast<const QLabel *>(W))
        return Label->sizeHint().width();
    if (const auto *Button = qobject_cast<const QAbstractButton *>(W))
        return W->fontMetrics().horizontalAdvance(Button->text());
    return 0;
}

} // namespace

namespace {

// Notes the palette of every push button the style draws: the style caches button pictures
// under it.
class TPaletteProbe : public QProxyStyle
{
public:
    void drawControl(ControlElement Element, const QStyleOption *Option, QPainter *Painter,
        const QWidget *Widget) const override
    {
        if (Element == CE_PushButton) {
            Keys.insert(Option->palette.cacheKey());
            Colours.insert(Option->palette.color(QPalette::ButtonText).rgb());
        }
        QProxyStyle::drawControl(Element, Option, Painter, Widget);
    }
    mutable QSet<qint64> Keys;
    mutable QSet<QRgb> Colours;
};

} // namespace

// Every sweep turns the measure button red and back; a palette made anew each time would add
// its pictures to the style's cache at every sweep.
void TfrmMainTest::MeasureButtonPaintsWithTwoPalettesOnly()
{
    WriteIni("[COM_PORT]\nPORT2=250\n");
    TfrmMain Window;
    Window.show();
    auto *Probe = new TPaletteProbe;
    Child<TColourButton>(Window, "btnMereni")->setStyle(Probe);
    for (int Sweep = 0; Sweep < 5; ++Sweep) {
        QTest::mouseClick(Child<TColourButton>(Window, "btnMereni"), Qt::LeftButton);
        QVERIFY(Window.IsMeasuring());
        Child<TColourButton>(Window, "btnMereni")->grab();
        Window.Mereni().WatchdogTimer();
        Child<TColourButton>(Window, "btnMereni")->grab();
    }
    QCOMPARE(Probe->Colours, (QSet<QRgb> { qRgb(255, 0, 0), qRgb(0, 0, 0) }));
    QCOMPARE(Probe->Keys.size(), 2);
    Child<TColourButton>(Window, "btnMereni")->setStyle(nullptr);
    delete Probe;
}

// Captions in fixed-size panels and the header placed over the row fields: each shown text
// must fit its widget, and no label may run under a neighbour.
void TfrmMainTest::NoCaptionIsClippedOrOverlapped()
{
    TfrmMain Window;
    Window.show();
    for (QRadioButton *Type : { Child<QRadioButton>(Window, "rbImpedance"),
             Child<QRadioButton>(Window, "rbT"), Child<QRadioButton>(Window, "btnLKab") }) {
        QTest::mouseClick(Type, Qt::LeftButton);
        QStringList Clipped;
        const auto Widgets = Window.findChildren<QWidget *>();
        for (const QWidget *W : Widgets) {
            const int Room = CaptionRoom(W);
            const int Need = CaptionWidth(W);
            if (W->isVisible() && Need > Room)
                Clipped << QStringLiteral("%1 %2<%3").arg(W->objectName()).arg(Room).arg(Need);
        }
        // A label placed by position may run under its neighbour instead.
        for (const QLabel *L : Window.findChildren<QLabel *>()) {
            if (!L->isVisible())
                continue;
            const QRect Text(L->pos(), QSize(CaptionWidth(L), L->height()));
            for (const QObject *O : L->parent()->children()) {
                const auto *Sibling = qobject_cast<const QWidget *>(O);
                if (Sibling != nullptr && Sibling != L && Sibling->isVisible()
                    && Text.intersects(Sibling->geometry()))
                    Clipped << L->text() + QStringLiteral(" runs under ") + Sibling->objectName();
            }
        }
        QVERIFY2(Clipped.isEmpty(),
            qPrintable(Type->text() + QStringLiteral(": ") + Clipped.join(QStringLiteral(", "))));
    }
}

void TfrmMainTest::CloseIsRefusedWhileMeasuring()
{
    WriteIni("[COM_PORT]\nPORT2=250\n");
    TfrmMain Window;
    Window.show();
    Child<QLineEdit>(Window, "edZkracKa")->setText(QStringLiteral("0,7x"));
    QTest::mouseClick(Child<TColourButton>(Window, "btnMereni"), Qt::LeftButton);
    QVERIFY(!Window.close());
    QVERIFY(Window.isVisible());
    QCOMPARE(ReadConfigValue(ciVelocityFactor), QStringLiteral("0.66"));
    // The sweep runs on; the window says it will close, and does once the sweep has ended.
    QCOMPARE(Window.statusBar()->currentMessage(),
        QStringLiteral("KIVRA closes when the sweep has ended"));
    Window.Mereni().WatchdogTimer();
    QTRY_VERIFY(!Window.isVisible());
    QCOMPARE(ReadConfigValue(ciVelocityFactor), QStringLiteral("0,7x"));
}

void TfrmMainTest::ABurstOfResizesGivesOneRedraw()
{
    TfrmMain Window;
    Window.show();
    QVERIFY(QTest::qWaitFor([&] { return Window.ResizeRedraws() == 1; }, 5000));
    for (int W = 1150; W < 1250; W += 20) {
        Window.resize(W, 620);
        QTest::qWait(50);
    }
    QVERIFY(QTest::qWaitFor([&] { return Window.ResizeRedraws() == 2; }, 5000));
    QTest::qWait(1300);
    QCOMPARE(Window.ResizeRedraws(), 2);
    QCOMPARE(Window.Model().MainLayer.width(), Window.GraphFrame()->pbGraph->width());
}

void TfrmMainTest::SetFrequencyRangeMessages_data()
{
    QTest::addColumn<QString>("From");
    QTest::addColumn<double>("Start");
    QTest::addColumn<double>("Stop");
    QTest::addColumn<bool>("Result");
    QTest::addColumn<double>("Min");
    QTest::addColumn<double>("Max");
    QTest::addColumn<QString>("Message");
    QTest::newRow("given range") << QString() << 3.5 << 3.7 << true << 3.5 << 3.7 << QString();
    QTest::newRow("from the fields") << QString() << 0.0 << 0.0 << true << 1.81 << 2.0 << QString();
    QTest::newRow("fields not numbers")
        << QStringLiteral("x") << 0.0 << 0.0 << false << 1.0 << 50.0
        << U("Chyba v nastaven\xc3\xa9 frekvenci!\n\rV konfiguraci jsou ulo\xc5\xbe\x65ny "
             "neplatn\xc3\xad \xc4\x8d\xc3\xadseln\xc3\xa9 hodnoty.\n\rNyn\xc3\xad budou "
             "nastaveny default frekvence");
    QTest::newRow("start not below stop")
        << QString() << 7.0 << 7.0 << false << 1.81 << 2.0
        << U("Chyba v konfiguraci v nastaven\xc3\xa9 frekvenci!\n\rFrekvence OD mus\xc3\xad "
             "b\xc3\xbdt men\xc5\xa1\xc3\xad ne\xc5\xbe frekvence DO.");
}

void TfrmMainTest::SetFrequencyRangeMessages()
{
    QFETCH(QString, From);
    QFETCH(double, Start);
    QFETCH(double, Stop);
    QFETCH(bool, Result);
    QFETCH(double, Min);
    QFETCH(double, Max);
    QFETCH(QString, Message);
    TfrmMain Window;
    Window.show();
    if (!From.isEmpty())
        Window.ConfigFrame()->edFROD->setText(From);
    QCOMPARE(Window.SetFrequencyRange(Start, Stop), Result);
    QCOMPARE(Window.Model().OsaX->MinValue, Min);
    QCOMPARE(Window.Model().OsaX->MaxValue, Max);
    const std::vector<std::string> Texts = Dialogs->Texts();
    QCOMPARE(Texts.empty() ? QString() : QString::fromStdString(Texts.back()), Message);
}

void TfrmMainTest::CableLengthAndVelocityFactor_data()
{
    QTest::addColumn<bool>("Length");
    QTest::addColumn<QString>("Input");
    QTest::addColumn<double>("Delta");
    QTest::addColumn<QString>("Result");
    QTest::newRow("0.66 and 4.948 MHz")
        << true << QStringLiteral("0.66") << 4.948 << QStringLiteral("20.00");
    QTest::newRow("20 m and 4.948 MHz")
        << false << QStringLiteral("20") << 4.948 << QStringLiteral("0.660");
    QTest::newRow("empty factor") << true << QString() << 4.948 << QStringLiteral("0.00");
    QTest::newRow("equal cursors")
        << true << QStringLiteral("0.66") << 0.0 << QStringLiteral("98973600.00");
}

void TfrmMainTest::CableLengthAndVelocityFactor()
{
    QFETCH(bool, Length);
    QFETCH(QString, Input);
    QFETCH(double, Delta);
    QFETCH(QString, Result);
    TfrmMain Window;
    Window.show();
    QTest::mouseClick(Child<QRadioButton>(Window, "btnLKab"), Qt::LeftButton);
    QTest::mouseClick(Length ? Child<QRadioButton>(Window, "rbDelkaKab")
                             : Child<QRadioButton>(Window, "rbZkracKab"),
        Qt::LeftButton);
    QCOMPARE(Child<QLineEdit>(Window, "edLenKa")->isReadOnly(), Length);
    QCOMPARE(Child<QLineEdit>(Window, "edZkracKa")->isReadOnly(), !Length);
    (Length ? Child<QLineEdit>(Window, "edZkracKa") : Child<QLineEdit>(Window, "edLenKa"))
        ->setText(Input);
    Window.CableCursorMoved(Delta);
    QCOMPARE((Length ? Child<QLineEdit>(Window, "edLenKa") : Child<QLineEdit>(Window, "edZkracKa"))
                 ->text(),
        Result);
    // Outside the cable-length type nothing is computed.
    QTest::mouseClick(Child<QRadioButton>(Window, "rbImpedance"), Qt::LeftButton);
    (Length ? Child<QLineEdit>(Window, "edLenKa") : Child<QLineEdit>(Window, "edZkracKa"))->clear();
    Window.CableCursorMoved(Delta);
    QVERIFY((Length ? Child<QLineEdit>(Window, "edLenKa") : Child<QLineEdit>(Window, "edZkracKa"))
                ->text()
                .isEmpty());
}

void TfrmMainTest::InvalidCableInputIsReportedOncePerRunAfterDrawing()
{
    TfrmMain Window;
    Window.show();
    QTest::mouseClick(Child<QRadioButton>(Window, "btnLKab"), Qt::LeftButton);
    Child<QLineEdit>(Window, "edZkracKa")->setText(QStringLiteral("abc"));
    Child<QLineEdit>(Window, "edLenKa")->setText(QStringLiteral("5.00"));
    const std::string Message
        = "Byla zadan\xc3\xa1 neplatn\xc3\xa1 \xc4\x8d\xc3\xadseln\xc3\xa1 hodnota!";
    PlaceCursors(Window.Model(), 3.0, 8.0); // the cursor calls back while it draws
    Window.CableCursorMoved(1.0);
    QVERIFY(Dialogs->Texts().empty()); // not in the middle of the drawing
    QApplication::processEvents();
    QCOMPARE(Dialogs->Texts(), std::vector<std::string> { Message });
    QCOMPARE(Child<QLineEdit>(Window, "edLenKa")->text(), QStringLiteral("5.00"));
    Window.CableCursorMoved(2.0);
    QApplication::processEvents();
    QCOMPARE(Dialogs->Texts().size(), std::size_t(1));
    Child<QLineEdit>(Window, "edZkracKa")->setText(QStringLiteral("0.66"));
    Window.CableCursorMoved(4.948);
    Child<QLineEdit>(Window, "edZkracKa")->setText(QStringLiteral("x"));
    Window.CableCursorMoved(4.948);
    QApplication::processEvents();
    QCOMPARE(Dialogs->Texts().size(), std::size_t(2));
}

void TfrmMainTest::ShortAndFreeGiveTheCableImpedance()
{
    TfrmMain Window;
    Window.show();
    TfraData &Row = *Window.ReadoutRow(1);
    const auto Last = [&] { return Dialogs->Shown().back(); };
    QVERIFY(!Child<QPushButton>(Window, "btnRozp")->isEnabled());
    QTest::mouseClick(Child<QPushButton>(Window, "btnZkrat"), Qt::LeftButton);
    QCOMPARE(
        Last().Text, std::string("Zelen\xc3\xbd k\xc5\x99\xc3\xad\xc5\xbe nen\xc3\xad nastaven!"));
    QCOMPARE(Last().Caption, std::string("Impedance kabelu"));
    Window.btnDelkaKabeluClick();
    QVERIFY(QString::fromStdString(Last().Text).startsWith(QLatin1String("Oba kurzory")));

    Window.Model().Cursor1->Frequency = 1.9;
    Row.ShowZ(true, 0); // the Z field reads "E"
    QTest::mouseClick(Child<QPushButton>(Window, "btnZkrat"), Qt::LeftButton);
    QCOMPARE(Last().Text, std::string("Impedance Z is not valid!"));
    QCOMPARE(Last().Caption, std::string("Cable impedance"));
    QVERIFY(Child<QPushButton>(Window, "btnZkrat")->isEnabled()
        && !Child<QPushButton>(Window, "btnRozp")->isEnabled());

    const std::size_t Boxes = Dialogs->Shown().size();
    Row.ShowZ(false, 25);
    QTest::mouseClick(Child<QPushButton>(Window, "btnZkrat"), Qt::LeftButton);
    QVERIFY(!Child<QPushButton>(Window, "btnZkrat")->isEnabled()
        && Child<QPushButton>(Window, "btnRozp")->isEnabled());
    Row.ShowZ(true, 0);
    QTest::mouseClick(
        Child<QPushButton>(Window, "btnRozp"), Qt::LeftButton); // invalid: the state stays
    QVERIFY(Child<QPushButton>(Window, "btnRozp")->isEnabled());
    Row.ShowZ(false, 100);
    QTest::mouseClick(Child<QPushButton>(Window, "btnRozp"), Qt::LeftButton);
    QCOMPARE(Child<QLineEdit>(Window, "edZKab")->text(), QStringLiteral("50.0"));
    QVERIFY(Child<QPushButton>(Window, "btnZkrat")->isEnabled()
        && !Child<QPushButton>(Window, "btnRozp")->isEnabled());
    QCOMPARE(Dialogs->Shown().size(), Boxes + 1);
}

void TfrmMainTest::ReadoutRowsFollowMinSwr()
{
    TfrmMain Window;
    Window.show();
    TfraData *Row1 = Window.ReadoutRow(1);
    TfraData *Row2 = Window.ReadoutRow(2);
    TfraData *RowMin = Window.ReadoutRow(0);
    QVERIFY(Row1->isVisible() && Row2->isVisible() && !RowMin->isVisible());
    const int Header = Child<QFrame>(Window, "pnHeader")->height();
    QCOMPARE(Child<QFrame>(*Child<QFrame>(Window, "pnGraph"), "pnBottom")->height(),
        2 * Row1->height() + Header + 1);
    QCOMPARE(Child<QLabel>(Window, "lbPSV")->x(), Row2->edPSV->x());
    QCOMPARE(Child<QLabel>(Window, "lbAny")->x(), Row2->edAny->x());
    QTest::mouseClick(Child<QCheckBox>(Window, "chkMinPSV"), Qt::LeftButton);
    QVERIFY(Row1->isVisible() && Row2->isVisible() && RowMin->isVisible());
    QCOMPARE(RowMin->parentWidget(), Child<QFrame>(Window, "pnData"));
    QCOMPARE(Child<QFrame>(*Child<QFrame>(Window, "pnGraph"), "pnBottom")->height(),
        3 * Row1->height() + Header + 1);
    QVERIFY(Window.IsMinSwrShown());
    QTest::mouseClick(Child<QCheckBox>(Window, "chkMinPSV"), Qt::LeftButton);
    QVERIFY(!RowMin->isVisible());
    QCOMPARE(Child<QFrame>(*Child<QFrame>(Window, "pnGraph"), "pnBottom")->height(),
        2 * Row1->height() + Header + 1);
    // The legend is never shown, but coloured.
    QVERIFY(!Window.VoltagePanel()->isVisible());
    QCOMPARE(Window.VoltagePanel()->lbU1->palette().color(QPalette::Window), QColor(Qt::blue));
    QCOMPARE(
        Window.VoltagePanel()->lbU1v->palette().color(QPalette::WindowText), QColor(Qt::black));
}

void TfrmMainTest::EveryHandlerLeavesOnePicture_data()
{
    QTest::addColumn<int>("Handler");
    const char *const Names[] = { "SetFrequencyRange", "SelectBand", "zoom", "zoom back",
        "Recompute", "smoothing", "type", "curve", "resize timer", "Smith apply" };
    for (int I = 0; I < static_cast<int>(std::size(Names)); ++I)
        QTest::newRow(Names[I]) << I;
}

void TfrmMainTest::EveryHandlerLeavesOnePicture()
{
    QFETCH(int, Handler);
    TfrmMain Window;
    Window.show();
    TAnGraph &G = Window.Model();
    Window.Mereni().SetLastLines(FakeSweep(1810, 20));
    PlaceCursors(G, 1.85, 1.95);
    const std::function<void()> Handlers[] = {
        [&] { Window.SetFrequencyRange(1.8, 2.0); },
        [&] { Window.SelectBand(); },
        [&] { Window.btnZoomPClick(); },
        [&] {
            Window.btnZoomPClick();
            Window.btnZoomSClick();
        },
        [&] { Window.btnDelkaKabeluClick(); },
        [&] { QTest::mouseClick(Child<QCheckBox>(Window, "chkVyhlazovat"), Qt::LeftButton); },
        [&] { QTest::mouseClick(Child<QRadioButton>(Window, "rbT"), Qt::LeftButton); },
        [&] { QTest::mouseClick(Child<QCheckBox>(Window, "chkPSV"), Qt::LeftButton); },
        [&] { Window.Timer2Timer(); },
        [&] { Window.SmithChanged(); },
    };
    Handlers[Handler]();
    const QImage After = G.Composite.copy();
    QVERIFY(G.Cursor1->IsPlaced() || Handler == 1);
    G.Refresh();
    QCOMPARE(After, G.Composite);
}

void TfrmMainTest::StatusBarSaysWhyASweepBroughtNothing_data()
{
    QTest::addColumn<QByteArray>("Ini");
    QTest::addColumn<QString>("Status");
    QTest::addColumn<bool>("Box");
    QTest::newRow("no such port") << QByteArray("[COM_PORT]\nPORT2=250\n")
                                  << QStringLiteral(
                                         "Port COM250 (/dev/ttyS249) could not be opened")
                                  << false;
    QTest::newRow("port not a number")
        << QByteArray("[COM_PORT]\nPORT2=abc\n")
        << QStringLiteral("The setting PORT2 in section COM_PORT of ") << true;
    QTest::newRow("selection not a number")
        << QByteArray("[COM_PORT]\nSELCOM=x\n") << QStringLiteral("The setting SELCOM in section ")
        << true;
}

void TfrmMainTest::StatusBarSaysWhyASweepBroughtNothing()
{
    QFETCH(QByteArray, Ini);
    QFETCH(QString, Status);
    QFETCH(bool, Box);
    WriteIni(Ini);
    TfrmMain Window;
    Window.show();
    QTest::mouseClick(Child<TColourButton>(Window, "btnMereni"), Qt::LeftButton);
    QVERIFY(Window.statusBar()->currentMessage().startsWith(Status));
    QCOMPARE(Window.IsMeasuring(), !Box);
    if (Box) {
        QCOMPARE(Dialogs->Texts().size(), std::size_t(1));
        QVERIFY(QString::fromStdString(Dialogs->Texts()[0])
                    .endsWith(QLatin1String("is not a valid integer value")));
        QVERIFY(Window.statusBar()->currentMessage().endsWith(
            QLatin1String("KIVRA.INI is not a number")));
        return;
    }
    Window.Mereni().WatchdogTimer();
    QVERIFY(Window.statusBar()->currentMessage().startsWith(Status));
}

void TfrmMainTest::StatusBarCountsAnEarlyEnd()
{
    TQuietPort Port;
    TfrmMain Window;
    Window.show();
    TMereni &M = Window.Mereni();
    const QStringList Lines = FakeSweep(1810, 20);
    for (int Run : { 5, 20 }) {
        QTest::mouseClick(Child<TColourButton>(Window, "btnMereni"), Qt::LeftButton);
        QCOMPARE(
            Window.statusBar()->currentMessage(), U(" M\xc4\x9b\xc5\x99\x65n\xc3\xad vypnuto"));
        QCOMPARE(M.ExpectedLines, 20);
        for (int I = 0; I < Run; ++I)
            M.LineReceived(I, Lines[I]);
        QCOMPARE(Window.SmithFrame()->Chart()->Points().size(), std::size_t(Run));
        M.WatchdogTimer();
        QCOMPARE(M.LastLines().size(), Run);
        const QString Status = Window.statusBar()->currentMessage();
        QCOMPARE(Status,
            Run < 20 ? QStringLiteral("Sweep ended after 5 of 20 points")
                     : U(" M\xc4\x9b\xc5\x99\x65n\xc3\xad vypnuto"));
        // Browsing the menu leaves the text.
        Window.menuBar()->setActiveAction(Child<QMenu>(Window, "Funkce1")->menuAction());
        Child<QMenu>(Window, "Funkce1")->setActiveAction(Child<QAction>(Window, "MenLoad"));
        Child<QMenu>(Window, "Funkce1")->hide();
        QCOMPARE(Window.statusBar()->currentMessage(), Status);
    }
    QVERIFY(Dialogs->Texts().empty());
}

void TfrmMainTest::RepeatKeepsTheCursorsAndStopsWhenUnchecked()
{
    TQuietPort Port;
    TfrmMain Window;
    Window.show();
    QApplication::setActiveWindow(&Window);
    QVERIFY(QTest::qWaitForWindowActive(&Window));
    TAnGraph &G = Window.Model();
    TMereni &M = Window.Mereni();
    M.SetLastLines(FakeSweep(1810, 20));
    G.Refresh();
    PlaceCursors(G, 1.85, 1.95);
    auto *Band = Child<QFrame>(Window, "pnBand");
    auto *Button = Child<TColourButton>(Window, "btnMereni");
    Child<QCheckBox>(Window, "chkRepeat")->setChecked(true);
    QVERIFY(Child<QAction>(Window, "mnRepeat")->isChecked());
    QTest::mouseClick(Button, Qt::LeftButton);
    QStringList Seen;
    for (int Sweep = 0; Sweep < 3; ++Sweep) {
        QVERIFY(M.Measuring());
        if (Sweep == 2) {
            // Esc unticks "Repeat"; the running sweep still ends as any other.
            QTest::keyClick(Child<TColourButton>(Window, "btnMereni"), Qt::Key_Escape);
            QVERIFY(!Child<QCheckBox>(Window, "chkRepeat")->isChecked());
        }
        // Each sweep reads a different R, so the cursor's row must change with it.
        for (int I = 0; I < 20; ++I)
            M.LineReceived(
                I, QStringLiteral("%1 %2 %3").arg(1810 + 10 * I).arg(40 + I + Sweep).arg(I - 10));
        // Between the sweeps the window never looks idle.
        for (int Pass = 0; Pass < 2 && Sweep < 2; ++Pass) {
            QCoreApplication::processEvents();
            QVERIFY(Band->isHidden());
            QVERIFY(!Button->isEnabled());
        }
        QTRY_VERIFY(Sweep == 2 ? !Window.IsRepeating() : M.Measuring());
        QCOMPARE(G.Cursor1->Frequency, 1.85);
        QCOMPARE(G.Cursor2->Frequency, 1.95);
        Seen << Window.ReadoutRow(1)->edRx->text();
    }
    QCOMPARE(
        Seen, QStringList({ QStringLiteral("44"), QStringLiteral("45"), QStringLiteral("46") }));
    QTest::qWait(50);
    QVERIFY(!M.Measuring());
    QVERIFY(!Band->isHidden());
    QVERIFY(Button->isEnabled());
    QCOMPARE(M.LastLines().size(), 20);
}

void TfrmMainTest::RepeatStopsAtAFailedSweep()
{
    // No analyzer: the first sweep brings nothing and the repetition ends there.
    TfrmMain Window;
    Window.show();
    TMereni &M = Window.Mereni();
    Child<QAction>(Window, "mnRepeat")->trigger();
    QVERIFY(Child<QCheckBox>(Window, "chkRepeat")->isChecked());
    QTest::mouseClick(Child<TColourButton>(Window, "btnMereni"), Qt::LeftButton);
    QVERIFY(M.Measuring());
    M.WatchdogTimer();
    QTest::qWait(50);
    QVERIFY(!M.Measuring());
    QVERIFY(!Window.IsRepeating());
    QVERIFY(!Child<QCheckBox>(Window, "chkRepeat")->isChecked());
    QVERIFY2(Window.statusBar()->currentMessage().endsWith(QStringLiteral("; repeat stopped")),
        qPrintable(Window.statusBar()->currentMessage()));
    QVERIFY(Dialogs->Texts().empty());
}

void TfrmMainTest::ResonanceRowPutsCursorOneOnTheDip()
{
    TfrmMain Window;
    Window.show();
    TAnGraph &G = Window.Model();
    QVERIFY(Window.ResonancePanel() == nullptr);
    Child<QAction>(Window, "mnResonances")->trigger();
    auto *Table = Child<QTableWidget>(Window, "tbResonances");
    auto *None = Child<QLabel>(Window, "lbNoResonance");
    // A flat 50 ohm load has no dip.
    QStringList Lines;
    for (int I = 0; I < 20; ++I)
        Lines << QStringLiteral("%1 50 0").arg(1810 + 10 * I);
    Window.Mereni().SetLastLines(Lines);
    G.Refresh();
    QCoreApplication::processEvents();
    QCOMPARE(Table->rowCount(), 0);
    QVERIFY(None->isVisibleTo(Window.ResonancePanel()));
    QVERIFY(None->text().contains(QStringLiteral("below 2.0")));
    // Two dips, at 1.85 and 1.95 MHz.
    Lines.clear();
    for (int I = 0; I < 20; ++I)
        Lines << QStringLiteral("%1 %2 0")
                     .arg(1810 + 10 * I)
                     .arg(50 + 40 * std::min(std::abs(I - 4), std::abs(I - 14)));
    Window.Mereni().SetLastLines(Lines);
    G.Refresh();
    QCOMPARE(Table->rowCount(), 2);
    QVERIFY(!None->isVisibleTo(Window.ResonancePanel()));
    Table->setCurrentCell(1, 0);
    QCOMPARE(G.Cursor1->Frequency, 1.95);
    QCOMPARE(Window.ReadoutRow(1)->edRx->text(), QStringLiteral("50"));
    QCOMPARE(Table->item(1, 0)->text(), QStringLiteral("1.950"));
    // The copy is the table itself, a header line and a line per row.
    Child<QPushButton>(Window, "btnCopyResonances")->click();
    const QStringList Copied = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(Copied.size(), 3);
    QCOMPARE(Copied[2].split(u'\t').first(), QStringLiteral("1.950"));
}

void TfrmMainTest::AReferenceLiesUnderTheSweepAndIsReadAtCursorOne()
{
    TfrmMain Window;
    Window.show();
    TAnGraph &G = Window.Model();
    const auto Sweep = [](int Dip) {
        QStringList Lines;
        for (int I = 0; I < 20; ++I)
            Lines << QStringLiteral("%1 %2 %3")
                         .arg(1810 + 10 * I)
                         .arg(50 + 40 * std::abs(I - Dip))
                         .arg(10 * (I - Dip));
        return Lines;
    };
    const auto Values = [](const TfraData &Row) {
        QStringList Texts;
        for (const QLineEdit *Field : { Row.edFrekvence, Row.edPSV, Row.edZ, Row.edRL, Row.edPhase,
                 Row.edRx, Row.edXx, Row.edKapacita, Row.edIIndukcnost })
            Texts << Field->text();
        return Texts;
    };
    const auto Tinted = [&G] {
        const TColor Tint = TReferenceTraces::PenOf(G.OsaR->Line, 0, 1).Color;
        int Count = 0;
        for (int Y = 0; Y < G.MainLayer.height(); ++Y)
            for (int X = 0; X < G.MainLayer.width(); ++X)
                Count += G.MainLayer.pixelColor(X, Y)
                    == QColor(RedOf(Tint), GreenOf(Tint), BlueOf(Tint));
        return Count;
    };
    Window.Mereni().SetLastLines(Sweep(4));
    G.Cursor1->Point = 6;
    G.Cursor1->Frequency = 1.87;
    G.Refresh();
    const QStringList ReadLive = Values(*Window.ReadoutRow(1));
    const QImage SmithBefore = Window.SmithFrame()->Chart()->GridLayer().copy();
    Child<QAction>(Window, "mnKeepReference")->trigger();
    QCOMPARE(Window.ReferenceRows().size(), std::size_t { 1 });
    QVERIFY(Window.SmithFrame()->Chart()->GridLayer() != SmithBefore);

    // A new sweep: the reference keeps the old one, drawn in the tint and read at cursor 1
    // as cursor 1 read it when it was live.
    Window.Mereni().SetLastLines(Sweep(14));
    G.Refresh();
    QCOMPARE(Values(*Window.ReferenceRows()[0]), ReadLive);
    QVERIFY(Values(*Window.ReadoutRow(1)) != ReadLive);
    QVERIFY(Tinted() > 20);
    G.Cursor1->Frequency = 0.0;
    G.Cursor1->Point = -1;
    G.Refresh();
    QCOMPARE(Window.ReferenceRows()[0]->edPSV->text(), QStringLiteral("E"));

    // Three are kept at most; clearing leaves the live curves alone.
    for (int I = 0; I < 3; ++I)
        Child<QAction>(Window, "mnKeepReference")->trigger();
    QCOMPARE(Window.Mereni().References.Count(), 3);
    QVERIFY(Window.statusBar()->currentMessage().contains(QStringLiteral("dropped")));
    Child<QAction>(Window, "mnClearReference")->trigger();
    QVERIFY(Window.ReferenceRows().empty());
    QCOMPARE(Tinted(), 0);
    QVERIFY(!Child<QAction>(Window, "mnClearReference")->isEnabled());

    // A file without one point is refused with a message, a missing one as "Open" says.
    const QString Empty = QDir::temp().filePath(QStringLiteral("kivra-no-point.TXT"));
    QFile File(Empty);
    QVERIFY(File.open(QIODevice::WriteOnly));
    File.write("no point here\r\n");
    File.close();
    Dialogs->QueueFileName(Empty.toStdString());
    Dialogs->QueueFileName((Empty + QStringLiteral(".missing")).toStdString());
    Child<QAction>(Window, "mnOpenReference")->trigger();
    Child<QAction>(Window, "mnOpenReference")->trigger();
    QCOMPARE(Window.Mereni().References.Count(), 0);
    // Each dialog, then its message.
    const std::vector<std::string> Shown = Dialogs->Texts();
    QCOMPARE(static_cast<int>(Shown.size()), 4);
    QVERIFY(QString::fromStdString(Shown[1]).startsWith(QStringLiteral("No measured point")));
    QVERIFY(QString::fromStdString(Shown[3]).endsWith(QStringLiteral("not found!")));
    QFile::remove(Empty);
}

void TfrmMainTest::ConfigurationDialogAppliesTheNewBand()
{
    TfrmMain Window;
    Window.show();
    TAnGraph &G = Window.Model();
    PlaceCursors(G, 1.85, 1.95);
    // The dialog is answered once it runs: 40 m with a new end, then OK.
    QTimer::singleShot(0, [&] {
        auto *Dialog = dynamic_cast<TDlgConfig *>(QApplication::activeModalWidget());
        QVERIFY(Dialog != nullptr);
        Dialog->Frame()->rb40->click();
        Dialog->Frame()->edFRDO->setText(QStringLiteral("7.200"));
        Dialog->btnOk->click();
    });
    Window.Konfigurace1Click();
    QCOMPARE(G.OsaX->MinValue, 7.0);
    QCOMPARE(G.OsaX->MaxValue, 7.2);
    QVERIFY(Child<QRadioButton>(Window, "chk40")->isChecked());
    QVERIFY(!Window.ConfigFrame()->isVisible());
    const QImage After = G.Composite.copy();
    G.Refresh();
    QCOMPARE(After, G.Composite);
}

QTEST_MAIN(TfrmMainTest)
#include "tst_frmMain.moc"
