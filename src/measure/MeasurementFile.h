#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// The file side shared by the sweep controller's file routines, the menu's further file
// commands and the command line, so that each writes the same bytes and asks and reports in
// the same words.

// The overwrite question: false when the user keeps an existing file.
bool MayWrite(const QString &FileName);

// Writes Bytes as the whole new content of FileName. The old file is replaced only after
// everything has reached the disk, so a full disk or a lost mount leaves it as it was.
// Raises EKivraError "Unable to write to <name>: <cause>".
void WriteWholeFile(const QString &FileName, const QByteArray &Bytes);

// Whether FileName is opened as a Touchstone file (".s1p" in any case) rather than as a raw
// line file.
bool IsTouchstoneName(const QString &FileName);

// Reads a measurement file into reply lines: a raw line file as it is, a Touchstone file
// translated against Z0 where it has no option line. False with Error, the text to show,
// for a missing file, a file too large to be a measurement, or a Touchstone file that does
// not parse; a file that cannot be read raises EKivraError. An empty raw line file gives no
// lines and true.
bool ReadMeasurementFile(
    const QString &FileName, double Z0, QStringList &Lines, std::string &Error);

// Stored lines (one character per byte) as the byte strings the writers take.
std::vector<std::string> Latin1Lines(const QStringList &Lines);
