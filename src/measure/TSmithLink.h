#pragma once

#include "platform/Color.h"

#include <QStringList>

#include <vector>

// What the rest of the program needs from the Smith chart frame. The frame implements it;
// the sweep controller, the cursors, the file loader and the main window hold it as a link
// that may be empty.
class TSmithLink
{
public:
    virtual ~TSmithLink() = default;

    // Forget the plotted points; called when a sweep starts.
    virtual void ClearChart() = 0;
    // Plot one received point: frequency in kHz, R and X in ohm, all whole numbers. It is
    // on screen within a frame (a tenth of a second). Never raises: a point the chart cannot
    // place (a load of -Z0) is left off it.
    virtual void AddMeasuredPoint(int FreqKHz, int R, int X) = 0;
    // Show at once every point and label still waiting for their frame; called when a
    // sweep ends, so its picture is whole before the curves are drawn.
    virtual void DrawPending() { }
    // Move the chart's cursor label to the point nearest FreqKHz.
    virtual void ShowFrequency(int FreqKHz) = 0;

    // The rest has no effect on a link that only follows sweeps, so it need not implement it.

    // Plot the reply lines of a loaded file against Z0 (after ClearChart).
    virtual void LoadLines(const QStringList &Lines, int Z0)
    {
        static_cast<void>(Lines);
        static_cast<void>(Z0);
    }
    // Create the renderer at its fixed place; nothing else works before it.
    virtual void InitChart() { }
    // Redraw background and grid, e.g. after a new graph colour.
    virtual void RedrawGrid() { }
    // The chart's background takes the graph's colour, and background and grid are redrawn.
    virtual void SetBackColor(TColor Color) { static_cast<void>(Color); }
    // Re-plot every point against the current ChImp.
    virtual void Replot() { }
    // The reply lines of the reference sweeps, drawn under the live points; redraws.
    virtual void SetReferenceLines(const std::vector<QStringList> &References)
    {
        static_cast<void>(References);
    }
};
