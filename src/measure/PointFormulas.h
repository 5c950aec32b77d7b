#pragma once

// The quantities of one measured point, derived from the load impedance Z = R + jX against
// the reference impedance Z0. The sweep evaluation, the cursor readouts and the file writers
// all compute through these routines, so a value never differs between graph, readout and
// file.

struct TPointValues
{
    double Z = 0.0; // |Z|, ohm
    double SWR = 0.0;
    double RL = 0.0; // return loss, dB
    double Angle = 0.0; // angle of the reflection coefficient, degrees (-180 .. 180)
    double GammaRe = 0.0;
    double GammaIm = 0.0;
    double CableLoss = 0.0; // one-way loss of a cable open or shorted at its far end, dB
    bool ZValid = false;
    bool SWRValid = false;
    bool RLValid = false;
    bool AngleValid = false;
    bool GammaValid = false;
    bool CableLossValid = false;
};

// Fills Values step by step, each value with its flag as it is computed. A floating-point
// fault (D = 0 for R = -Z0 and X = 0, an overflow, a NaN among the inputs) raises
// EFloatError; Values then holds what was computed before the fault. F (MHz) is not used.
//
// Replacements: |Gamma| = 1 exactly becomes 1.0000001, so a short or a pure reactance gives
// an SWR near -2e7 (not clamped); SWR = 1 exactly (a perfect match) becomes 1.0000001, so
// the return loss stays finite.
void ComputePoint(double R, double X, double F, double Z0, TPointValues &Values);

// The SWR that ComputePoint gives for the same load, raising wherever ComputePoint raises,
// without the angle and the logarithms it does not need.
double ComputeSWR(double R, double X, double Z0);

struct TLCValues
{
    double C = 0.0; // pF, carries the sign of X
    bool CValid = false;
    double L = 0.0; // uH
    bool LValid = false;
};

// Equivalent capacitance and inductance of reactance X (ohm) at F (MHz). Nothing below
// 1 kHz; no capacitance when |F * X| <= 0.01. Faults are swallowed; the flags tell what was
// computed.
TLCValues ComputeLC(double X, double F);

// Q from the two frequencies (MHz) that bound the bandwidth: sqrt(F1 * F2) / |F2 - F1|.
// Invalid for equal frequencies, and for any fault (a negative product).
bool ComputeQ(double F1, double F2, double &Q);
