#include "smith/TvSmithChart.h"

#include "config/ConfigStore.h"
#include "measure/Globals.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/Parse.h"
#include "platform/QtColor.h"
#include "smith/TSmithChart.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The characteristic impedances the formulas and scales hold, in whole ohms.
constexpr int kMinZ0 = 1;
constexpr int kMaxZ0 = 10000;

// The chart's paint box: it shows the composed picture and tells the frame of a new size.
class TSmithPaintBox : public QWidget
{
public:
    TSmithPaintBox(TvSmithChart *AFrame, QWidget *Parent)
        : QWidget(Parent)
        , Frame(AFrame)
    {
        setCursor(Qt::CrossCursor);
        QPalette Palette = palette();
        Palette.setColor(QPalette::Window, ToQColor(ButtonFaceColor()));
        setPalette(Palette);
        // The picture covers the box: filling the background first would paint every pixel
        // twice on each frame of a sweep.
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *Event) override
    {
        GuardSilently([this] { Frame->pbSmithPaint(); });
        QPainter Painter(this);
        const TSmithChart *Chart = Frame->Chart();
        const QRect Picture = Chart ? Chart->Buffer().rect() : QRect();
        // Before the chart exists, or beyond a picture not yet of the box's size.
        const QRegion Rest = Event->region().subtracted(Picture);
        for (const QRect &Area : Rest)
            Painter.fillRect(Area, palette().color(QPalette::Window));
        if (Chart)
            Painter.drawImage(0, 0, Chart->Buffer());
    }
    void resizeEvent(QResizeEvent *) override
    {
        GuardSilently([this] { Frame->FrameResize(); });
    }

private:
    TvSmithChart *Frame;
};

} // namespace

TvSmithChart::TvSmithChart(QWidget *Parent)
    : QFrame(Parent)
{
    setObjectName(QStringLiteral("vSmithChart"));
    resize(443, 270);
    QPalette Palette = palette();
    Palette.setColor(QPalette::Window, Qt::white);
    setPalette(Palette);
    setAutoFillBackground(true);

    pbSmith = new TSmithPaintBox(this, this);
    pbSmith->setObjectName(QStringLiteral("pbSmith"));

    pnBottom = new QFrame(this);
    pnBottom->setObjectName(QStringLiteral("pnBottom"));
    pnBottom->setFrameShape(QFrame::NoFrame);
    pnBottom->setFixedHeight(50);

    GroupBox2 = new QGroupBox(QStringLiteral("Impedance [ohm]"), pnBottom);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(9, 0, 328, 47);

    Label1 = new QLabel(QStringLiteral("Characteristic impedance (50 - 600 ohm)"), GroupBox2);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(9, 18);

    edImp = new QLineEdit(QStringLiteral("50"), GroupBox2);
    edImp->setObjectName(QStringLiteral("edImp"));
    edImp->setGeometry(215, 15, 32, edImp->sizeHint().height());

    btnAply = new QToolButton(GroupBox2);
    btnAply->setObjectName(QStringLiteral("btnAply"));
    btnAply->setText(QStringLiteral("Apply"));
    btnAply->setGeometry(251, 16, 39, 18);
    connect(btnAply, &QToolButton::clicked, this, [this] { btnAplyClick(); });
    connect(edImp, &QLineEdit::returnPressed, this, [this] { btnAplyClick(); });

    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    Layout->addWidget(pbSmith, 1);
    Layout->addWidget(pnBottom);
}

TvSmithChart::~TvSmithChart()
{
    // The chart draws on the paint box, a child that goes with the frame: the chart first.
    FChart.reset();
}

void TvSmithChart::InitChart()
{
    // A frame not shown yet has not laid out its paint box.
    layout()->activate();
    FChart = std::make_unique<TSmithChart>(173, 180, 160, pbSmith);
    FChart->GraphBackColor = FBackColor;
    FChart->Resize(pbSmith->width(), pbSmith->height());
    edImp->setText(QString::number(ChImp));
}

void TvSmithChart::pbSmithPaint()
{
    if (FChart)
        FChart->Compose(true);
}

void TvSmithChart::FrameResize()
{
    // The grid is the costliest picture of the window: a resize to the size it is drawn
    // for already (the first layout pass after InitChart) draws nothing again.
    if (FChart && FChart->Size() != pbSmith->size())
        FChart->Resize(pbSmith->width(), pbSmith->height());
}

void TvSmithChart::ClearChart()
{
    if (!FChart)
        return;
    FChart->ClearPoints();
    FChart->DrawPoints();
}

void TvSmithChart::AddMeasuredPoint(int FreqKHz, int R, int X)
{
    if (FChart)
        FChart->AddLivePoint(FreqKHz, R, X, ChImp);
}

void TvSmithChart::DrawPending()
{
    if (FChart)
        FChart->DrawPending();
}

void TvSmithChart::LoadLines(const QStringList &Lines, int Z0)
{
    if (FChart)
        FChart->ReplotLines(Lines, Z0);
}

void TvSmithChart::ShowFrequency(int FreqKHz)
{
    if (FChart)
        FChart->ShowCursor(FreqKHz);
}

void TvSmithChart::RedrawGrid()
{
    if (!FChart)
        return;
    FChart->FillBackground();
    FChart->DrawGrid();
    FChart->Compose();
}

void TvSmithChart::SetBackColor(TColor Color)
{
    FBackColor = Color;
    if (!FChart)
        return;
    FChart->GraphBackColor = Color;
    RedrawGrid();
}

void TvSmithChart::SetReferenceLines(const std::vector<QStringList> &References)
{
    if (!FChart)
        return;
    FChart->SetReferenceLines(References);
    RedrawGrid();
}

void TvSmithChart::Replot()
{
    if (!FChart)
        return;
    FChart->SaveLines();
    FChart->FillBackground();
    FChart->ClearPoints();
    FChart->ClearPointLayer();
    FChart->ClearLabelLayer();
    FChart->Compose();
    FChart->ReplotStored();
    FChart->DrawGrid();
    FChart->Compose();
}

void TvSmithChart::btnAplyClick()
{
    int Z0 = 0;
    const std::string Text = edImp->text().trimmed().toStdString();
    if (!TryStrToInt(Text, Z0) || Z0 < kMinZ0 || Z0 > kMaxZ0) {
        // The field goes back to the value in use, so what it shows is what the curves use.
        edImp->setText(QString::number(ChImp));
        Dialogs().ShowErrorBox("The characteristic impedance must be a whole number of ohms "
                               "from 1 to 10000.",
            "Characteristic impedance");
        return;
    }
    ChImp = Z0;
    edImp->setText(QString::number(Z0));
    // A refused write is said; the new impedance is in use all the same.
    GuardHandler([Z0] { WriteConfigValue(ciChImp, QString::number(Z0)); });
    // A failing redraw of the graph leaves what it drew; the chart has its new impedance.
    GuardSilently([this] {
        if (OnApply)
            OnApply();
    });
}
