#include "AnalyzerModel.h"

#include "platform/FloatOps.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNeperPerDb = 1.0 / 8.685889638065035;

std::complex<double> Coth(std::complex<double> Value) { return 1.0 / std::tanh(Value); }

// Reply fields stay sane even when a model runs away near a pole. Extreme parameters can
// leave the difference of two infinities, which no bridge would read; it reads as 0.
int WholeOhms(double Value)
{
    if (std::isnan(Value))
        return 0;
    return Round(std::clamp(Value, -9999999.0, 9999999.0));
}

bool ParseCode(std::string_view Text, int &Value)
{
    if (Text.empty() || Text.size() > 9)
        return false;
    Value = 0;
    for (const char Digit : Text) {
        if (Digit < '0' || Digit > '9')
            return false;
        Value = Value * 10 + (Digit - '0');
    }
    return true;
}

} // namespace

bool ParseLoadKind(std::string_view Text, TLoadKind &Kind)
{
    static const std::pair<std::string_view, TLoadKind> Kinds[] = { { "dummy", TLoadKind::Dummy },
        { "rlc", TLoadKind::Rlc }, { "dipole", TLoadKind::Dipole }, { "open", TLoadKind::Open },
        { "short", TLoadKind::Short } };
    for (const auto &[Name, Value] : Kinds) {
        if (Text == Name) {
            Kind = Value;
            return true;
        }
    }
    return false;
}

std::complex<double> LoadImpedance(const TLoadParams &Params, double FreqMHz)
{
    const double FreqHz = FreqMHz * 1e6;
    const double Omega = 2 * kPi * FreqHz;
    switch (Params.Kind) {
    case TLoadKind::Dummy:
        return { 50.0, Omega * kDummyInductanceH };
    case TLoadKind::Rlc: {
        const double Omega0 = 2 * kPi * Params.F0MHz * 1e6;
        const double L = Params.Q * Params.ROhm / Omega0;
        const double C = 1 / (Omega0 * Params.Q * Params.ROhm);
        return { Params.ROhm, Omega * L - 1 / (Omega * C) };
    }
    case TLoadKind::Dipole: {
        // Each half of the dipole as an open line a quarter wave long at F0: resonances
        // (low R) near the odd multiples of F0, high impedance near the even ones.
        const double Ratio = FreqMHz / Params.F0MHz;
        const std::complex<double> GammaL(kDipoleLossAtF0 * std::sqrt(Ratio), kPi / 2 * Ratio);
        return kDipoleZ0Ohm * Coth(GammaL);
    }
    case TLoadKind::Open:
    case TLoadKind::Short: {
        const double Alpha = kCableLossDbPer100mAt1MHz / 100 * kNeperPerDb * std::sqrt(FreqMHz);
        const double Beta = Omega / (Params.Vf * kSpeedOfLight);
        const std::complex<double> GammaL(Alpha * Params.LengthM, Beta * Params.LengthM);
        return Params.Z0Ohm * (Params.Kind == TLoadKind::Open ? Coth(GammaL) : std::tanh(GammaL));
    }
    }
    return {};
}

bool ParseSweepCommand(std::string_view Command, int &Start, int &Stop, int &Step)
{
    if (!Command.empty() && Command.back() == ' ')
        Command.remove_suffix(1);
    const auto First = Command.find(' ');
    if (First == std::string_view::npos)
        return false;
    const auto Second = Command.find(' ', First + 1);
    if (Second == std::string_view::npos)
        return false;
    if (!ParseCode(Command.substr(0, First), Start)
        || !ParseCode(Command.substr(First + 1, Second - First - 1), Stop)
        || !ParseCode(Command.substr(Second + 1), Step))
        return false;
    return Start >= 100 && Start < Stop && Stop <= 3000 && Step >= 1;
}

TAnalyzerModel::TAnalyzerModel(const TLoadParams &LoadParams)
    : Params(LoadParams)
    , Random(LoadParams.Seed)
    , Noise(0.0, LoadParams.NoiseOhm > 0 ? LoadParams.NoiseOhm : 1.0)
{
}

std::string TAnalyzerModel::ReplyLine(int FreqCode)
{
    std::complex<double> Z = LoadImpedance(Params, FreqCode / 100.0);
    if (Params.NoiseOhm > 0) {
        const double NoiseR = Noise(Random);
        const double NoiseX = Noise(Random);
        Z += std::complex<double>(NoiseR, NoiseX);
    }
    // A bridge reads no negative resistance.
    const int R = WholeOhms(std::max(Z.real(), 0.0));
    const int X = WholeOhms(Z.imag());
    return std::to_string(FreqCode * 10) + ' ' + std::to_string(R) + ' ' + std::to_string(X);
}
