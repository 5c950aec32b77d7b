#pragma once

#include "graph/TDraw.h"
#include "graph/TOsaX.h"

#include <array>
#include <cstdint>

// SWR tick values; the last one is also the largest SWR that is plotted.
extern const double SwrTicks[10];
// Impedance and reactance tick values for a reference impedance: Z0 x (0, 0.2, 0.5, 1, 2, 5,
// 10, 200), each product in extended precision.
std::array<double, 8> TickTableOf(int Z0);

// A vertical axis: maps a quantity to a pixel row of the plot. The plain instance draws the
// plot frame; the subclasses draw a scale and a curve.
class TOsaY : public TDraw
{
public:
    explicit TOsaY(TCanvas *ACanvas);

    double MaxValue = 0.0;
    double MinValue = 0.0;
    // The value at the top edge, for the axes that map downwards from it.
    double TopValue = 0.0;

    // The plot's bottom row.
    virtual int BottomY() const;

    // Pixels per unit of the quantity; a range of zero width raises EFloatError.
    double Scale() const;
    // Row of a value: linear, MinValue's row at the top (not subtracted; it is 0 where used).
    virtual int ValueToY(double Value) const;
    // Adds one curve point at Frequency (MHz) when the axis is visible, continuing the
    // curve. The frame axis itself never gets points.
    virtual void PlotPoint(const TOsaX &OsaX, double Value, double Frequency);

    // The plot rectangle with Line.
    void DrawFrame();

private:
    mutable bool FScaleKnown = false;
    mutable int FScaleHeight = 0;
    mutable double FScaleMin = 0.0;
    mutable double FScaleMax = 0.0;
    mutable double FScale = 0.0;

protected:
    // For the clamped impedance scales: a point pinned to the top or bottom edge after one
    // already pinned there moves the curve along without drawing over the frame.
    void PlotClampedPoint(int X, int Y);
};

// Return loss, dB, 0..30, 0 at the top.
class TOsaRL : public TOsaY
{
public:
    explicit TOsaRL(TCanvas *ACanvas);
    bool Grid = false;
    void DrawAxis(int X, const TOsaX &OsaX);
};

// Cable loss, dB, 0..10, 0 at the top.
class TOsaT : public TOsaY
{
public:
    explicit TOsaT(TCanvas *ACanvas);
    bool Grid = false;
    void DrawAxis(int X, const TOsaX &OsaX);
};

// SWR, drawn linear in 10 log10(SWR), SWR 1 at the bottom.
class TOsaPSV : public TOsaY
{
public:
    explicit TOsaPSV(TCanvas *ACanvas);
    bool Grid = false;
    // Value is 10 log10(SWR).
    int ValueToY(double Value) const override;
    void DrawAxis(int X, const TOsaX &OsaX);
    // Value is the SWR itself; 0, values above the last tick and negative values are skipped
    // without breaking the curve.
    void PlotPoint(const TOsaX &OsaX, double Value, double Frequency) override;
};

// Phase of the reflection coefficient, degrees, -180..180, 180 at the top.
class TOsaPHASE : public TOsaY
{
public:
    explicit TOsaPHASE(TCanvas *ACanvas);
    bool Grid = false;
    int ValueToY(double Value) const override;
    void DrawAxis(int X, const TOsaX &OsaX);
};

// Impedance magnitude (Kind 2) or resistance (Kind 0), ohms, mapped as x/(x + ChImp) and
// clamped to the plot.
class TOsaOHM : public TOsaY
{
public:
    explicit TOsaOHM(TCanvas *ACanvas);
    int TickCount = 0;
    // Draw the scale even while the curve is hidden.
    bool ShowScale = false;
    std::uint8_t Kind = 0;
    bool Grid = false;
    // The grid line at the reference impedance.
    TPropertyLine RefLine { RGBColor(0xFF, 0x80, 0x80), psDashDotDot, 1 };
    // The tick values, built for ChImp as it is when the scale is drawn or the range set.
    std::array<double, 8> OhmTicks {};

    // Puts the axis to its full fixed range, 200 ChImp, with the ticks of the current ChImp;
    // the wanted maximum does not change it.
    void SetRange(double WantedMax = 0.0);
    // Raises EFloatError for ChImp 0 or a value of -ChImp.
    int ValueToY(double Value) const override;
    virtual void DrawAxis(int X, const TOsaX &OsaX);
    void PlotPoint(const TOsaX &OsaX, double Value, double Frequency) override;
};

// Reactance, ohms, signed x/(x + ChImp) around the middle row, clamped to the plot.
class TOsaXX : public TOsaY
{
public:
    explicit TOsaXX(TCanvas *ACanvas);
    bool ShowScale = false;
    int TickCount = 0;
    std::uint8_t Kind = 0;
    bool Grid = false;
    TPropertyLine RefLine { RGBColor(0xFF, 0x80, 0x80), psDashDotDot, 1 };
    // As TOsaOHM::OhmTicks; the scale shows each with both signs.
    std::array<double, 8> ReactanceTicks {};

    void SetRange(double WantedMax = 0.0);
    int ValueToY(double Value) const override;
    // PsvVisible moves the scale right to clear the SWR labels.
    void DrawAxis(int X, const TOsaX &OsaX, bool PsvVisible);
    void PlotPoint(const TOsaX &OsaX, double Value, double Frequency) override;
};
