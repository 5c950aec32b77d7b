#include "app/FileCommands.h"

#include "app/TfrmMain.h"
#include "app/WindowPicture.h"
#include "graph/TAnGraph.h"
#include "measure/MeasurementFile.h"
#include "measure/TMereni.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

namespace {

struct TSaveCommand
{
    const char *Filter;
    const char *Extension;
    void (TMereni::*Write)(const QString &);
};

// Linux file names are case-sensitive: files that other tools wrote in lower case are
// measurement files too, in the open and in the save dialogs.
TSaveCommand CommandOf(TSaveFormat Format)
{
    switch (Format) {
    case TSaveFormat::S11:
        return { "*.S1P *.s1p", ".S1P", &TMereni::SaveS11 };
    case TSaveFormat::ZPlots:
        return { "*.CSV *.csv", ".CSV", &TMereni::SaveZPlots };
    case TSaveFormat::Touchstone:
        return { "*.s1p *.S1P", ".s1p", nullptr };
    case TSaveFormat::Txt:
        break;
    }
    return { "*.TXT *.txt", ".TXT", &TMereni::SaveTXT };
}

const char *const kOpenFilter = "*.TXT *.txt *.S1P *.s1p";
const char *const kPictureFilter = "*.png *.PNG";

// The open and save dialogs start where the user last chose a file.
QString &LastFolder()
{
    static QString folder;
    return folder;
}

std::string ChooseFile(bool Save, const char *Caption, const char *Filter)
{
    const std::string folder = LastFolder().toStdString();
    std::string chosen = Save ? Dialogs().SaveFileName(Caption, Filter, folder)
                              : Dialogs().OpenFileName(Caption, Filter, folder);
    if (!chosen.empty())
        LastFolder() = QFileInfo(QString::fromStdString(chosen)).absolutePath();
    return chosen;
}

QByteArray PngBytes(const QImage &Picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Picture.save(&buffer, "PNG");
    return bytes;
}

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
    const std::string chosen = ChooseFile(true, "Save As", command.Filter);
    if (chosen.empty())
        return;
    const QString fileName = WithDefaultExtension(
        QString::fromStdString(chosen), QString::fromLatin1(command.Extension));
    if (Format == TSaveFormat::Touchstone)
        Mereni.SaveTouchstone(fileName, FileDate().toStdString());
    else
        (Mereni.*command.Write)(fileName);
}

void LoadMeasurement(TAnGraph &Graph, bool Measuring)
{
    if (Measuring)
        return;
    const std::string chosen = ChooseFile(false, "Open", kOpenFilter);
    if (chosen.empty())
        return;
    OpenMeasurement(Graph, QString::fromStdString(chosen));
}

void OpenMeasurement(TAnGraph &Graph, const QString &FileName)
{
    // A file opened from the command line sets the folder the dialogs start in too.
    LastFolder() = QFileInfo(FileName).absolutePath();
    Graph.ResetCursors();
    const quint64 before = Graph.Mereni->LinesVersion();
    Graph.Mereni->LoadTXT(FileName);
    if (Graph.Mereni->LinesVersion() != before)
        LastOpenedFile() = { QFileInfo(FileName).fileName(), Graph.Mereni->LinesVersion() };
}

TOpenedFile &LastOpenedFile()
{
    static TOpenedFile opened;
    return opened;
}

bool ReadReferenceFile(int Z0, QString &Name, QStringList &Lines)
{
    const std::string chosen = ChooseFile(false, "Open as reference", kOpenFilter);
    if (chosen.empty())
        return false;
    const QString fileName = QString::fromStdString(chosen);
    LastFolder() = QFileInfo(fileName).absolutePath();
    std::string error;
    if (!ReadMeasurementFile(fileName, Z0, Lines, error)) {
        Dialogs().ShowMessage(error);
        return false;
    }
    Name = QFileInfo(fileName).fileName();
    return true;
}

std::function<QDateTime()> &FileClock()
{
    static std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
    return clock;
}

QString FileDate() { return FileClock()().toString(QStringLiteral("yyyy-MM-dd HH:mm")); }

int PictureScale(const QString &FileName)
{
    return FileName.endsWith(QStringLiteral("@2x.png"), Qt::CaseInsensitive) ? 2 : 1;
}

void SavePicture(const TfrmMain &Window, const QString &FileName)
{
    if (!MayWrite(FileName))
        return;
    WriteWholeFile(FileName, PngBytes(WindowPicture(Window, PictureScale(FileName), FileDate())));
    Dialogs().ShowMessage("Picture saved to " + FileName.toStdString());
}

void AddFileCommands(QMenu *Function, TfrmMain &Window)
{
    QAction *before = nullptr;
    for (QAction *item : Function->actions())
        if (item->isSeparator()) {
            before = item;
            break;
        }
    const auto Add = [&](const QString &Caption, const char *Name, std::function<void()> Run) {
        auto *item = new QAction(Caption, Function);
        item->setObjectName(QString::fromLatin1(Name));
        Function->insertAction(before, item);
        QObject::connect(item, &QAction::triggered, &Window, [Run] { GuardHandler(Run); });
    };
    TfrmMain *window = &Window;
    Add(QStringLiteral("Save as Touchstone (.s1p)…"), "mnSaveTouchstone", [window] {
        SaveMeasurement(window->Mereni(), window->IsMeasuring(), TSaveFormat::Touchstone);
    });
    Add(QStringLiteral("Save picture…"), "mnSavePicture", [window] {
        const std::string chosen = ChooseFile(true, "Save picture", kPictureFilter);
        if (!chosen.empty())
            SavePicture(*window,
                WithDefaultExtension(QString::fromStdString(chosen), QStringLiteral(".png")));
    });
    Add(QStringLiteral("Copy picture"), "mnCopyPicture", [window] {
        QGuiApplication::clipboard()->setImage(WindowPicture(*window, 1, FileDate()));
    });
}
