#pragma once

// What the measurement side needs from the Smith chart frame. The frame implements it; the
// sweep controller and the cursors hold it as a link that may be empty.
class TSmithLink
{
public:
    virtual ~TSmithLink() = default;

    // Forget the plotted points; called when a sweep starts.
    virtual void ClearChart() = 0;
    // Plot one received point at once: frequency in kHz, R and X in ohm, all whole numbers.
    virtual void AddMeasuredPoint(int FreqKHz, int R, int X) = 0;
    // Move the chart's cursor label to the point nearest FreqKHz.
    virtual void ShowFrequency(int FreqKHz) = 0;
};
