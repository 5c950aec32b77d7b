#include "app/TResonancePanel.h"

#include "app/WidgetHelpers.h"
#include "platform/Guard.h"
#include "platform/Parse.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QStringList kHeader { QStringLiteral("Frequency (MHz)"), QStringLiteral("SWR"),
    QStringLiteral("R (Ω)"), QStringLiteral("X (Ω)"), QStringLiteral("From (MHz)"),
    QStringLiteral("To (MHz)"), QStringLiteral("Bandwidth (kHz)"), QStringLiteral("Q") };

// A threshold of 1 or less would hold no point; one this high holds the whole sweep.
constexpr double kMinThreshold = 1.0;
constexpr double kMaxThreshold = 100.0;

QString Number(double Value, int Decimals) { return QString::number(Value, 'f', Decimals); }

// The cells of one row; empty where the value is not known.
QStringList Cells(const TResonance &D)
{
    return { Number(D.FrequencyMHz, 3), Number(D.SWR, 2), Number(D.R, 1), Number(D.X, 1),
        D.HasLower ? Number(D.LowerMHz, 3) : QString(),
        D.HasUpper ? Number(D.UpperMHz, 3) : QString(),
        D.HasBandwidth ? Number(D.BandwidthKHz, 0) : QString(),
        D.QValid ? Number(D.Q, 1) : QString() };
}

} // namespace

TResonancePanel::TResonancePanel(QWidget *Parent)
    : QDockWidget(QStringLiteral("Resonances"), Parent)
{
    setObjectName(QStringLiteral("pnResonances"));
    auto *Body = new QWidget(this);
    auto *Column = new QVBoxLayout(Body);
    auto *Top = new QHBoxLayout;
    auto *Caption = new QLabel(QStringLiteral("SWR below"), Body);
    edThreshold = Named(new QLineEdit(QStringLiteral("2.0"), Body), "edThreshold");
    edThreshold->setMaximumWidth(60);
    Caption->setBuddy(edThreshold);
    btnCopyResonances
        = Named(new QPushButton(QStringLiteral("Copy table"), Body), "btnCopyResonances");
    Top->addWidget(Caption);
    Top->addWidget(edThreshold);
    Top->addStretch(1);
    Top->addWidget(btnCopyResonances);
    Column->addLayout(Top);
    tbResonances
        = Named(new QTableWidget(0, static_cast<int>(kHeader.size()), Body), "tbResonances");
    tbResonances->setHorizontalHeaderLabels(kHeader);
    tbResonances->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbResonances->setSelectionBehavior(QAbstractItemView::SelectRows);
    tbResonances->setSelectionMode(QAbstractItemView::SingleSelection);
    tbResonances->verticalHeader()->hide();
    tbResonances->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lbNoResonance = Named(new QLabel(Body), "lbNoResonance");
    Column->addWidget(tbResonances, 1);
    Column->addWidget(lbNoResonance);
    setWidget(Body);
    resize(640, 220);

    QObject::connect(edThreshold, &QLineEdit::editingFinished, this,
        [this] { GuardHandler([this] { ReadThreshold(); }); });
    QObject::connect(btnCopyResonances, &QPushButton::clicked, this,
        [this] { QGuiApplication::clipboard()->setText(TableText()); });
    QObject::connect(tbResonances, &QTableWidget::currentCellChanged, this, [this](int Row) {
        if (Row >= 0 && Row < static_cast<int>(FFound.size()) && OnSelect)
            GuardHandler([this, Row] { OnSelect(FFound[static_cast<std::size_t>(Row)].Point); });
    });
    Fill();
}

void TResonancePanel::SetSweep(std::vector<double> FrequenciesMHz, std::vector<double> SWR,
    std::vector<double> R, std::vector<double> X)
{
    FFrequencies = std::move(FrequenciesMHz);
    FSWR = std::move(SWR);
    FR = std::move(R);
    FX = std::move(X);
    Fill();
}

void TResonancePanel::ReadThreshold()
{
    double Value = 0.0;
    if (TryStrToFloat(edThreshold->text().trimmed().toStdString(), Value) && Value > kMinThreshold
        && Value <= kMaxThreshold)
        FThreshold = Value;
    // What cannot be a threshold shows the one in use again.
    edThreshold->setText(Number(FThreshold, 1));
    Fill();
}

void TResonancePanel::Fill()
{
    FFound = FindResonances(FFrequencies, FSWR, FR, FX, FThreshold);
    // Refilling after a sweep is no choice of the user's: the cursor stays where it is.
    const QSignalBlocker Quiet(tbResonances);
    tbResonances->clearContents();
    tbResonances->setRowCount(static_cast<int>(FFound.size()));
    for (int Row = 0; Row < static_cast<int>(FFound.size()); ++Row) {
        const QStringList Texts = Cells(FFound[static_cast<std::size_t>(Row)]);
        for (int Col = 0; Col < Texts.size(); ++Col) {
            auto *Item = new QTableWidgetItem(Texts[Col]);
            Item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tbResonances->setItem(Row, Col, Item);
        }
    }
    lbNoResonance->setText(FFrequencies.empty()
            ? QStringLiteral("No sweep to search")
            : QStringLiteral("No SWR minimum below %1 in this sweep").arg(Number(FThreshold, 1)));
    lbNoResonance->setVisible(FFound.empty());
    btnCopyResonances->setEnabled(!FFound.empty());
}

QString TResonancePanel::TableText() const
{
    QString Text = kHeader.join(u'\t') + u'\n';
    for (const TResonance &D : FFound)
        Text += Cells(D).join(u'\t') + u'\n';
    return Text;
}
