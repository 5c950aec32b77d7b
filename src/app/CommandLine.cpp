#include "app/CommandLine.h"

#include "app/FileCommands.h"
#include "app/TfrmMain.h"
#include "app/WindowPicture.h"
#include "app/WindowProbe.h"
#include "config/ConfigStore.h"
#include "graph/TOsaY.h"
#include "measure/FileLines.h"
#include "measure/Globals.h"
#include "measure/MeasurementFile.h"
#include "measure/TMereni.h"
#include "measure/Touchstone.h"
#include "platform/Errors.h"
#include "platform/Parse.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QCommandLineParser>

#include <cstring>
#include <strings.h>

namespace {

constexpr int kBadInput = 1;
constexpr int kBadUse = 2;
constexpr int kMinZ0 = 1;
constexpr int kMaxZ0 = 10000;

const QStringList kFormats { QStringLiteral("txt"), QStringLiteral("s11"), QStringLiteral("zplots"),
    QStringLiteral("touchstone"), QStringLiteral("png") };

int ConfiguredZ0()
{
    int z0 = 50;
    if (TryStrToInt(ReadConfigValue(ciChImp).toStdString(), z0) && z0 >= kMinZ0 && z0 <= kMaxZ0)
        return z0;
    return 50;
}

QByteArray Bytes(const std::string &Text)
{
    return QByteArray(Text.data(), static_cast<qsizetype>(Text.size()));
}

// The window at its default size, off screen, with the file loaded as "Open" loads it.
QByteArray Picture(const TCommandLine &Request)
{
    TfrmMain window;
    window.show();
    QCoreApplication::processEvents();
    ChImp = Request.Z0;
    Child<QCheckBox>(window, "chkVyhlazovat")->setChecked(Request.Smooth);
    SmoothCurves = Request.Smooth;
    window.OpenFile(Request.In);
    QCoreApplication::processEvents();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WindowPicture(window, PictureScale(Request.Out), FileDate()).save(&buffer, "PNG");
    return bytes;
}

} // namespace

TStartKind StartKindOf(int Argc, char **Argv)
{
    for (int i = 1; i < Argc; ++i) {
        const char *arg = Argv[i];
        if (std::strcmp(arg, "--export") == 0)
            return i + 1 < Argc && strcasecmp(Argv[i + 1], "png") == 0 ? TStartKind::Picture
                                                                       : TStartKind::Console;
        if (std::strncmp(arg, "--export=", 9) == 0)
            return strcasecmp(arg + 9, "png") == 0 ? TStartKind::Picture : TStartKind::Console;
        for (const char *quiet : { "-h", "--help", "--help-all", "-v", "--version" })
            if (std::strcmp(arg, quiet) == 0)
                return TStartKind::Console;
    }
    return TStartKind::Window;
}

void SetUpParser(QCommandLineParser &Parser)
{
    Parser.setApplicationDescription(
        QStringLiteral("Antenna analyzer for 1 to 30 MHz: sweeps, curves, Smith chart, files."));
    Parser.addHelpOption();
    Parser.addVersionOption();
    Parser.addOption({ QStringLiteral("export"),
        QStringLiteral("Convert the measurement file IN (.TXT or .s1p) to OUT without a window. "
                       "FORMAT: txt, s11, zplots, touchstone or png."),
        QStringLiteral("FORMAT") });
    Parser.addOption({ QStringLiteral("z0"),
        QStringLiteral("Characteristic impedance in whole ohms (1 to 10000) for --export; "
                       "the configured one by default."),
        QStringLiteral("N") });
    Parser.addOption({ QStringLiteral("smooth"),
        QStringLiteral("Smoothed curves in a --export png picture (default on)."),
        QStringLiteral("on|off") });
    Parser.addPositionalArgument(QStringLiteral("FILE"),
        QStringLiteral("Measurement file to open (.TXT or .s1p); with --export: IN OUT."),
        QStringLiteral("[FILE | IN OUT]"));
}

