#pragma once

#include "graph/TDraw.h"

#include <vector>

class TOsaY;
class TRastrFr;

// The frequency range of the plot and the continuous mapping of a frequency (MHz) to a pixel
// column, which places the curve points.
class TOsaX : public TDraw
{
public:
    TOsaX(TCanvas *ACanvas, double AMinValue, double AMaxValue);

    double MaxValue;
    double MinValue;

    // Pixels per MHz; a range of zero width raises EFloatError.
    double Scale() const;
    // Column of a frequency; below the range it is the plot's left edge, above the range it
    // lies right of the plot. Raises EFloatError for a range of zero width.
    int ValueToX(double Frequency) const;
    // Column of a curve point: as ValueToX, but below the range it lies left of the plot, so
    // that the curve is cut off at the edge instead of piling up on it.
    int CurveX(double Frequency) const;

    // Nothing is redrawn here; the caller redraws.
    void SetMaxValue(double Value) { MaxValue = Value; }
    void SetMinValue(double Value) { MinValue = Value; }

private:
    // The scale of the last width and range it was computed for: a sweep's curves ask for
    // it at every point.
    mutable bool FScaleKnown = false;
    mutable int FScaleWidth = 0;
    mutable double FScaleMin = 0.0;
    mutable double FScaleMax = 0.0;
    mutable double FScale = 0.0;
    // The last curve point's column: the seven curves ask for it at each frequency in turn.
    mutable bool FCurveKnown = false;
    mutable double FCurveFrequency = 0.0;
    mutable double FCurveScale = 0.0;
    mutable double FCurveMin = 0.0;
    mutable int FCurveColumn = 0;
};

// The six vertical frequency grid lines and their labels.
class TOsaFRQ : public TDraw
{
public:
    explicit TOsaFRQ(TCanvas *ACanvas);

    // The axes of the last DrawGrid (links).
    const TOsaX *OsaX = nullptr;
    const TOsaY *OsaY = nullptr;
    // The raster the grid lines stand on (a link; without it no line is drawn).
    const TRastrFr *GraphRaster = nullptr;

    void DrawGrid(const TOsaX &AOsaX, const TOsaY &AOsaY);
};

// One frequency per pixel column of the plot: grid lines, cursors and marked bands stand on
// columns whose frequency is known exactly. The table always describes the current plot
// width and range: it is rebuilt before a lookup whenever either has changed.
class TRastrFr
{
public:
    TRastrFr(const TOsaX *AOsaX, const TOsaFRQ *AOsaFRQ);

    // The range it describes and the grid (links).
    const TOsaX *OsaX;
    const TOsaFRQ *OsaFRQ;

    // Recomputes the table from the current range and plot width. An empty range or a plot
    // without width leaves it empty.
    void Rebuild();

    // Frequency of plot column Column (absolute x = Column + 35). A column at or beyond the
    // end of the table gives 0; a negative column (left of the plot) gives the frequency the
    // column would have one step further down, or 0 when the table is empty.
    double FrequencyAt(int Column) const;
    // Nearest column of a frequency, a tie going to the upper column; -1 below the first
    // column, the last column above the last one, -1 for an empty table.
    int ColumnOf(double Frequency) const;
    // Number of columns in the table.
    int Count() const;

private:
    void EnsureCurrent() const;

    mutable std::vector<double> ColumnFrequencies;
    mutable bool Built = false;
    mutable int BuiltWidth = 0;
    mutable double BuiltMin = 0.0;
    mutable double BuiltMax = 0.0;
};

// Absolute column of a frequency for the marked bands: -1 outside the current range (or
// without a raster), else GraphRaster->ColumnOf(Frequency) + 35.
int FrequencyToColumn(const TRastrFr *GraphRaster, double Frequency);
