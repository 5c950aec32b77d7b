#include "ImageProbe.h"
#include "graph/TAnGraph.h"
#include "graph/TvGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "platform/Format.h"
#include "readout/TfraData.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

constexpr int kW = 795;
constexpr int kH = 400;

// 7.0 to 7.2 MHz; the line at 7.1 MHz is a load of exactly -50 ohm, which the point
// formulas cannot evaluate.
QStringList SweepLines(bool WithFault)
{
    QStringList Lines;
    for (int I = 0; I <= 20; ++I) {
        const int KHz = 7000 + 10 * I;
        if (WithFault && I == 10)
            Lines << QStringLiteral("%1 -50 0").arg(KHz);
        else
            Lines << QStringLiteral("%1 %2 %3").arg(KHz).arg(50 + 4 * std::abs(I - 10)).arg(I - 10);
    }
    return Lines;
}

} // namespace

class TvGraphTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rowsMadeHiddenAndFilled();
    void pressPicksNearerCursor_data();
    void pressPicksNearerCursor();
    void modifiersAndLeavingThePlot();
    void failedStepEndsTheDrag();
    void dragPicture();
    void resizeRedraws();
    void layoutKeepsThePicture_data();
    void layoutKeepsThePicture();
    void rowsBelongToTheirPanel();

private:
    TScriptedDialogs Dialogs;
    std::unique_ptr<TDialogsScope> Scope;
    std::unique_ptr<QWidget> Host;
    QWidget *Panel = nullptr;
    TvGraph *Frame = nullptr;
    std::vector<TfraData *> Rows;
};

void TvGraphTest::init()
{
    ChImp = 50;
    MeasureMode = mmImpedance;
    Dialogs.ClearShown();
    Scope = std::make_unique<TDialogsScope>(Dialogs);
    Host = std::make_unique<QWidget>();
    Panel = new QWidget(Host.get());
    Rows.clear();
    Frame = new TvGraph(Host.get(), [this](int) {
        Rows.push_back(new TfraData(Panel));
        return Rows.back();
    });
    Frame->resize(kW, kH);
    Host->resize(kW, kH + 80);
    Host->show();
    QVERIFY(QTest::qWaitForWindowExposed(Host.get()));
    TAnGraph &G = Frame->Graph();
    G.GraphBackColor = clWhite;
    G.OsaX->SetMinValue(7.0);
    G.OsaX->SetMaxValue(7.2);
    G.ResizeLayers();
    G.Refresh();
}

void TvGraphTest::cleanup()
{
    Host.reset();
    Scope.reset();
}

void TvGraphTest::rowsMadeHiddenAndFilled()
{
    QCOMPARE(Rows.size(), std::size_t(3));
    TAnGraph &G = Frame->Graph();
    QCOMPARE(G.Cursor1->Readout, Rows[1]);
    // The draggable cursors' rows wait hidden; the minimum's row is not hidden.
    QVERIFY(!Rows[1]->isVisible() && !Rows[2]->isVisible());
    QVERIFY(Rows[0]->isVisible());
    QCOMPARE(Rows[0]->RowIndex, 3);
    QVERIFY(!Rows[0]->edAny->isVisibleTo(Rows[0]));
    // The first drag after start moves cursor 1.
    QTest::mousePress(Frame->pbGraph, Qt::LeftButton, {}, QPoint(385, 150));
    QTest::mouseMove(Frame->pbGraph, QPoint(390, 150));
    QTest::mouseRelease(Frame->pbGraph, Qt::LeftButton, {}, QPoint(390, 150));
    QCOMPARE(G.Cursor1->X, 390);
    QCOMPARE(G.Cursor2->X, 0);
    QVERIFY(Frame->MouseUp);
    QCOMPARE(Rows[1]->edFrekvence->text(),
        QStringLiteral("    ")
            + QString::fromStdString(FormatFloat("#0.000 000", G.Cursor1->Frequency)));
    QCOMPARE(Rows[1]->edPSV->text(), QStringLiteral("E"));
    QCOMPARE(Frame->pbGraph->cursor().shape(), Qt::CrossCursor);
}

void TvGraphTest::pressPicksNearerCursor_data()
{
    QTest::addColumn<int>("PressX");
    QTest::addColumn<int>("Active");
    QTest::newRow("150 is nearer the unplaced cursor 2") << 150 << 2;
    QTest::newRow("250 is nearer cursor 1") << 250 << 1;
    QTest::newRow("200, a tie, goes to cursor 1") << 200 << 1;
}

