#include "graph/TAnGraph.h"
#include "graph/TOsaX.h"
#include "measure/FileLines.h"
#include "measure/Globals.h"
#include "measure/MeasurementFile.h"
#include "measure/ReplyLineQt.h"
#include "measure/TMereni.h"
#include "measure/TSmithLink.h"
#include "measure/Touchstone.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/FloatOps.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <optional>

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

std::string Utf8(const QString &Text) { return Text.toStdString(); }

QByteArray Bytes(const std::string &Text)
{
    return QByteArray(Text.data(), static_cast<qsizetype>(Text.size()));
}

// Writes a gamma-style file (S11, ZPlots, Touchstone) unless not one point could go in.
// The S11 and CSV messages count every line, as they always have; the Touchstone message
// counts the points written.
void WriteRows(const QString &FileName, const std::string &Content, int Rows, qsizetype Counted,
    const std::string &Kind, const char *Unit)
{
    const std::string counted = std::to_string(Counted);
    const std::string shown = Kind == "Touchstone " ? std::to_string(Rows) : counted;
    if (Rows == 0) {
        Dialogs().ShowMessage(Kind + "no " + Unit + " could be saved: not one of the " + counted
            + " lines holds a point that can be evaluated; " + Utf8(FileName) + " was not written");
        return;
    }
    WriteWholeFile(FileName, Bytes(Content));
    Dialogs().ShowMessage(Kind + shown + " " + Unit + "s saved to " + Utf8(FileName));
}

void WriteGammaFile(
    const QStringList &Lines, const QString &FileName, char Separator, const std::string &Kind)
{
    if (!MayWrite(FileName))
        return;
    int rows = 0;
    const std::string content = GammaFile(Latin1Lines(Lines), Separator, ChImp, rows);
    WriteRows(FileName, content, rows, Lines.size(), Kind, "row");
}

// Field 1 of a line as a frequency in MHz: the whole kHz, rounded, over 1000.
std::optional<double> LineFrequencyMHz(const QString &Line)
{
    double kHz = 0.0;
    if (!ReadLineField(Line, 1, kHz))
        return std::nullopt;
    try {
        return Round(kHz) / 1000.0;
    } catch (const EFloatError &) {
        return std::nullopt;
    }
}

} // namespace

bool MayWrite(const QString &FileName)
{
    if (!QFileInfo(FileName).isFile())
        return true;
    const std::string question = "File " + Utf8(FileName) + " is exists!\n\rOverride?";
    return Dialogs().AskYesNo(question, "Warning") == TDialogs::TAnswer::Yes;
}

void WriteWholeFile(const QString &FileName, const QByteArray &Bytes)
{
    QSaveFile file(FileName);
    bool ok = file.open(QIODevice::WriteOnly);
    // A short write on a full disk leaves Qt's own error unset ("Unknown error"): the
    // system's reason is only in errno, right after the write.
    int cause = 0;
    if (ok) {
        errno = 0;
        ok = file.write(Bytes) == Bytes.size();
        cause = errno;
    }
    ok = ok && file.commit();
    if (ok)
        return;
    std::string reason = Utf8(file.errorString());
    if (file.error() == QFileDevice::NoError)
        reason = cause != 0 ? std::strerror(cause) : "the file could not be written completely";
    throw EKivraError("Unable to write to " + Utf8(FileName) + ": " + reason);
}

bool IsTouchstoneName(const QString &FileName)
{
    return FileName.endsWith(QStringLiteral(".s1p"), Qt::CaseInsensitive);
}

bool ReadMeasurementFile(const QString &FileName, double Z0, QStringList &Lines, std::string &Error)
{
    Lines.clear();
    const QFileInfo info(FileName);
    if (!info.isFile()) {
        Error = "File " + Utf8(FileName) + " not found!";
        return false;
    }
    if (info.size() > kMaxMeasurementFileBytes) {
        Error = "File " + Utf8(FileName) + " is larger than 4 MiB: it is not a measurement file";
        return false;
    }
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EKivraError("Unable to read " + Utf8(FileName) + ": " + Utf8(file.errorString()));
    // The size is checked again on what is read: the file may have grown meanwhile.
    const QByteArray bytes = file.read(kMaxMeasurementFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw EKivraError("Unable to read " + Utf8(FileName) + ": " + Utf8(file.errorString()));
    if (bytes.size() > kMaxMeasurementFileBytes) {
        Error = "File " + Utf8(FileName) + " is larger than 4 MiB: it is not a measurement file";
        return false;
    }
    const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
    std::vector<std::string> lines;
    if (IsTouchstoneName(FileName)) {
        int skipped = 0;
        std::string why;
        if (!ReadTouchstone(view, Z0, lines, skipped, why)) {
            Error = "File " + Utf8(FileName) + " is not a one-port Touchstone file: " + why;
            return false;
        }
    } else {
        lines = SplitFileLines(view);
    }
    for (const std::string &line : lines)
        Lines.append(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
    return true;
}

std::vector<std::string> Latin1Lines(const QStringList &Lines)
{
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(Lines.size()));
    for (const QString &line : Lines)
        out.push_back(line.toLatin1().toStdString());
    return out;
}

void TMereni::SaveTXT(const QString &FileName)
{
    if (!MayWrite(FileName))
        return;
    QByteArray bytes;
    for (const QString &line : LastLines()) {
        bytes.append(line.toLatin1());
        bytes.append(kLineEnd);
    }
    WriteWholeFile(FileName, bytes);
    Dialogs().ShowMessage(std::to_string(LastLines().size()) + " rows saved to " + Utf8(FileName));
}

void TMereni::SaveS11(const QString &FileName)
{
    WriteGammaFile(LastLines(), FileName, ' ', "S11 ");
}

void TMereni::SaveZPlots(const QString &FileName)
{
    WriteGammaFile(LastLines(), FileName, ',', "CSV ");
}

void TMereni::SaveTouchstone(const QString &FileName, const std::string &Date)
{
    if (!MayWrite(FileName))
        return;
    int points = 0;
    const std::string content
        = TouchstoneFile(Latin1Lines(LastLines()), TouchstoneHeader(Date), points);
    WriteRows(FileName, content, points, LastLines().size(), "Touchstone ", "point");
}

TTouchstoneHeader TMereni::TouchstoneHeader(const std::string &Date)
{
    return { "KIVRA Antenne analyzer, one-port reflection", Date, static_cast<double>(ChImp) };
}

void TMereni::LoadTXT(const QString &FileName)
{
    QStringList loaded;
    std::string error;
    if (!ReadMeasurementFile(FileName, ChImp, loaded, error)) {
        Dialogs().ShowMessage(error);
        return;
    }

    SetCurrentLines(loaded);
    const QStringList &lines = CurrentLines();
    if (lines.isEmpty())
        return;

    // A range needs two convertible ends in rising order; otherwise the graph keeps the one
    // it has, rather than a range that cannot be drawn or swept.
    const std::optional<double> first = LineFrequencyMHz(lines.front());
    const std::optional<double> last = LineFrequencyMHz(lines.back());
    if (OsaX && first && last && *first < *last) {
        OsaX->MinValue = *first;
        OsaX->MaxValue = *last;
    }

    if (SmithFrame) {
        SmithFrame->ClearChart();
        SmithFrame->LoadLines(lines, ChImp);
    }

    TakeCurrentLines();

    if (Graph) {
        Graph->ClearLayers();
        Graph->DrawAll();
        Graph->Present(false);
    }
}
