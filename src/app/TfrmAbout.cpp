#include "app/TfrmAbout.h"

#include "KivraVersion.h"
#include "app/AboutPicture.h"
#include "app/JpegImage.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int kClientWidth = 368;
constexpr int kClientHeight = 268;

QLabel *MakeLabel(QWidget *Parent, const QString &Text, const QRect &Place, const QColor &Color)
{
    auto *label = new QLabel(Text, Parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Color);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    label->setGeometry(Place);
    return label;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget *Parent)
    : QDialog(Parent)
{
    Build(DecodeJpeg(AboutPictureJpeg, AboutPictureJpegSize));
}

TfrmAbout::TfrmAbout(const QByteArray &Jpeg, QWidget *Parent)
    : QDialog(Parent)
{
    Build(DecodeJpeg(reinterpret_cast<const unsigned char *>(Jpeg.constData()),
        static_cast<std::size_t>(Jpeg.size())));
}

void TfrmAbout::Build(const QImage &Picture)
{
    setWindowTitle(QStringLiteral("Analyzer about"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    Image3 = new QLabel(this);
    Image3->setGeometry(0, 0, 370, 269);
    Image3->setScaledContents(true);
    if (!Picture.isNull())
        Image3->setPixmap(QPixmap::fromImage(Picture));

    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setBold(true);
    titleFont.setPixelSize(16);
    const QString title = QStringLiteral("KIVRA antenne analyzer 1 - 30 MHz");
    const QFontMetrics titleMetrics(titleFont);
    // The place was laid out for one face; a wider substitute grows the label about its
    // centre rather than cutting the title.
    QRect titlePlace(53, 92, 270, titleMetrics.height());
    const int titleWidth = std::min(kClientWidth, titleMetrics.horizontalAdvance(title) + 4);
    if (titleWidth > titlePlace.width())
        titlePlace.adjust(-(titleWidth - titlePlace.width() + 1) / 2, 0,
            (titleWidth - titlePlace.width()) / 2, 0);
    Label2 = MakeLabel(this, title, titlePlace, Qt::black);
    Label2->setFont(titleFont);
    Label6 = MakeLabel(this, QStringLiteral("Version " KIVRA_VERSION),
        QRect(56, 148, 250, fontMetrics().height()), QColor(0x80, 0x00, 0x00));

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));
}

bool TfrmAbout::FormKeyDown(int Key, Qt::KeyboardModifiers Modifiers)
{
    const bool ctrlOnly = (Modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier;
    const bool enter = Key == Qt::Key_Return || Key == Qt::Key_Enter;
    if (Key == Qt::Key_Escape || enter) {
        if (enter == ctrlOnly)
            done(QDialog::Accepted);
        return true;
    }
    return false;
}

// The dialog's own Esc (reject) and Enter (default button) must not run: the form decides.
void TfrmAbout::keyPressEvent(QKeyEvent *Event)
{
    if (FormKeyDown(Event->key(), Event->modifiers()))
        Event->accept();
    else
        QWidget::keyPressEvent(Event);
}

void ShowAbout()
{
    TfrmAbout form;
    form.exec();
}
