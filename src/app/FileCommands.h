#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class QMenu;
class TAnGraph;
class TfrmMain;
class TMereni;

// The file commands of the main window: the checks before a file dialog is shown, the
// dialog, the default extension and the hand-over to the sweep controller's file routines.
// Errors of the routines are raised to the calling handler.

enum class TSaveFormat
{
    Txt, // raw line file
    S11,
    ZPlots,
    Touchstone
};

// Appends Extension when the file's own name holds no full stop; the folders on the way
// are not looked at (a "~/.local" or "j.doe" folder still gets its extension).
QString WithDefaultExtension(const QString &FileName, const QString &Extension);

// Nothing while a sweep runs; "No data for save!" before there is a sweep; otherwise the
// save dialog, and the writer of Format with the chosen name.
void SaveMeasurement(TMereni &Mereni, bool Measuring, TSaveFormat Format);

// Nothing while a sweep runs; otherwise the open dialog, then OpenMeasurement.
void LoadMeasurement(TAnGraph &Graph, bool Measuring);
// Both frequency cursors are unplaced and the raw line or Touchstone file is loaded; its
// folder becomes the one the file dialogs start in.
void OpenMeasurement(TAnGraph &Graph, const QString &FileName);

// The file whose lines the sweep controller holds since the last successful open, by name
// and by the lines' version then; a version that no longer matches means a sweep or
// another change has replaced them.
struct TOpenedFile
{
    QString Name;
    quint64 LinesVersion = 0;
};
TOpenedFile &LastOpenedFile();

// The open dialog "Open as reference", then the file read as "Open" reads it, into Name
// (the file's own name) and Lines. False after a cancelled dialog, or a file that cannot be
// read, with the message "Open" would give; Z0 translates a Touchstone file without an
// option line.
bool ReadReferenceFile(int Z0, QString &Name, QStringList &Lines);

// The time written into Touchstone files and picture captions; tests set a fixed one.
std::function<QDateTime()> &FileClock();
// FileClock's time as files and captions show it.
QString FileDate();

// 2 for a name ending in "@2x.png" (any case), the usual name of a double-size picture; else 1.
int PictureScale(const QString &FileName);
// The picture as a PNG file (Scale 2 when the name ends in "@2x.png", a picture for
// high-density screens), through the overwrite question; reports where it went.
void SavePicture(const TfrmMain &Window, const QString &FileName);

// Adds "Save picture…", "Copy picture" and "Save as Touchstone (.s1p)…" to the window's
// "Function" menu, before its first separator, and connects them.
void AddFileCommands(QMenu *Function, TfrmMain &Window);