void TvGraphTest::pressPicksNearerCursor()
{
    QFETCH(int, PressX);
    QFETCH(int, Active);
    TAnGraph &G = Frame->Graph();
    G.MoveCursor1(400, 150);
    const double F1 = G.Cursor1->Frequency;
    Frame->pbGraphMouseDown(Qt::RightButton, {}, PressX, 150);
    QCOMPARE(Frame->ActiveCursor, Active);
    QVERIFY(!Frame->MouseUp);
    // The press places the nearer cursor where it points; the other stays.
    QCOMPARE((Active == 1 ? G.Cursor1 : G.Cursor2)->X, PressX);
    QCOMPARE((Active == 1 ? G.Cursor2 : G.Cursor1)->X, Active == 1 ? 0 : 400);
    Frame->pbGraphMouseMove({}, 300, 170);
    QCOMPARE((Active == 1 ? G.Cursor1 : G.Cursor2)->X, 300);
    QCOMPARE((Active == 1 ? G.Cursor2 : G.Cursor1)->X, Active == 1 ? 0 : 400);
    if (Active == 2)
        QCOMPARE(G.Cursor1->Frequency, F1);
    // The active cursor stays for the whole drag, even past the other one.
    Frame->pbGraphMouseMove({}, 500, 170);
    QCOMPARE((Active == 1 ? G.Cursor1 : G.Cursor2)->X, 500);
}

void TvGraphTest::modifiersAndLeavingThePlot()
{
    TAnGraph &G = Frame->Graph();
    QTest::mousePress(Frame->pbGraph, Qt::LeftButton, {}, QPoint(300, 150));
    const struct
    {
        Qt::KeyboardModifiers Keys;
        int X;
        int Expected;
    } Steps[] = {
        { {}, 300, 300 },
        // Shift only keeps a cursor from snapping to a peak; Ctrl holds it.
        { Qt::ShiftModifier, 310, 310 },
        { Qt::ControlModifier, 320, 310 },
        { {}, 330, 330 },
        { {}, 34, 330 },
        { {}, 736, 330 },
        { {}, 35, 35 },
        { {}, 735, 735 },
    };
    for (const auto &Step : Steps) {
        // A synthetic move carries no modifiers: the handler is driven directly.
        Frame->pbGraphMouseMove(Step.Keys, Step.X, 150);
        QCOMPARE(G.Cursor1->X, Step.Expected);
    }
    QTest::mouseRelease(Frame->pbGraph, Qt::LeftButton, {}, QPoint(735, 150));
    Frame->pbGraphMouseMove({}, 400, 150);
    QCOMPARE(G.Cursor1->X, 735);
}

void TvGraphTest::failedStepEndsTheDrag()
{
    TAnGraph &G = Frame->Graph();
    G.Mereni->SetLastLines(SweepLines(true));
    G.Refresh();
    Frame->pbGraphMouseDown(Qt::LeftButton, {}, 300, 150);
    Frame->pbGraphMouseMove({}, 385, 150);
    QCOMPARE(Dialogs.Shown().size(), std::size_t(1));
    QCOMPARE(Dialogs.Shown()[0].Kind, TScriptedDialogs::TKind::ErrorBox);
    // The box took the release: the next movement moves nothing and shows nothing.
    QVERIFY(Frame->MouseUp);
    Frame->pbGraphMouseMove({}, 300, 150);
    QCOMPARE(G.Cursor1->X, 385);
    QCOMPARE(Dialogs.Shown().size(), std::size_t(1));
}

void TvGraphTest::dragPicture()
{
    TAnGraph &G = Frame->Graph();
    G.OsaXX->Line = TPropertyLine(clFuchsia, psSolid, 2);
    G.Mereni->SetLastLines(SweepLines(false));
    G.Refresh();
    QTest::mousePress(Frame->pbGraph, Qt::LeftButton, {}, QPoint(300, 150));
    QTest::mouseMove(Frame->pbGraph, QPoint(427, 150));
    QTest::mouseRelease(Frame->pbGraph, Qt::LeftButton, {}, QPoint(427, 150));
    QCOMPARE(G.Cursor1->X, 427);
    // The picture is the main layer with the cursor layer laid on by AND, pixel for pixel:
    // the cursor shows its colour at its column and the curves stay under it.
    const QImage &C = G.Composite;
    int Mismatch = 0;
    for (int Y = 0; Y < kH; ++Y)
        for (int X = 0; X < kW; ++X)
            Mismatch += C.pixel(X, Y) != (G.MainLayer.pixel(X, Y) & G.CursorLayer.pixel(X, Y));
    QCOMPARE(Mismatch, 0);
    int Green = 0;
    int Curve = 0;
    for (int Y = 0; Y < kH; ++Y) {
        Green += At(C, 427, Y) == clGreen;
        Curve += At(C, 426, Y) == clFuchsia;
    }
    QVERIFY(Green > 100);
    QVERIFY(Curve > 0);
    QVERIFY(CountColor(C, clFuchsia) > 300);
    // What the paint box shows is the composed picture.
    const QImage Shown = Frame->pbGraph->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(At(Shown, 427, 200), At(C, 427, 200));
}

