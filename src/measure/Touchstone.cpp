#include "measure/Touchstone.h"

#include "measure/FileLines.h"
#include "measure/PointFormulas.h"
#include "measure/ReplyLine.h"
#include "platform/Errors.h"
#include "platform/Format.h"
#include "platform/Parse.h"

#include <cmath>
#include <complex>

namespace {

enum class TParameter
{
    S,
    Z
};
enum class TValueFormat
{
    RI,
    MA,
    DB
};

struct TOptions
{
    double HzPerUnit = 1e6;
    TParameter Parameter = TParameter::S;
    TValueFormat Format = TValueFormat::RI;
    double R = 50.0;
};

std::vector<std::string_view> Tokens(std::string_view Text)
{
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < Text.size()) {
        while (i < Text.size() && (Text[i] == ' ' || Text[i] == '\t'))
            ++i;
        const size_t start = i;
        while (i < Text.size() && Text[i] != ' ' && Text[i] != '\t')
            ++i;
        if (i > start)
            tokens.push_back(Text.substr(start, i - start));
    }
    return tokens;
}

std::string Upper(std::string_view Text)
{
    std::string s(Text);
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The line as a message may quote it: short, and only printable ASCII.
std::string Quoted(std::string_view Line)
{
    constexpr size_t kMax = 60;
    std::string s;
    for (const char c : Line.substr(0, kMax))
        s += (c >= 0x20 && c < 0x7f) ? c : '?';
    if (Line.size() > kMax)
        s += "...";
    return "\"" + s + "\"";
}

std::string At(size_t LineNo) { return "line " + std::to_string(LineNo) + ": "; }

// The option line's words after '#'; false with Error for a word that is not understood.
bool ReadOptions(const std::vector<std::string_view> &Words, size_t LineNo, TOptions &Options,
    std::string &Error)
{
    for (size_t k = 0; k < Words.size(); ++k) {
        const std::string w = Upper(Words[k]);
        if (w == "HZ")
            Options.HzPerUnit = 1.0;
        else if (w == "KHZ")
            Options.HzPerUnit = 1e3;
        else if (w == "MHZ")
            Options.HzPerUnit = 1e6;
        else if (w == "GHZ")
            Options.HzPerUnit = 1e9;
        else if (w == "S")
            Options.Parameter = TParameter::S;
        else if (w == "Z")
            Options.Parameter = TParameter::Z;
        else if (w == "RI")
            Options.Format = TValueFormat::RI;
        else if (w == "MA")
            Options.Format = TValueFormat::MA;
        else if (w == "DB")
            Options.Format = TValueFormat::DB;
        else if (w == "Y" || w == "H" || w == "G") {
            Error = At(LineNo) + w + " parameters cannot be opened, only S or Z";
            return false;
        } else if (w == "R") {
            double r = 0.0;
            if (k + 1 >= Words.size() || !TryStrToFloat(Words[k + 1], r) || !(r > 0.0)) {
                Error = At(LineNo) + "the reference resistance after R is not a positive number";
                return false;
            }
            Options.R = r;
            ++k;
        } else {
            Error = At(LineNo) + "the option line does not parse: " + Quoted(Words[k]);
            return false;
        }
    }
    return true;
}

// The load impedance of one data point; false when it has no finite value.
bool PointImpedance(double A, double B, const TOptions &Options, std::complex<double> &Z)
{
    std::complex<double> v;
    if (Options.Format == TValueFormat::RI) {
        v = { A, B };
    } else {
        const double magnitude = Options.Format == TValueFormat::MA ? A : std::pow(10.0, A / 20.0);
        v = std::polar(magnitude, B * M_PI / 180.0);
    }
    if (Options.Parameter == TParameter::Z) {
        Z = Options.R * v;
    } else {
        const std::complex<double> d = 1.0 - v;
        if (d == 0.0)
            return false;
        Z = Options.R * (1.0 + v) / d;
    }
    return std::isfinite(Z.real()) && std::isfinite(Z.imag());
}

} // namespace