bool ReadCommandLine(const QCommandLineParser &Parser, TCommandLine &Request, std::string &Error)
{
    const QStringList args = Parser.positionalArguments();
    Request.Export = Parser.isSet(QStringLiteral("export"));
    if (!Request.Export) {
        if (Parser.isSet(QStringLiteral("z0")) || Parser.isSet(QStringLiteral("smooth"))) {
            Error = "--z0 and --smooth go with --export";
            return false;
        }
        if (args.size() > 1) {
            Error = "one file at most can be opened";
            return false;
        }
        Request.OpenFile = args.value(0);
        return true;
    }
    Request.Format = Parser.value(QStringLiteral("export")).toLower();
    if (!kFormats.contains(Request.Format)) {
        Error = "unknown format \"" + Parser.value(QStringLiteral("export")).toStdString()
            + "\": txt, s11, zplots, touchstone or png";
        return false;
    }
    if (args.size() != 2) {
        Error = "--export needs the files IN and OUT";
        return false;
    }
    Request.In = args[0];
    Request.Out = args[1];
    Request.Z0 = ConfiguredZ0();
    if (Parser.isSet(QStringLiteral("z0"))) {
        int z0 = 0;
        if (!TryStrToInt(Parser.value(QStringLiteral("z0")).toStdString(), z0) || z0 < kMinZ0
            || z0 > kMaxZ0) {
            Error = "--z0 takes whole ohms from 1 to 10000";
            return false;
        }
        Request.Z0 = z0;
    }
    if (Parser.isSet(QStringLiteral("smooth"))) {
        const QString smooth = Parser.value(QStringLiteral("smooth")).toLower();
        if (smooth != QStringLiteral("on") && smooth != QStringLiteral("off")) {
            Error = "--smooth takes on or off";
            return false;
        }
        Request.Smooth = smooth == QStringLiteral("on");
    }
    return true;
}

int RunExport(const TCommandLine &Request, std::string &Message)
{
    try {
        QStringList lines;
        if (!ReadMeasurementFile(Request.In, Request.Z0, lines, Message))
            return kBadInput;
        if (lines.isEmpty()) {
            Message = "File " + Request.In.toStdString() + " holds no lines";
            return kBadInput;
        }
        const std::string out = Request.Out.toStdString();
        const qsizetype count = lines.size();
        QByteArray bytes;
        std::string done;
        int rows = 0;
        if (Request.Format == QStringLiteral("txt")) {
            for (const QString &line : lines)
                bytes += line.toLatin1() + "\r\n";
            done = std::to_string(count) + " rows saved to " + out;
        } else if (Request.Format == QStringLiteral("s11")
            || Request.Format == QStringLiteral("zplots")) {
            const bool s11 = Request.Format == QStringLiteral("s11");
            bytes = Bytes(GammaFile(Latin1Lines(lines), s11 ? ' ' : ',', Request.Z0, rows));
            done = (s11 ? "S11 " : "CSV ") + std::to_string(count) + " rows saved to " + out;
        } else if (Request.Format == QStringLiteral("touchstone")) {
            ChImp = Request.Z0;
            bytes = Bytes(TouchstoneFile(
                Latin1Lines(lines), TMereni::TouchstoneHeader(FileDate().toStdString()), rows));
            done = "Touchstone " + std::to_string(rows) + " points saved to " + out;
        } else {
            if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr) {
                Message = "a picture needs the widgets, which this start did not set up";
                return kBadUse;
            }
            bytes = Picture(Request);
            rows = 1;
            done = "Picture saved to " + out;
        }
        if (Request.Format != QStringLiteral("txt") && rows == 0) {
            Message = "not one of the " + std::to_string(count) + " lines of "
                + Request.In.toStdString() + " holds a point that can be evaluated; " + out
                + " was not written";
            return kBadInput;
        }
        WriteWholeFile(Request.Out, bytes);
        Message = done;
        return 0;
    } catch (const std::exception &e) {
        Message = e.what();
        return kBadInput;
    }
}
