#pragma once

#include <complex>
#include <random>
#include <string>
#include <string_view>

// What the simulated analyzer measures: the impedance of one of a few loads over frequency,
// and the reply line it sends for a frequency code. Pure arithmetic, so tests can check
// the physics without a serial line.

enum class TLoadKind
{
    Dummy,
    Rlc,
    Dipole,
    Open,
    Short
};

struct TLoadParams
{
    TLoadKind Kind = TLoadKind::Dipole;
    double F0MHz = 1.9; // dipole half-wave frequency, R-L-C resonance
    double Q = 10; // R-L-C quality
    double ROhm = 50; // R-L-C resistance
    double LengthM = 10; // cable length
    double Vf = 0.66; // cable velocity factor
    double Z0Ohm = 50; // cable characteristic impedance
    double NoiseOhm = 0; // standard deviation of the noise added to R and X
    unsigned Seed = 1;
};

constexpr double kSpeedOfLight = 299792458.0;
// Series inductance of the dummy load's leads.
constexpr double kDummyInductanceH = 10e-9;
// Mean characteristic impedance of the dipole seen as an opened-out line.
constexpr double kDipoleZ0Ohm = 900;
// Dipole loss per unit length at its half-wave frequency, as an attenuation of the line
// model; chosen so that the feed point shows about 70 ohm at resonance.
constexpr double kDipoleLossAtF0 = 0.078;
// Cable loss at 1 MHz in dB per 100 m (a thin 50 ohm coaxial cable); it grows with the
// square root of frequency.
constexpr double kCableLossDbPer100mAt1MHz = 1.3;

bool ParseLoadKind(std::string_view Text, TLoadKind &Kind);

// Impedance of the load at FreqMHz, without noise.
std::complex<double> LoadImpedance(const TLoadParams &Params, double FreqMHz);

// Start, Stop and Step of a sweep command (without its carriage return): three decimal
// numbers separated by single spaces, optionally followed by one space, with
// 100 <= Start < Stop <= 3000 and Step >= 1.
bool ParseSweepCommand(std::string_view Command, int &Start, int &Stop, int &Step);

// Reply lines with the noise of one seeded generator.
class TAnalyzerModel
{
public:
    explicit TAnalyzerModel(const TLoadParams &LoadParams);

    // "F R X" for a frequency code (10 kHz units): F in kHz, R and X in whole ohms.
    // Without the carriage return.
    std::string ReplyLine(int FreqCode);

private:
    TLoadParams Params;
    std::mt19937 Random;
    std::normal_distribution<double> Noise;
};
