#pragma once

#include <QString>

class TAnGraph;
class TMereni;

// The file commands of the main window: the checks before a file dialog is shown, the
// dialog, the default extension and the hand-over to the sweep controller's file routines.
// Errors of the routines are raised to the calling handler.

enum class TSaveFormat
{
    Txt, // raw line file
    S11,
    ZPlots
};

// Appends Extension when the file's own name holds no full stop; the folders on the way
// are not looked at (a "~/.local" or "j.doe" folder still gets its extension).
QString WithDefaultExtension(const QString &FileName, const QString &Extension);

// Nothing while a sweep runs; "No data for save!" before there is a sweep; otherwise the
// save dialog, and the writer of Format with the chosen name.
void SaveMeasurement(TMereni &Mereni, bool Measuring, TSaveFormat Format);

// Nothing while a sweep runs; otherwise the open dialog, then both frequency cursors are
// unplaced and the chosen raw line file is loaded.
void LoadMeasurement(TAnGraph &Graph, bool Measuring);
