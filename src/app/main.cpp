#include "KivraVersion.h"
#include "app/CommandLine.h"
#include "app/FileCommands.h"
#include "app/TfrmMain.h"
#include "platform/Guard.h"
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

constexpr int kBadUse = 2;

// Without a window only the program's own lines reach the terminal, not the toolkit's notes
// about the off-screen platform.
void QuietMessages(QtMsgType Type, const QMessageLogContext &, const QString &Text)
{
    if (Type == QtCriticalMsg || Type == QtFatalMsg)
        std::fputs((Text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

void PrintLine(std::FILE *Stream, const std::string &Text)
{
    std::fputs((Text + "\n").c_str(), Stream);
}

} // namespace

int main(int argc, char *argv[])
{
    // Help, version and conversions run where there may be no display at all.
    const TStartKind kind = StartKindOf(argc, argv);
    if (kind != TStartKind::Window) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietMessages);
    }
    std::unique_ptr<QCoreApplication> app;
    if (kind == TStartKind::Console)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Antenne analyzer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KIVRA_VERSION));

    QCommandLineParser parser;
    SetUpParser(parser);
    parser.process(*app);
    TCommandLine request;
    std::string message;
    if (!ReadCommandLine(parser, request, message)) {
        PrintLine(stderr, "kivra: " + message);
        return kBadUse;
    }
    if (request.Export) {
        const int status = RunExport(request, message);
        PrintLine(status == 0 ? stdout : stderr, status == 0 ? message : "kivra: " + message);
        return status;
    }

    // Wayland compositors find the window's icon and entry through this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kivra.Kivra"));
    TQtDialogs dialogs;
    TDialogsScope dialogsScope(dialogs);

    TfrmMain window;
    dialogs.SetParent(&window);
    window.show();
    // The file is opened once the window is up, as "Open" would open it.
    if (!request.OpenFile.isEmpty())
        QTimer::singleShot(0, &window, [&window, &request] { window.OpenFile(request.OpenFile); });
    return QCoreApplication::exec();
}
