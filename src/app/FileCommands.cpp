#include "app/FileCommands.h"

#include "graph/TAnGraph.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"

#include <QFileInfo>

namespace {

struct TSaveCommand
{
    const char *Filter;
    const char *Extension;
    void (TMereni::*Write)(const QString &);
};

TSaveCommand CommandOf(TSaveFormat Format)
{
    switch (Format) {
    case TSaveFormat::S11:
        return { "*.S1P", ".S1P", &TMereni::SaveS11 };
    case TSaveFormat::ZPlots:
        return { "*.CSV", ".CSV", &TMereni::SaveZPlots };
    case TSaveFormat::Txt:
        break;
    }
    return { "*.TXT", ".TXT", &TMereni::SaveTXT };
}

// Linux file names are case-sensitive: files that other tools wrote in lower case are
// measurement files too.
const char *const kOpenFilter = "*.TXT *.txt";

} // namespace

QString WithDefaultExtension(const QString &FileName, const QString &Extension)
{
    if (QFileInfo(FileName).fileName().contains(QLatin1Char('.')))
        return FileName;
    return FileName + Extension;
}

void SaveMeasurement(TMereni &Mereni, bool Measuring, TSaveFormat Format)
{
    if (Measuring)
        return;
    if (Mereni.LastLines().isEmpty()) {
        Dialogs().ShowMessageBox("No data for save!", "Save");
        return;
    }
    const TSaveCommand command = CommandOf(Format);
    const std::string chosen = Dialogs().SaveFileName("Save As", command.Filter, {});
    if (chosen.empty())
        return;
    const QString fileName = WithDefaultExtension(
        QString::fromStdString(chosen), QString::fromLatin1(command.Extension));
    (Mereni.*command.Write)(fileName);
}

void LoadMeasurement(TAnGraph &Graph, bool Measuring)
{
    if (Measuring)
        return;
    const std::string chosen = Dialogs().OpenFileName("Open", kOpenFilter, {});
    if (chosen.empty())
        return;
    Graph.ResetCursors();
    Graph.Mereni->LoadTXT(QString::fromStdString(chosen));
}
