#include "measure/PointFormulas.h"

#include "platform/Errors.h"
#include "platform/FloatOps.h"

#include <cmath>

namespace {

// Degrees per radian as the analyzer's firmware notes give it: pi/180 to ten digits, held
// in extended precision.
constexpr long double kRadPerDegree = 0.0174532925222222L;

constexpr double kMagReplacement = 1.0000001;
constexpr double kSWRReplacement = 1.0000001;

double Sqr(double V) { return FCheck(V * V); }

// The SWR from the reflection's magnitude over the denominator D = (R + Z0)² + X², with the
// replacements that keep a perfect match and a total reflection finite.
double SwrOf(double R, double X, double Z0, double D)
{
    double mag = FSqrt(FDiv(FCheck(Sqr(R - Z0) + Sqr(X)), D));
    if (mag == 1.0)
        mag = kMagReplacement;
    double swr = FDiv(1.0 + mag, 1.0 - mag);
    if (swr == 1.0)
        swr = kSWRReplacement;
    return swr;
}

} // namespace

void ComputePoint(double R, double X, double F, double Z0, TPointValues &Values)
{
    static_cast<void>(F);
    Values = TPointValues();
    FCheck(R);
    FCheck(X);
    FCheck(Z0);

    const double d = FCheck(Sqr(R + Z0) + Sqr(X));
    Values.GammaRe = FDiv(FCheck(Sqr(R) - Sqr(Z0) + Sqr(X)), d);
    Values.GammaIm = FDiv(FCheck(2.0 * X * Z0), d);
    Values.GammaValid = true;

    long double a = 0.0L;
    if (Values.GammaRe != 0.0) {
        const long double ratio = FDiv(
            static_cast<long double>(Values.GammaIm), static_cast<long double>(Values.GammaRe));
        a = std::atan(ratio) / kRadPerDegree;
    }
    if (Values.GammaRe < 0.0 && Values.GammaIm >= 0.0)
        a += 180.0L;
    else if (Values.GammaRe < 0.0 && Values.GammaIm < 0.0)
        a -= 180.0L;
    Values.Angle = static_cast<double>(a);
    Values.AngleValid = true;

    const double swr = SwrOf(R, X, Z0, d);
    Values.SWR = swr;
    Values.SWRValid = true;

    const double ratioLog = FLog10(FDiv(swr - 1.0, swr + 1.0));
    Values.RL = std::fabs(-20.0 * ratioLog);
    Values.RLValid = true;

    Values.Z = FSqrt(FCheck(Sqr(R) + Sqr(X)));
    Values.ZValid = true;

    Values.CableLoss = std::fabs(10.0 * ratioLog);
    Values.CableLossValid = true;
}

double ComputeSWR(double R, double X, double Z0)
{
    // ComputePoint's operations in its order, so the value is the same to the last bit and
    // a load it cannot evaluate raises here too; the skipped angle and logarithm cannot
    // fault once the quotients before them have not.
    FCheck(R);
    FCheck(X);
    FCheck(Z0);
    const double d = FCheck(Sqr(R + Z0) + Sqr(X));
    static_cast<void>(FDiv(FCheck(Sqr(R) - Sqr(Z0) + Sqr(X)), d));
    static_cast<void>(FDiv(FCheck(2.0 * X * Z0), d));
    const double swr = SwrOf(R, X, Z0, d);
    static_cast<void>(FDiv(swr - 1.0, swr + 1.0));
    static_cast<void>(FCheck(Sqr(R) + Sqr(X)));
    return swr;
}

TLCValues ComputeLC(double X, double F)
{
    TLCValues lc;
    if (F < 0.001)
        return lc;
    try {
        const double p = FCheck(F * X);
        if (std::fabs(p) > 0.01) {
            lc.C = FDiv(159000.0, p);
            lc.CValid = true;
        }
        lc.L = FDiv(X, FCheck(F * 6.283185308));
        lc.LValid = true;
    } catch (const EFloatError &) {
        // The flags already say what could be computed.
    }
    return lc;
}

bool ComputeQ(double F1, double F2, double &Q)
{
    const double dist = std::fabs(F2 - F1);
    if (dist == 0.0)
        return false;
    try {
        Q = FDiv(FSqrt(FCheck(F1 * F2)), FCheck(dist));
        return true;
    } catch (const EFloatError &) {
        return false;
    }
}