void TvGraphTest::resizeRedraws()
{
    TAnGraph &G = Frame->Graph();
    G.Mereni->SetLastLines(SweepLines(false));
    G.Refresh();
    QVERIFY(CountColor(G.MainLayer, clWhite) < kW * kH);
    Frame->resize(600, 300);
    QCOMPARE(G.MainLayer.size(), QSize(600, 300));
    QCOMPARE(Frame->pbGraph->size(), QSize(600, 300));
    // Drawn again at the new size by the frame itself: the picture a full redraw gives.
    const QImage Resized = G.Composite.copy();
    QVERIFY(CountColor(Resized, clWhite) < 600 * 300);
    G.Refresh();
    QCOMPARE(Resized, G.Composite);
    // Timer1 runs once and stops itself; timerOzn never runs.
    QVERIFY(Frame->Timer1.isActive() && !Frame->timerOzn.isActive());
    Frame->Timer1Timer();
    QVERIFY(!Frame->Timer1.isActive());
}

void TvGraphTest::layoutKeepsThePicture_data()
{
    QTest::addColumn<int>("Change");
    QTest::newRow("readout panel grows") << 0;
    QTest::newRow("band bar hidden") << 1;
}

void TvGraphTest::layoutKeepsThePicture()
{
    // The graph between a bar above and the readout panel below, as in the main window.
    // A handler changes a neighbour and redraws at once; the layout moves the frame only on
    // a later pass of the event loop, and the picture must survive that.
    QFETCH(int, Change);
    QWidget Window;
    auto *Layout = new QVBoxLayout(&Window);
    auto *Bar = new QWidget(&Window);
    Bar->setFixedHeight(30);
    auto *Graph = new TvGraph(&Window);
    auto *Bottom = new QWidget(&Window);
    Bottom->setFixedHeight(44);
    for (QWidget *W : { Bar, static_cast<QWidget *>(Graph), Bottom })
        Layout->addWidget(W);
    Window.resize(kW, kH);
    Window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Window));
    TAnGraph &G = Graph->Graph();
    G.OsaX->SetMinValue(7.0);
    G.OsaX->SetMaxValue(7.2);
    const TColor Curve = RGBColor(0x12, 0x34, 0x56);
    G.OsaZ->Line = TPropertyLine(Curve, psSolid, 2);
    G.Mereni->SetLastLines(SweepLines(false));
    G.Refresh();
    const int Before = Graph->height();

    if (Change == 0)
        Bottom->setFixedHeight(88);
    else
        Bar->hide();
    G.Refresh();
    QTRY_VERIFY(Graph->height() != Before);
    QCoreApplication::processEvents();

    QCOMPARE(G.Composite.size(), Graph->pbGraph->size());
    const QImage Shown = G.Composite.copy();
    // Frame, axes and curves: the curve colour is there, and nothing differs from a redraw.
    QVERIFY(CountColor(Shown, Curve) > 50);
    G.Refresh();
    QCOMPARE(Shown, G.Composite);
}

void TvGraphTest::rowsBelongToTheirPanel()
{
    // One owner: the sanitizer build proves nothing is freed twice, in either order.
    for (bool PanelFirst : { false, true }) {
        auto *OwnPanel = new QWidget;
        auto *OwnFrame = new TvGraph(nullptr, [OwnPanel](int) { return new TfraData(OwnPanel); });
        QCOMPARE(OwnPanel->findChildren<TfraData *>().size(), qsizetype(3));
        delete (PanelFirst ? OwnPanel : static_cast<QWidget *>(OwnFrame));
        delete (PanelFirst ? static_cast<QWidget *>(OwnFrame) : OwnPanel);
    }
}

QTEST_MAIN(TvGraphTest)
#include "tst_vGraph.moc"
