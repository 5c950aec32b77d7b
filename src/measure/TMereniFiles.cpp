#include "graph/TAnGraph.h"
#include "graph/TOsaX.h"
#include "measure/FileLines.h"
#include "measure/Globals.h"
#include "measure/ReplyLineQt.h"
#include "measure/TMereni.h"
#include "measure/TSmithLink.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/FloatOps.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

std::string Utf8(const QString &Text) { return Text.toStdString(); }

// The common start of the writers: false when the user keeps an existing file.
bool MayWrite(const QString &FileName)
{
    if (!QFileInfo(FileName).isFile())
        return true;
    const std::string question = "File " + Utf8(FileName) + " is exists!\n\rOverride?";
    return Dialogs().AskYesNo(question, "Warning") == TDialogs::TAnswer::Yes;
}

// Writes Bytes as the whole new content of FileName. The old file is replaced only after
// everything has reached the disk, so a full disk or a lost mount leaves it as it was.
void WriteWholeFile(const QString &FileName, const QByteArray &Bytes)
{
    QSaveFile file(FileName);
    const bool ok
        = file.open(QIODevice::WriteOnly) && file.write(Bytes) == Bytes.size() && file.commit();
    if (!ok)
        throw EKivraError("Unable to write to " + Utf8(FileName) + ": " + Utf8(file.errorString()));
}

void WriteGammaFile(
    const QStringList &Lines, const QString &FileName, char Separator, const std::string &Kind)
{
    if (!MayWrite(FileName))
        return;
    QByteArray bytes;
    std::string out;
    for (const QString &line : Lines) {
        const QByteArray reply = line.toLatin1();
        if (!FormatGammaLine(std::string_view(reply.constData(), static_cast<size_t>(reply.size())),
                Separator, ChImp, out))
            continue;
        bytes.append(out.data(), static_cast<qsizetype>(out.size()));
        bytes.append(kLineEnd);
    }
    WriteWholeFile(FileName, bytes);
    Dialogs().ShowMessage(Kind + std::to_string(Lines.size()) + " rows saved to " + Utf8(FileName));
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

void TMereni::LoadTXT(const QString &FileName)
{
    if (!QFileInfo(FileName).isFile()) {
        Dialogs().ShowMessage("File " + Utf8(FileName) + " not found!");
        return;
    }
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EKivraError("Unable to read " + Utf8(FileName) + ": " + Utf8(file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EKivraError("Unable to read " + Utf8(FileName) + ": " + Utf8(file.errorString()));

    QStringList lines;
    for (const std::string &line :
        SplitFileLines(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))))
        lines.append(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
    SetCurrentLines(lines);
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
