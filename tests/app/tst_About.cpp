#include "app/AboutPicture.h"
#include "app/JpegImage.h"
#include "app/TfrmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <vector>

namespace {

QByteArray Embedded()
{
    return QByteArray(reinterpret_cast<const char *>(AboutPictureJpeg),
        static_cast<qsizetype>(AboutPictureJpegSize));
}

// The embedded picture with its frame header claiming Width x Height.
QByteArray WithSize(int Width, int Height)
{
    QByteArray b = Embedded();
    const qsizetype sof = b.indexOf(QByteArray("\xff\xc0", 2));
    b[sof + 5] = char(Height >> 8);
    b[sof + 6] = char(Height & 0xff);
    b[sof + 7] = char(Width >> 8);
    b[sof + 8] = char(Width & 0xff);
    return b;
}

QImage Decode(const QByteArray &B)
{
    return DecodeJpeg(reinterpret_cast<const unsigned char *>(B.constData()), size_t(B.size()));
}

} // namespace

class TAboutTest : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void window();
    void corruptPictureLeavesItOut();
    void keys_data();
    void keys();
    void showAboutMakesANewWindowEachTime();
};

void TAboutTest::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");
    const QByteArray good = Embedded();
    QTest::newRow("embedded") << good << QSize(368, 268);
    QTest::newRow("empty") << QByteArray() << QSize();
    QTest::newRow("not a picture") << QByteArray("GIF89a not at all") << QSize();
    QTest::newRow("cut in half") << good.left(good.size() / 2) << QSize();
    QTest::newRow("forged huge frame") << WithSize(60000, 60000) << QSize();
    QByteArray scrambled = good;
    for (qsizetype i = good.size() / 3; i < good.size() - 2; i += 7)
        scrambled[i] = char(0xff);
    QTest::newRow("scrambled data") << scrambled << QSize();
}

void TAboutTest::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    const QImage image = Decode(bytes);
    QCOMPARE(image.size(), size.isValid() ? size : QSize(0, 0));
    QCOMPARE(image.isNull(), !size.isValid());
}

void TAboutTest::window()
{
    TfrmAbout form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Analyzer about"));
    QCOMPARE(form.size(), QSize(368, 268));
    QVERIFY(form.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(form.Image3->geometry(), QRect(0, 0, 370, 269));
    QCOMPARE(form.Label2->text(), QStringLiteral("KIVRA antenne analyzer 1 - 30 MHz"));
    // 270 wide at (53, 92), or wider about the same centre when the face is wider than the
    // one the layout was made for: the title is never cut.
    QCOMPARE(form.Label2->y(), 92);
    QCOMPARE(form.Label2->geometry().center().x(), QRect(53, 92, 270, 1).center().x());
    QVERIFY(form.Label2->width() >= 270);
    QVERIFY(
        form.Label2->width() >= form.Label2->fontMetrics().horizontalAdvance(form.Label2->text()));
    QVERIFY(form.Label2->font().bold());
    QCOMPARE(form.Label2->font().pixelSize(), 16);
    // The project's version, with the checkout's commit count and hash when built from one.
    QVERIFY2(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+(\\+git\\d+\\.[0-9a-f]{4,})?$"))
                 .match(form.Label6->text())
                 .hasMatch(),
        qPrintable(form.Label6->text()));
    QCOMPARE(form.Label6->geometry().topLeft(), QPoint(56, 148));
    QCOMPARE(form.Label6->palette().color(QPalette::WindowText), QColor(128, 0, 0));

    // The picture covers the window; the labels stand on white over it.
    const QImage shot = form.grab().toImage();
    QCOMPARE(QColor(shot.pixel(10, 10)).blue() > QColor(shot.pixel(10, 10)).red(), true);
    QCOMPARE(QColor(shot.pixel(54, 93)), QColor(Qt::white));
    QCOMPARE(QColor(shot.pixel(57, 149)), QColor(Qt::white));
    QVERIFY(QColor(shot.pixel(184, 100)) != QColor(shot.pixel(10, 10)));
}

void TAboutTest::corruptPictureLeavesItOut()
{
    const QByteArray good = Embedded();
    for (const QByteArray &bad : { QByteArray("junk"), good.left(good.size() / 2) }) {
        TfrmAbout form(bad);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.Image3->pixmap().isNull());
        QVERIFY(form.Label2->isVisible());
        QVERIFY(form.Label6->isVisible());
        const QImage shot = form.grab().toImage();
        QCOMPARE(QColor(shot.pixel(10, 10)), form.palette().color(QPalette::Window));
    }
}

void TAboutTest::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("closes");
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    const int keypad = Qt::KeypadModifier;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << true;
    QTest::newRow("Ctrl+Esc") << int(Qt::Key_Escape) << ctrl << false;
    QTest::newRow("Shift+Esc") << int(Qt::Key_Escape) << shift << true;
    QTest::newRow("Ctrl+Shift+Esc") << int(Qt::Key_Escape) << (ctrl | shift) << true;
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << ctrl << true;
    QTest::newRow("Ctrl+keypad Enter") << int(Qt::Key_Enter) << (ctrl | keypad) << true;
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << false;
    QTest::newRow("Ctrl+Shift+Enter") << int(Qt::Key_Return) << (ctrl | shift) << false;
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << false;
}

void TAboutTest::keys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, closes);
    TfrmAbout form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy finished(&form, &QDialog::finished);
    QTest::keyClick(&form, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(finished.size(), closes ? 1 : 0);
    QCOMPARE(form.isVisible(), !closes);
    if (closes)
        QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
}

void TAboutTest::showAboutMakesANewWindowEachTime()
{
    std::vector<QPointer<QWidget>> seen;
    for (int i = 0; i < 2; ++i) {
        // Answers the modal window as soon as it is up; closes it anyway if Esc did not.
        QTimer answer;
        answer.setInterval(10);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!dynamic_cast<TfrmAbout *>(modal))
                return;
            if (seen.size() == size_t(i)) {
                seen.emplace_back(modal);
                QTest::keyClick(modal, Qt::Key_Escape);
            } else {
                dynamic_cast<TfrmAbout *>(modal)->reject();
            }
        });
        answer.start();
        ShowAbout();
        QCOMPARE(seen.size(), size_t(i + 1));
        QVERIFY2(seen.back().isNull(), "the window is freed when it closes");
    }
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!dynamic_cast<TfrmAbout *>(w));
}

QTEST_MAIN(TAboutTest)
#include "tst_About.moc"
