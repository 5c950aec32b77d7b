// The window shows what was measured: each row is a flow a user meets in the first minutes,
// the action and then what the window must show after it.
#include "WindowFixture.h"
#include "app/ColourButton.h"
#include "app/TfrmMain.h"
#include "app/WindowProbe.h"
#include "config/ConfigStore.h"
#include "config/TfrmCfg.h"
#include "graph/TAnGraph.h"
#include "graph/TCursors.h"
#include "graph/TOsaX.h"
#include "graph/TvGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "readout/TfraData.h"
#include "smith/TSmithChart.h"
#include "smith/TvSmithChart.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

QStringList Dipole(int FromKHz, int StepKHz, int Count)
{
    QStringList Lines;
    for (int I = 0; I < Count; ++I)
        Lines << QStringLiteral("%1 %2 %3").arg(FromKHz + StepKHz * I).arg(50 + I).arg(I - 5);
    return Lines;
}

// A sweep received as if from the analyzer, ended by the watchdog.
void Measure(TfrmMain &Window, const QStringList &Lines)
{
    QTest::mouseClick(Child<TColourButton>(Window, "btnMereni"), Qt::LeftButton);
    QVERIFY(Window.IsMeasuring());
    for (const QString &Line : Lines)
        Window.Mereni().LineReceived(0, Line);
    Window.Mereni().WatchdogTimer();
    QVERIFY(!Window.IsMeasuring());
}

void Click(TfrmMain &Window, const char *Name)
{
    QTest::mouseClick(Child<QAbstractButton>(Window, Name), Qt::LeftButton);
}

QString Status(const TfrmMain &Window) { return Window.statusBar()->currentMessage(); }

struct TRow
{
    const char *Name;
    QByteArray Ini;
    std::function<void(TfrmMain &, TQuietPort &)> Act;
    std::function<void(TfrmMain &, TQuietPort &)> Check;
};