bool ReadTouchstone(std::string_view Bytes, double DefaultZ0, std::vector<std::string> &Lines,
    int &Skipped, std::string &Error)
{
    Lines.clear();
    Skipped = 0;
    TOptions options;
    options.R = DefaultZ0;
    bool haveOptions = false;
    bool haveData = false;
    const std::vector<std::string> fileLines = SplitFileLines(Bytes);
    std::vector<std::string> points;
    for (size_t n = 0; n < fileLines.size(); ++n) {
        const size_t lineNo = n + 1;
        std::string_view text = fileLines[n];
        text = text.substr(0, text.find('!'));
        std::vector<std::string_view> words = Tokens(text);
        if (words.empty())
            continue;
        if (words[0][0] == '#') {
            // Only the first option line counts; a reader ignores any after it.
            if (haveOptions)
                continue;
            if (haveData) {
                Error = At(lineNo) + "the option line comes after the data";
                return false;
            }
            words[0].remove_prefix(1);
            if (words[0].empty())
                words.erase(words.begin());
            // Without an option line the file is the program's own S11 form; with one, the
            // Touchstone defaults (GHz, S, MA, 50 ohm) apply to what it leaves out.
            options = TOptions { 1e9, TParameter::S, TValueFormat::MA, 50.0 };
            if (!ReadOptions(words, lineNo, options, Error))
                return false;
            haveOptions = true;
            continue;
        }
        double values[3] = {};
        bool numbers = words.size() == 3;
        for (size_t k = 0; numbers && k < 3; ++k)
            numbers = TryStrToFloat(words[k], values[k]);
        if (!numbers) {
            if (words.size() == 9)
                Error = At(lineNo) + "two-port data; only one-port (.s1p) files can be opened";
            else
                Error = At(lineNo) + "does not parse: " + Quoted(fileLines[n]);
            return false;
        }
        haveData = true;
        const double hz = values[0] * options.HzPerUnit;
        if (!std::isfinite(hz) || hz < 0.0) {
            Error = At(lineNo) + "the frequency is not a frequency: " + Quoted(fileLines[n]);
            return false;
        }
        std::complex<double> z;
        if (!PointImpedance(values[1], values[2], options, z)) {
            ++Skipped;
            continue;
        }
        points.push_back(
            FloatToStr(hz / 1000.0) + ' ' + FloatToStr(z.real()) + ' ' + FloatToStr(z.imag()));
    }
    if (points.empty()) {
        Error = Skipped > 0 ? "no point of the file has a finite impedance"
                            : "the file holds no data points";
        return false;
    }
    Lines = std::move(points);
    return true;
}

std::string TouchstoneFile(
    const std::vector<std::string> &Lines, const TTouchstoneHeader &Header, int &Points)
{
    std::string data;
    Points = 0;
    double firstMHz = 0.0;
    double lastMHz = 0.0;
    for (const std::string &line : Lines) {
        TLineFields fields;
        if (!ReadLineFields(line, fields))
            continue;
        TPointValues v;
        try {
            ComputePoint(fields.R, fields.X, 0.0, Header.Z0, v);
        } catch (const EFloatError &) {
            continue;
        }
        const double mhz = fields.FreqKHz / 1000.0;
        if (!v.GammaValid || !std::isfinite(mhz))
            continue;
        if (Points == 0)
            firstMHz = mhz;
        lastMHz = mhz;
        ++Points;
        data += FloatToStr(mhz) + ' ' + FormatFloat("0.000000000", v.GammaRe) + ' '
            + FormatFloat("0.000000000", v.GammaIm) + "\r\n";
    }
    const std::string z0 = FloatToStr(Header.Z0);
    std::string file = "! " + Header.Program + "\r\n";
    file += "! Date: " + Header.Date + "\r\n";
    file += "! Range: " + FormatFloat("0.000", firstMHz) + " - " + FormatFloat("0.000", lastMHz)
        + " MHz, " + std::to_string(Points) + " points\r\n";
    file += "! Z0: " + z0 + " ohm\r\n";
    file += "# MHz S RI R " + z0 + "\r\n";
    return file + data;
}
