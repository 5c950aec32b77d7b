#include "app/CommandLine.h"
#include "app/FileCommands.h"
#include "app/TfrmMain.h"
#include "app/WindowPicture.h"
#include "app/WindowProbe.h"
#include "graph/TvGraph.h"
#include "measure/Globals.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The command line: conversions give the bytes the menu commands give, and the program
// itself converts without a display and refuses bad input with a non-zero exit.
class TCommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void exportMatchesMenu_data();
    void exportMatchesMenu();
    void picture();
    void program_data();
    void program();

private:
    QString Write(const QString &Name, const QByteArray &Bytes);
    std::unique_ptr<TScriptedDialogs> Dialogs;
    std::unique_ptr<TDialogsScope> Scope;
    QTemporaryDir Dir;
};

namespace {

QByteArray ReadAll(const QString &Path)
{
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const QByteArray kSweep("7000 40 -30\r\n7100 50 0\r\n7200 60 30\r\n");

} // namespace

QString TCommandLineTest::Write(const QString &Name, const QByteArray &Bytes)
{
    const QString path = Dir.filePath(Name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(Bytes);
    return path;
}

void TCommandLineTest::initTestCase()
{
    FileClock() = [] { return QDateTime(QDate(2026, 1, 2), QTime(3, 4)); };
}

void TCommandLineTest::init()
{
    QFile::remove(QString::fromStdString(KivraIniPath()));
    ChImp = 50;
    Dialogs = std::make_unique<TScriptedDialogs>();
    Scope = std::make_unique<TDialogsScope>(*Dialogs);
}

void TCommandLineTest::cleanup()
{
    Scope.reset();
    Dialogs.reset();
}

void TCommandLineTest::exportMatchesMenu_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("source");
    QTest::newRow("txt") << "txt"
                         << "MenSave"
                         << "sweep.TXT";
    QTest::newRow("s11") << "s11"
                         << "mnSaveS11"
                         << "sweep.TXT";
    QTest::newRow("zplots") << "zplots"
                            << "mnSaveToZPlots"
                            << "sweep.TXT";
    QTest::newRow("touchstone") << "touchstone"
                                << "mnSaveTouchstone"
                                << "sweep.TXT";
    QTest::newRow("png") << "png"
                         << "mnSavePicture"
                         << "sweep.TXT";
    QTest::newRow("s11 of a Touchstone file") << "s11"
                                              << "mnSaveS11"
                                              << "sweep.s1p";
}

// The file opened and saved through the menu, and converted by --export: the same bytes.
void TCommandLineTest::exportMatchesMenu()
{
    QFETCH(QString, format);
    QFETCH(QString, menu);
    QFETCH(QString, source);
    const QString in = source.endsWith(QStringLiteral(".s1p"))
        ? Write(source, "# MHz S RI R 50\r\n7 -0.2 0.4\r\n7.1 0 0\r\n")
        : Write(source, kSweep);
    const QString byMenu
        = Dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral("-menu.out"));
    {
        TfrmMain window;
        window.show();
        Dialogs->QueueFileName(in.toStdString());
        Child<QAction>(window, "MenLoad")->trigger();
        QCoreApplication::processEvents();
        Dialogs->QueueFileName(byMenu.toStdString());
        QAction *item = menu == QStringLiteral("MenSave") ? Child<QAction>(window, "MenSave")
            : menu == QStringLiteral("mnSaveS11")         ? Child<QAction>(window, "mnSaveS11")
            : menu == QStringLiteral("mnSaveToZPlots")    ? Child<QAction>(window, "mnSaveToZPlots")
                                                          : window.findChild<QAction *>(menu);
        QVERIFY(item != nullptr);
        item->trigger();
    }
    TCommandLine request;
    request.Export = true;
    request.Format = format;
    request.In = in;
    request.Out
        = Dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral("-cli.out"));
    request.Z0 = 50;
    std::string message;
    QCOMPARE(RunExport(request, message), 0);
    QCOMPARE(QString::fromStdString(message),
        QString::fromStdString(Dialogs->Texts().back()).replace(byMenu, request.Out));
    const QByteArray bytes = ReadAll(request.Out);
    QVERIFY(bytes.size() > 10);
    QCOMPARE(bytes, ReadAll(byMenu));
}

