#pragma once

#include <QString>

#include <string>

class QCommandLineParser;

// The command line: "kivra [FILE]" opens a measurement file at start-up; "kivra --export
// FORMAT IN OUT" converts a measurement file without a window and without a display.

enum class TStartKind
{
    Window, // the main window, on the desktop's display
    Console, // no window and no display: --help, --version, --export of a text format
    Picture // no display, but widgets drawn off screen: --export png
};

// What the arguments need before the application object exists: the display is chosen
// then.
TStartKind StartKindOf(int Argc, char **Argv);

struct TCommandLine
{
    bool Export = false;
    QString OpenFile; // without --export: the file to open once the window is shown
    QString Format; // txt, s11, zplots, touchstone, png
    QString In;
    QString Out;
    int Z0 = 0; // 0: the one configured
    bool Smooth = true;
};

// The options and arguments, with their help texts.
void SetUpParser(QCommandLineParser &Parser);
// False with Error (for stderr) when the arguments are not a valid request.
bool ReadCommandLine(const QCommandLineParser &Parser, TCommandLine &Request, std::string &Error);

// Converts Request.In into Request.Out. 0 with Message the line to print; otherwise the exit
// status, with Message the reason. Out is written completely or not at all.
int RunExport(const TCommandLine &Request, std::string &Message);
