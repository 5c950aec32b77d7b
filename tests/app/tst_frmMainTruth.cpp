// The window shows what was measured: each row is a flow a user meets in the first minutes
// (or a key that does what its click does), the action and then what the window must show.
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
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

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

// The scripted dialogs of the running test, for rows that answer a question.
TScriptedDialogs *Answers = nullptr;

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
            Answers->QueueFileName(Out.fileName().toStdString());
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

// ---- The window from the keyboard: each row a key (or keys) and what the window shows ----

// 20 points of 160 m, 10 kHz apart; R rises by one ohm a point, so a row tells its point.
QStringList Sweep160()
{
    QStringList Lines;
    for (int I = 0; I < 20; ++I)
        Lines << QStringLiteral("%1 %2 %3").arg(1810 + 10 * I).arg(40 + I).arg(I - 10);
    return Lines;
}

void Measured(TfrmMain &W)
{
    W.Mereni().SetCurrentLines(Sweep160());
    QTest::mouseClick(Child<TColourButton>(W, "btnMereni"), Qt::LeftButton);
    W.Mereni().WatchdogTimer();
}

void Keys(QWidget *Target, std::initializer_list<QKeyCombination> Combos)
{
    for (const QKeyCombination Combo : Combos)
        QTest::keyClick(Target, Combo.key(), Combo.keyboardModifiers());
}

// The frequency and R a cursor's row reads.
QString RowOf(const TfrmMain &W, int Index)
{
    const TfraData *Row = W.ReadoutRow(Index);
    return Row->edFrekvence->text().trimmed() + u'/' + Row->edRx->text();
}

// The graph's pixel of frequency MHz, as a user points at it.
QPoint PixelOf(TfrmMain &W, double MHz)
{
    TAnGraph &G = W.Model();
    return QPoint(G.Raster->ColumnOf(MHz) + G.OsaX->PlotLeft(), G.OsaX->PlotTop() + 40);
}

// A cable measured over 2 MHz with |Z| maxima at its 6th and 16th point.
void CableMeasured(TfrmMain &W)
{
    QTest::mouseClick(Child<QAbstractButton>(W, "btnLKab"), Qt::LeftButton);
    QStringList Lines;
    for (int I = 0; I < 21; ++I) {
        const int R = I == 5 || I == 15 ? 400 : I == 4 || I == 6 || I == 14 || I == 16 ? 300 : 100;
        Lines << QStringLiteral("%1 %2 0").arg(1000 + 100 * I).arg(R);
    }
    W.Mereni().SetLastLines(Lines);
    W.SetFrequencyRange(1.0, 3.0);
}

void Drag(TfrmMain &W, double FromMHz, double ToMHz, Qt::KeyboardModifiers Keys)
{
    QWidget *Box = W.GraphFrame()->pbGraph;
    QTest::mousePress(Box, Qt::LeftButton, Keys, PixelOf(W, FromMHz));
    QMouseEvent Move(QEvent::MouseMove, PixelOf(W, ToMHz), Box->mapToGlobal(PixelOf(W, ToMHz)),
        Qt::NoButton, Qt::LeftButton, Keys);
    QApplication::sendEvent(Box, &Move);
    QTest::mouseRelease(Box, Qt::LeftButton, Keys, PixelOf(W, ToMHz));
}

struct TKeyRow
{
    const char *Name;
    std::function<void(TfrmMain &)> Act;
    std::function<void(TfrmMain &)> Check;
};

