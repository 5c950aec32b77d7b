// The file commands' hand-off and the about window: the menu's handlers call the file
// routines, and a newly opened file shows its own band, empty rows and no zoom memory.
#include "app/FileCommands.h"
#include "app/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "graph/TAnGraph.h"
#include "graph/TCursors.h"
#include "platform/Guard.h"
#include "readout/TfraData.h"

void TfrmMain::MenLoadClick()
{
    LoadMeasurement(Model(), IsMeasuring());
    // A cancelled dialog leaves the cursors where they were.
    if (!Model().Cursor1->IsPlaced() && !Model().Cursor2->IsPlaced())
        ShowOpenedFile();
}

void TfrmMain::OpenFile(const QString &FileName)
{
    if (IsMeasuring())
        return;
    GuardHandler([&] { OpenMeasurement(Model(), FileName); });
    ShowOpenedFile();
}

void TfrmMain::ShowOpenedFile()
{
    // The cursors of the old sweep are gone: their rows stay empty until they are placed
    // again; the zoom memory and the band bar belong to the old range.
    for (int I : { 1, 2 })
        ReadoutRow(I)->Clear();
    ForgetZoom();
    ShowBandOfRange();
    DescribeGraph();
}

void TfrmMain::MenSaveClick() { SaveMeasurement(Mereni(), IsMeasuring(), TSaveFormat::Txt); }

void TfrmMain::mnSaveS11Click() { SaveMeasurement(Mereni(), IsMeasuring(), TSaveFormat::S11); }

void TfrmMain::mnSaveToZPlotsClick()
{
    SaveMeasurement(Mereni(), IsMeasuring(), TSaveFormat::ZPlots);
}

void TfrmMain::Oprogramu1Click() { ShowAbout(); }