const TRow kRows[] = {
    { "a band picked on the bar is the band measured, and stays", {},
        [](TfrmMain &W, TQuietPort &) { Click(W, "chk20"); },
        [](TfrmMain &W, TQuietPort &Port) {
            Click(W, "btnMereni");
            QCOMPARE(Port.Command(), QByteArray("1400 1430 1 \r"));
            W.Mereni().WatchdogTimer();
            QVERIFY(Child<QRadioButton>(W, "chk20")->isChecked());
            QCOMPARE(W.Model().OsaX->MinValue, 14.0);
        } },
    { "cable length measures the full range", {},
        [](TfrmMain &W, TQuietPort &) { Click(W, "btnLKab"); },
        [](TfrmMain &W, TQuietPort &Port) {
            Click(W, "btnMereni");
            QCOMPARE(Port.Command(), QByteArray("100 3000 10 \r"));
        } },
    { "a sweep disables what would destroy it", {},
        [](TfrmMain &W, TQuietPort &) { Click(W, "btnMereni"); },
        [](TfrmMain &W, TQuietPort &) {
            QVERIFY(!Child<QGroupBox>(W, "GroupBox3")->isEnabled());
            QVERIFY(!Child<QAction>(W, "Konfigurace1")->isEnabled());
            QVERIFY(!Child<QAction>(W, "MenLoad")->isEnabled());
            W.Mereni().WatchdogTimer();
            QVERIFY(Child<QGroupBox>(W, "GroupBox3")->isEnabled());
            QVERIFY(Child<QAction>(W, "Konfigurace1")->isEnabled());
        } },
    { "a zoom stays inside the analyzer's range", {},
        [](TfrmMain &W, TQuietPort &) {
            Click(W, "chkOther");
            W.Model().Cursor1->Frequency = 1.2;
            W.Model().Cursor2->Frequency = 10.0;
            W.btnZoomPClick();
        },
        [](TfrmMain &W, TQuietPort &Port) {
            QCOMPARE(W.Model().OsaX->MinValue, 1.0);
            QCOMPARE(W.Model().OsaX->MaxValue, 10.44);
            Click(W, "btnMereni");
            QCOMPARE(Port.Command(), QByteArray("100 1044 5 \r"));
        } },
    { "a zoom narrower than a step is refused, saying why", {},
        [](TfrmMain &W, TQuietPort &) {
            W.SetFrequencyRange(1.9, 1.904);
            Click(W, "btnMereni");
        },
        [](TfrmMain &W, TQuietPort &) {
            QVERIFY(!W.IsMeasuring());
            QCOMPARE(Status(W),
                QStringLiteral("Range 1.900–1.904 MHz is narrower than one step of 10 kHz"));
        } },
    { "a configured band outside 1-30 MHz is refused, saying why",
        "[COM_PORT]\nBAND160=N\nBAND40=A\nFMIN3=0.5\nFMAX3=7.2\n",
        [](TfrmMain &W, TQuietPort &) { Click(W, "btnMereni"); },
        [](TfrmMain &W, TQuietPort &) {
            QVERIFY(!W.IsMeasuring());
            QCOMPARE(
                Status(W), QStringLiteral("Range 0.500–7.200 MHz is outside 1.000–30.000 MHz"));
        } },
    { "switching types never changes the window's size", {},
        [](TfrmMain &W, TQuietPort &) {
            Click(W, "btnLKab");
            QTest::qWait(50);
            Click(W, "rbImpedance");
            QTest::qWait(50);
        },
        [](TfrmMain &W, TQuietPort &) { QCOMPARE(W.size(), QSize(1144, 604)); } },
    { "a screen reader's toggle runs the box's handler", {},
        [](TfrmMain &W, TQuietPort &) {
            QAccessibleInterface *Box
                = QAccessible::queryAccessibleInterface(Child<QCheckBox>(W, "chkMinPSV"));
            Box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        },
        [](TfrmMain &W, TQuietPort &) {
            QVERIFY(W.ReadoutRow(0)->isVisible());
            QVERIFY(W.IsMinSwrShown());
        } },
    { "a selection made by program runs its handler once", {},
        [](TfrmMain &W, TQuietPort &) {
            W.Mereni().SetLastLines(Dipole(28000, 10, 5));
            // "Max" is selected at start-up already: its handler runs once more, here.
            Click(W, "btnLKab");
        },
        [](TfrmMain &W, TQuietPort &) {
            QCOMPARE(W.Model().OsaX->MinValue, 1.0);
            QVERIFY(W.Mereni().LastLines().isEmpty());
        } },
    { "a band change forgets the zoom", {},
        [](TfrmMain &W, TQuietPort &) {
            W.Model().Cursor1->Frequency = 1.85;
            W.Model().Cursor2->Frequency = 1.95;
            W.btnZoomPClick();
            QVERIFY(W.IsZoomSaved());
            Click(W, "chk20");
        },
        [](TfrmMain &W, TQuietPort &) {
            QVERIFY(!W.IsZoomSaved());
            QVERIFY(!Child<QPushButton>(W, "btnZoomS")->isEnabled());
            QCOMPARE(W.Model().OsaX->MinValue, 14.0);
        } },
    { "an opened file empties the rows and shows its band", {},
        [](TfrmMain &W, TQuietPort &) {
            Measure(W, Dipole(1810, 10, 20));
            W.Model().Cursor1->Frequency = 1.85;
            W.Model().Refresh();
            QVERIFY(!W.ReadoutRow(1)->edFrekvence->text().isEmpty());
            auto *File = new QTemporaryDir;
            QFile Out(File->filePath(QStringLiteral("m.TXT")));
            Out.open(QIODevice::WriteOnly);
            Out.write(Dipole(14000, 10, 31).join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
            Out.close();
            TScriptedDialogs &Answers = static_cast<TScriptedDialogs &>(Dialogs());
            Answers.QueueFileName(Out.fileName().toStdString());
            W.MenLoadClick();
            delete File;
        },
        [](TfrmMain &W, TQuietPort &) {
            QVERIFY(W.ReadoutRow(1)->edFrekvence->text().isEmpty());
            QVERIFY(W.ReadoutRow(1)->edZ->text().isEmpty());
            QVERIFY(Child<QRadioButton>(W, "chk20")->isChecked());
            QCOMPARE(W.Mereni().LastLines().size(), 31);
        } },
    { "a new graph colour reaches the Smith chart", {},
        [](TfrmMain &W, TQuietPort &) {
            W.ConfigFrame()->pnColor->SetColor(RGBColor(200, 220, 240));
            W.ApplyGraphColour();
        },
        [](TfrmMain &W, TQuietPort &) {
            QCOMPARE(W.SmithFrame()->Chart()->GraphBackColor, RGBColor(200, 220, 240));
            QCOMPARE(W.Model().GraphBackColor, RGBColor(200, 220, 240));
        } },
    { "closing during a sweep waits for its end", {},
        [](TfrmMain &W, TQuietPort &) {
            Click(W, "btnMereni");
            QVERIFY(!W.close());
        },
        [](TfrmMain &W, TQuietPort &) {
            QCOMPARE(Status(W), QStringLiteral("KIVRA closes when the sweep has ended"));
            QVERIFY(W.isVisible() && W.IsMeasuring());
            W.Mereni().WatchdogTimer();
            QTRY_VERIFY(!W.isVisible());
        } },
};

} // namespace

class TfrmMainTruthTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QFile::remove(QString::fromStdString(KivraIniPath()));
        ChImp = 50;
        MeasureMode = mmImpedance;
        Dialogs = std::make_unique<TScriptedDialogs>();
        Scope = std::make_unique<TDialogsScope>(*Dialogs);
    }
    void cleanup()
    {
        Scope.reset();
        Dialogs.reset();
    }
    void EveryFlowShowsWhatWasMeasured_data()
    {
        QTest::addColumn<int>("Row");
        for (int I = 0; I < static_cast<int>(std::size(kRows)); ++I)
            QTest::newRow(kRows[I].Name) << I;
    }
    void EveryFlowShowsWhatWasMeasured()
    {
        QFETCH(int, Row);
        const TRow &R = kRows[Row];
        if (!R.Ini.isEmpty())
            WriteIni(R.Ini);
        TQuietPort Port;
        TfrmMain Window;
        Window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Window));
        R.Act(Window, Port);
        if (QTest::currentTestFailed())
            return;
        R.Check(Window, Port);
        if (Window.IsMeasuring())
            Window.Mereni().WatchdogTimer();
    }

private:
    std::unique_ptr<TScriptedDialogs> Dialogs;
    std::unique_ptr<TDialogsScope> Scope;
};

QTEST_MAIN(TfrmMainTruthTest)
#include "tst_frmMainTruth.moc"