const TKeyRow kKeyRows[] = {
    { "F5 measures", [](TfrmMain &W) { QTest::keyClick(&W, Qt::Key_F5); },
        [](TfrmMain &W) {
            QVERIFY(W.IsMeasuring());
            // While a sweep runs the keys do what the disabled button does: nothing.
            QTest::keyClick(&W, Qt::Key_R, Qt::ControlModifier);
            QVERIFY(W.IsMeasuring());
            W.Mereni().WatchdogTimer();
        } },
    { "Right steps cursor 1 point by point",
        [](TfrmMain &W) {
            Measured(W);
            Keys(W.GraphFrame(), { Qt::Key_Right, Qt::Key_Right });
        },
        [](TfrmMain &W) { QCOMPARE(RowOf(W, 1), QStringLiteral("1.820 000/41")); } },
    { "Shift moves cursor 2, End and Home the ends",
        [](TfrmMain &W) {
            Measured(W);
            Keys(W.GraphFrame(), { Qt::SHIFT | Qt::Key_End, Qt::Key_End, Qt::Key_Home });
        },
        [](TfrmMain &W) {
            QCOMPARE(RowOf(W, 2), QStringLiteral("2.000 000/59"));
            QCOMPARE(RowOf(W, 1), QStringLiteral("1.810 000/40"));
        } },
    { "PageUp ten points on, Left one back",
        [](TfrmMain &W) {
            Measured(W);
            Keys(W.GraphFrame(), { Qt::Key_Home, Qt::Key_PageUp, Qt::Key_Left });
        },
        [](TfrmMain &W) { QCOMPARE(RowOf(W, 1), QStringLiteral("1.900 000/49")); } },
    { "Ctrl+G puts cursor 1 on the nearest point",
        [](TfrmMain &W) {
            Measured(W);
            Answers->QueueText("1.8951");
            QTest::keyClick(&W, Qt::Key_G, Qt::ControlModifier);
        },
        [](TfrmMain &W) {
            QCOMPARE(RowOf(W, 1), QStringLiteral("1.900 000/49"));
            QCOMPARE(W.Model().Cursor1->Frequency, 1.9);
        } },
    { "a frequency outside the sweep is refused, naming the range",
        [](TfrmMain &W) {
            Measured(W);
            Answers->QueueText("14.23");
            QTest::keyClick(&W, Qt::Key_G, Qt::ControlModifier);
        },
        [](TfrmMain &W) {
            QVERIFY(!W.Model().Cursor1->IsPlaced());
            QCOMPARE(QString::fromStdString(Answers->Texts().back()),
                QStringLiteral("Type a frequency in MHz from 1.810 to 2.000 MHz."));
        } },
    { "a double-click on row 2's frequency asks for cursor 2",
        [](TfrmMain &W) {
            Measured(W);
            Answers->QueueText("1.95");
            QTest::mouseDClick(W.ReadoutRow(2)->edFrekvence, Qt::LeftButton);
        },
        [](TfrmMain &W) { QCOMPARE(RowOf(W, 2), QStringLiteral("1.950 000/54")); } },
    { "a plain click places the nearer cursor",
        [](TfrmMain &W) {
            Measured(W);
            QTest::mouseClick(W.GraphFrame()->pbGraph, Qt::LeftButton, {}, PixelOf(W, 1.9));
        },
        [](TfrmMain &W) {
            QVERIFY(W.Model().Cursor1->IsPlaced());
            QVERIFY(std::abs(W.Model().Cursor1->Frequency - 1.9) < 0.002);
        } },
    { "in cable length a dragged cursor snaps to the |Z| peak",
        [](TfrmMain &W) {
            CableMeasured(W);
            Drag(W, 1.7, 1.7, {});
        },
        [](TfrmMain &W) {
            QCOMPARE(W.Model().Cursor1->Frequency, 1.5);
            QCOMPARE(W.ReadoutRow(1)->edZ->text(), QStringLiteral("400.0"));
        } },
    { "Shift places it freely",
        [](TfrmMain &W) {
            CableMeasured(W);
            Drag(W, 1.7, 1.7, Qt::ShiftModifier);
        },
        [](TfrmMain &W) {
            QVERIFY(std::abs(W.Model().Cursor1->Frequency - 1.7) < 0.01);
            QVERIFY(W.ReadoutRow(1)->edZ->text() != QStringLiteral("400.0"));
        } },
    { "M toggles Min SWR", [](TfrmMain &W) { QTest::keyClick(&W, Qt::Key_M); },
        [](TfrmMain &W) {
            QVERIFY(W.IsMinSwrShown());
            QVERIFY(W.ReadoutRow(0)->isVisible());
        } },
    { "+ zooms to the cursors, - goes back",
        [](TfrmMain &W) {
            Measured(W);
            Keys(W.GraphFrame(), { Qt::Key_Home, Qt::SHIFT | Qt::Key_End });
            QTest::keyClick(&W, Qt::Key_Plus);
            QVERIFY(W.IsZoomSaved());
            QTest::keyClick(&W, Qt::Key_Minus);
        },
        [](TfrmMain &W) {
            QVERIFY(!W.IsZoomSaved());
            QCOMPARE(W.Model().OsaX->MinValue, 1.81);
        } },
    { "Tab visits the visible controls column by column",
        [](TfrmMain &W) { Child<TColourButton>(W, "btnMereni")->setFocus(); },
        [](TfrmMain &) {
            QStringList Visited;
            for (int I = 0; I < 17; ++I) {
                Visited << QApplication::focusWidget()->objectName();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            // The disabled zoom buttons and the hidden cable group are passed over.
            QCOMPARE(Visited.join(u' '),
                QStringLiteral(
                    "btnMereni chkRepeat chkMinPSV chkPSV chkZ chkRx chkXx chkPhase chkRL "
                    "chkVyhlazovat rbImpedance CHsMITH edImp btnAply chk160 "
                    "Graph btnMereni"));
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
        Answers = Dialogs.get();
        Scope = std::make_unique<TDialogsScope>(*Dialogs);
    }
    void cleanup()
    {
        Scope.reset();
        Answers = nullptr;
        Dialogs.reset();
    }
    void EveryFlowShowsWhatWasMeasured_data()
    {
        Rows(std::size(kRows), [](int I) { return kRows[I].Name; });
    }
    void EveryFlowShowsWhatWasMeasured()
    {
        QFETCH(int, Row);
        const TRow &R = kRows[Row];
        Run(R.Ini, R.Act, R.Check);
    }
    void EveryKeyDoesWhatItsClickDoes_data()
    {
        Rows(std::size(kKeyRows), [](int I) { return kKeyRows[I].Name; });
    }
    void EveryKeyDoesWhatItsClickDoes()
    {
        QFETCH(int, Row);
        const TKeyRow &R = kKeyRows[Row];
        Run(
            {}, [&R](TfrmMain &W, TQuietPort &) { R.Act(W); },
            [&R](TfrmMain &W, TQuietPort &) { R.Check(W); });
    }

private:
    static void Rows(std::size_t Count, const std::function<const char *(int)> &Name)
    {
        QTest::addColumn<int>("Row");
        for (int I = 0; I < static_cast<int>(Count); ++I)
            QTest::newRow(Name(I)) << I;
    }
    // A fresh window, active on screen, with a port that never answers; the row's action,
    // then what must show after it.
    static void Run(const QByteArray &Ini, const std::function<void(TfrmMain &, TQuietPort &)> &Act,
        const std::function<void(TfrmMain &, TQuietPort &)> &Check)
    {
        if (!Ini.isEmpty())
            WriteIni(Ini);
        TQuietPort Port;
        TfrmMain Window;
        Window.show();
        QApplication::setActiveWindow(&Window);
        QVERIFY(QTest::qWaitForWindowActive(&Window));
        Act(Window, Port);
        if (QTest::currentTestFailed())
            return;
        Check(Window, Port);
        if (Window.IsMeasuring())
            Window.Mereni().WatchdogTimer();
    }

    std::unique_ptr<TScriptedDialogs> Dialogs;
    std::unique_ptr<TDialogsScope> Scope;
};

QTEST_MAIN(TfrmMainTruthTest)
#include "tst_frmMainTruth.moc"
