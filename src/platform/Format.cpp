#include "platform/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct TPattern
{
    int MinIntDigits = 0;
    std::string Fraction; // the characters after '.', digits and literals
    int Decimals = 0; // count of '0' and '#' in Fraction
};

TPattern ParsePattern(std::string_view Pattern)
{
    TPattern p;
    const auto dot = Pattern.find('.');
    const auto intPart = Pattern.substr(0, dot);
    for (char c : intPart)
        if (c == '0')
            ++p.MinIntDigits;
    if (dot != std::string_view::npos) {
        p.Fraction = std::string(Pattern.substr(dot + 1));
        for (char c : p.Fraction)
            if (c == '0' || c == '#')
                ++p.Decimals;
    }
    return p;
}

// Exact decimal expansion of |Value|, split at the point. to_chars is exact at any
// precision and, unlike printf, ignores the locale that the toolkit sets at start-up.
void ExactDigits(double Value, std::string &IntDigits, std::string &FracDigits)
{
    // A double m * 2^(e - 53) with a 53-bit m has at most 53 - e decimals, so that many are
    // the exact expansion; 1100 cover every digit of the smallest subnormal. Asking for no
    // more than needed keeps a file of thousands of numbers from formatting 1100 each.
    int exponent = 0;
    std::frexp(Value, &exponent);
    const int decimals = std::clamp(53 - exponent, 0, 1100);
    std::vector<char> buf(1500);
    const auto res = std::to_chars(
        buf.data(), buf.data() + buf.size(), std::fabs(Value), std::chars_format::fixed, decimals);
    std::string s(buf.data(), res.ptr);
    const auto dot = s.find('.');
    IntDigits = s.substr(0, dot);
    FracDigits = dot == std::string::npos ? std::string() : s.substr(dot + 1);
}

// Adds one unit in the last place of a decimal digit string; returns true on carry out.
bool Increment(std::string &Digits)
{
    for (auto i = Digits.size(); i-- > 0;) {
        if (Digits[i] == '9') {
            Digits[i] = '0';
        } else {
            ++Digits[i];
            return false;
        }
    }
    return true;
}

} // namespace

std::string FormatFloat(std::string_view Pattern, double Value)
{
    if (std::isnan(Value))
        return "NAN";
    if (std::isinf(Value))
        return Value > 0 ? "INF" : "-INF";

    const TPattern p = ParsePattern(Pattern);
    std::string intDigits;
    std::string fracDigits;
    ExactDigits(Value, intDigits, fracDigits);

    // Round half away from zero on the exact expansion: the first dropped digit decides,
    // because any digit after an exact 5 only makes the remainder larger.
    std::string kept = fracDigits.substr(0, static_cast<size_t>(p.Decimals));
    const bool roundUp = fracDigits.size() > static_cast<size_t>(p.Decimals)
        && fracDigits[static_cast<size_t>(p.Decimals)] >= '5';
    if (roundUp && Increment(kept) && Increment(intDigits))
        intDigits.insert(intDigits.begin(), '1');

    // Strip leading zeros down to the digits the pattern demands.
    size_t firstNonZero = intDigits.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        firstNonZero = intDigits.size();
    intDigits.erase(0, firstNonZero);
    while (static_cast<int>(intDigits.size()) < p.MinIntDigits)
        intDigits.insert(intDigits.begin(), '0');

    // Optional trailing fraction digits ('#') are dropped while they are zero.
    std::string fraction;
    {
        int d = 0;
        std::vector<std::pair<char, char>> slots; // pattern char, digit or literal
        for (char c : p.Fraction) {
            if (c == '0' || c == '#')
                slots.emplace_back(c, kept[static_cast<size_t>(d++)]);
            else
                slots.emplace_back(c, c);
        }
        while (!slots.empty()) {
            const auto &last = slots.back();
            const bool digit = last.first == '0' || last.first == '#';
            if (digit && !(last.first == '#' && last.second == '0'))
                break;
            if (!digit) {
                // A literal survives only when a digit after it survives.
                slots.pop_back();
                continue;
            }
            slots.pop_back();
        }
        for (const auto &s : slots)
            fraction += s.second;
    }

    const bool isZero = intDigits.find_first_not_of('0') == std::string::npos
        && fraction.find_first_of("123456789") == std::string::npos;
    std::string out;
    if (Value < 0 && !isZero)
        out += '-';
    out += intDigits;
    if (!fraction.empty()) {
        out += '.';
        out += fraction;
    }
    return out;
}

std::string FloatToStr(double Value)
{
    if (std::isnan(Value))
        return "NAN";
    if (std::isinf(Value))
        return Value > 0 ? "INF" : "-INF";
    if (Value == 0.0)
        return "0";

    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, Value, std::chars_format::scientific, 14);
    std::string s(buf, res.ptr);
    const auto e = s.find('e');
    std::string mantissa = s.substr(0, e);
    const int exponent = std::stoi(s.substr(e + 1));
    const bool negative = mantissa[0] == '-';
    if (negative)
        mantissa.erase(0, 1);
    std::string digits = mantissa.substr(0, 1) + mantissa.substr(2); // 15 digits
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent < -5 || exponent >= 15) {
        out += digits.substr(0, 1);
        if (digits.size() > 1)
            out += "." + digits.substr(1);
        out += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto intLen = static_cast<size_t>(exponent + 1);
        if (digits.size() <= intLen) {
            out += digits + std::string(intLen - digits.size(), '0');
        } else {
            out += digits.substr(0, intLen) + "." + digits.substr(intLen);
        }
    }
    return out;
}

std::string IntToStr(long long Value) { return std::to_string(Value); }