// The picture: the window's graph and rows under a caption, twice the size for "@2x", the
// same image on the clipboard.
void TCommandLineTest::picture()
{
    TfrmMain window;
    window.show();
    Dialogs->QueueFileName(Write(QStringLiteral("p.TXT"), kSweep).toStdString());
    Child<QAction>(window, "MenLoad")->trigger();
    QCoreApplication::processEvents();
    const QImage one = WindowPicture(window, 1, FileDate());
    const auto *smith = window.findChild<QWidget *>(QStringLiteral("pnSmihBase"));
    QCOMPARE(one.width(), window.GraphFrame()->width() + (smith->isVisible() ? smith->width() : 0));
    QVERIFY(
        one.height() > window.GraphFrame()->height() + Child<QFrame>(window, "pnData")->height());
    QVERIFY(PictureCaption(window, FileDate()).contains(QStringLiteral("7.000–7.200 MHz")));
    QVERIFY(
        PictureCaption(window, FileDate()).endsWith(QStringLiteral("3 points   2026-01-02 03:04")));

    // The rows' region holds more than its background.
    const QRect rows(one.width() - window.GraphFrame()->width(),
        one.height() - Child<QFrame>(window, "pnData")->height(), window.GraphFrame()->width(),
        Child<QFrame>(window, "pnData")->height());
    const QImage region = one.copy(rows);
    int others = 0;
    for (int y = 0; y < region.height(); ++y)
        for (int x = 0; x < region.width(); ++x)
            others += region.pixel(x, y) != region.pixel(0, 0);
    QVERIFY2(others > 100, qPrintable(QString::number(others)));

    const QString big = Dir.filePath(QStringLiteral("big@2x"));
    Dialogs->QueueFileName(big.toStdString());
    window.findChild<QAction *>(QStringLiteral("mnSavePicture"))->trigger();
    QCOMPARE(Dialogs->Texts().back(), "Picture saved to " + big.toStdString() + ".png");
    QCOMPARE(QImage(big + QStringLiteral(".png")).size(), one.size() * 2);
    window.findChild<QAction *>(QStringLiteral("mnCopyPicture"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(one.format()), one);
}

void TCommandLineTest::program_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    const auto Row = [](const char *Tag, std::initializer_list<const char *> Args, int Status,
                         const char *Out) {
        QStringList args;
        for (const char *arg : Args)
            args << QString::fromUtf8(arg);
        QTest::newRow(Tag) << args << Status << QString::fromUtf8(Out);
    };
    Row("touchstone", { "--export", "touchstone", "sweep.TXT", "OUT" }, 0,
        "Touchstone 3 points saved to OUT");
    Row("png without a display", { "--export", "png", "sweep.TXT", "OUT" }, 0,
        "Picture saved to OUT");
    Row("format in capitals", { "--export", "PNG", "sweep.TXT", "OUT" }, 0, "Picture saved to OUT");
    Row("txt of a Touchstone file at Z0 75", { "--export", "txt", "--z0", "75", "own.s1p", "OUT" },
        0, "1 rows saved to OUT");
    Row("missing input", { "--export", "s11", "missing.TXT", "OUT" }, 1,
        "kivra: File missing.TXT not found!");
    Row("0-byte Touchstone", { "--export", "txt", "empty.s1p", "OUT" }, 1,
        "kivra: File empty.s1p is not a one-port Touchstone file: the file holds no data points");
    Row("two-port", { "--export", "txt", "two.s1p", "OUT" }, 1,
        "kivra: File two.s1p is not a one-port Touchstone file: line 1: two-port data; only "
        "one-port (.s1p) files can be opened");
    Row("NaN", { "--export", "touchstone", "nan.s1p", "OUT" }, 1,
        "kivra: File nan.s1p is not a one-port Touchstone file: line 1: does not parse: "
        "\"7 NaN 0\"");
    Row("nothing to evaluate", { "--export", "s11", "short.TXT", "OUT" }, 1,
        "kivra: not one of the 1 lines of short.TXT holds a point that can be evaluated; OUT "
        "was not written");
    Row("empty raw file", { "--export", "png", "empty.TXT", "OUT" }, 1,
        "kivra: File empty.TXT holds no lines");
    Row("unknown format", { "--export", "pdf", "sweep.TXT", "OUT" }, 2,
        "kivra: unknown format \"pdf\": txt, s11, zplots, touchstone or png");
    Row("Z0 of 0", { "--export", "s11", "--z0", "0", "sweep.TXT", "OUT" }, 2,
        "kivra: --z0 takes whole ohms from 1 to 10000");
    Row("smooth maybe", { "--export", "png", "--smooth", "maybe", "sweep.TXT", "OUT" }, 2,
        "kivra: --smooth takes on or off");
    Row("one file", { "--export", "s11", "sweep.TXT" }, 2,
        "kivra: --export needs the files IN and OUT");
    Row("version", { "--version" }, 0, "Antenne analyzer ");
}

// The program as a user runs it, with no display at all: one line on success, the reason and
// a non-zero exit otherwise, and never a partial or replaced output file.
void TCommandLineTest::program()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, output);
    Write(QStringLiteral("sweep.TXT"), kSweep);
    Write(QStringLiteral("own.s1p"), "014.00000 0.200000 0.400000\r\n");
    Write(QStringLiteral("empty.s1p"), "");
    Write(QStringLiteral("empty.TXT"), "");
    Write(QStringLiteral("two.s1p"), "7 0.1 0 0.9 0 0.9 0 0.1 0\n");
    Write(QStringLiteral("nan.s1p"), "7 NaN 0\n");
    Write(QStringLiteral("short.TXT"), "14000 -50 0\r\n");
    const QString out = Write(QStringLiteral("OUT"), "old");
    QProcess kivra;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        env.remove(QString::fromLatin1(name));
    kivra.setProcessEnvironment(env);
    kivra.setWorkingDirectory(Dir.path());
    kivra.start(QStringLiteral(KIVRA_EXE), args);
    QVERIFY(kivra.waitForFinished(60000));
    QCOMPARE(kivra.exitStatus(), QProcess::NormalExit);
    const QString stdOut = QString::fromUtf8(kivra.readAllStandardOutput());
    const QString stdErr = QString::fromUtf8(kivra.readAllStandardError());
    QCOMPARE(kivra.exitCode(), status);
    const QString shown = status == 0 ? stdOut : stdErr;
    QVERIFY2(shown.startsWith(output) && shown.endsWith(QLatin1Char('\n'))
            && shown.count(QLatin1Char('\n')) == 1,
        qPrintable(shown));
    QCOMPARE(ReadAll(out) == "old", status != 0 || !args.contains(QStringLiteral("OUT")));
}

QTEST_MAIN(TCommandLineTest)
#include "tst_CommandLine.moc"
