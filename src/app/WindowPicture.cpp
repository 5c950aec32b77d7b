#include "app/WindowPicture.h"

#include "app/TfrmMain.h"
#include "graph/TAnGraph.h"
#include "graph/TOsaX.h"
#include "graph/TvGraph.h"
#include "measure/Globals.h"
#include "measure/TMereni.h"
#include "platform/Format.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kCaptionMargin = 4;

// The graph column's readout area: the header and the rows below the graph. The Smith
// chart frame has a panel of the same name, so only the graph column is searched.
QWidget *ReadoutArea(const TfrmMain &Window)
{
    auto *column = Window.findChild<QWidget *>(QStringLiteral("pnGraph"));
    return column == nullptr
        ? nullptr
        : column->findChild<QWidget *>(QStringLiteral("pnBottom"), Qt::FindDirectChildrenOnly);
}

QWidget *ShownSmithColumn(const TfrmMain &Window)
{
    auto *column = Window.findChild<QWidget *>(QStringLiteral("pnSmihBase"));
    return column != nullptr && column->isVisible() ? column : nullptr;
}

QString Text(const std::string &Utf8) { return QString::fromStdString(Utf8); }

} // namespace

QString PictureCaption(const TfrmMain &Window, const QString &Date)
{
    const TAnGraph &model = Window.Model();
    const QString range = Text(FormatFloat("0.000", model.OsaX->MinValue)) + QStringLiteral("–")
        + Text(FormatFloat("0.000", model.OsaX->MaxValue)) + QStringLiteral(" MHz");
    return QStringLiteral("KIVRA   ") + range
        + QStringLiteral("   Z0 = %1 ohm   %2 points   %3")
              .arg(ChImp)
              .arg(Window.Mereni().Frequencies.Count())
              .arg(Date);
}

QImage WindowPicture(const TfrmMain &Window, int Scale, const QString &Date)
{
    QWidget *smith = ShownSmithColumn(Window);
    QWidget *graph = Window.GraphFrame();
    QWidget *readout = ReadoutArea(Window);
    const QFontMetrics metrics(Window.font());
    const int captionHeight = metrics.height() + 2 * kCaptionMargin;
    const int smithWidth = smith != nullptr ? smith->width() : 0;
    const int graphHeight = graph != nullptr ? graph->height() : 0;
    const int readoutHeight = readout != nullptr && readout->isVisible() ? readout->height() : 0;
    const int width = smithWidth + (graph != nullptr ? graph->width() : 0);
    const int bodyHeight
        = std::max(smith != nullptr ? smith->height() : 0, graphHeight + readoutHeight);

    QImage picture(
        QSize(std::max(width, 1), captionHeight + bodyHeight) * Scale, QImage::Format_RGB32);
    picture.setDevicePixelRatio(Scale);
    picture.fill(Window.palette().color(QPalette::Window));
    QPainter painter(&picture);
    painter.setFont(Window.font());
    painter.setPen(Window.palette().color(QPalette::WindowText));
    painter.drawText(QRect(kCaptionMargin, 0, width - 2 * kCaptionMargin, captionHeight),
        Qt::AlignVCenter | Qt::AlignLeft, PictureCaption(Window, Date));
    const QWidget::RenderFlags flags = QWidget::DrawWindowBackground | QWidget::DrawChildren;
    if (smith != nullptr)
        smith->render(&painter, QPoint(0, captionHeight), QRegion(), flags);
    if (graph != nullptr)
        graph->render(&painter, QPoint(smithWidth, captionHeight), QRegion(), flags);
    if (readoutHeight > 0)
        readout->render(
            &painter, QPoint(smithWidth, captionHeight + graphHeight), QRegion(), flags);
    return picture;
}
