// The window from the keyboard: shortcuts, cursor keys, a typed frequency and the Tab order,
// each row a key (or keys) and what the window shows after it.
#include "WindowFixture.h"
#include "app/ColourButton.h"
#include "app/TfrmMain.h"
#include "app/WindowProbe.h"
#include "config/ConfigStore.h"
#include "graph/TAnGraph.h"
#include "graph/TCursors.h"
#include "graph/TOsaX.h"
#include "graph/TvGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "readout/TfraData.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

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

struct TRow
{
    const char *Name;
    std::function<void(TfrmMain &)> Act;
    std::function<void(TfrmMain &)> Check;
};

TScriptedDialogs *Answers = nullptr;

const TRow kRows[] = {
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

class TfrmMainKeysTest : public QObject
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
    void EveryKeyDoesWhatItsClickDoes_data()
    {
        QTest::addColumn<int>("Row");
        for (int I = 0; I < static_cast<int>(std::size(kRows)); ++I)
            QTest::newRow(kRows[I].Name) << I;
    }
    void EveryKeyDoesWhatItsClickDoes()
    {
        QFETCH(int, Row);
        TQuietPort Port;
        TfrmMain Window;
        Window.show();
        QApplication::setActiveWindow(&Window);
        QVERIFY(QTest::qWaitForWindowActive(&Window));
        kRows[Row].Act(Window);
        if (QTest::currentTestFailed())
            return;
        kRows[Row].Check(Window);
        if (Window.IsMeasuring())
            Window.Mereni().WatchdogTimer();
    }

private:
    std::unique_ptr<TScriptedDialogs> Dialogs;
    std::unique_ptr<TDialogsScope> Scope;
};

QTEST_MAIN(TfrmMainKeysTest)
#include "tst_frmMainKeys.moc"
