#include "platform/Parse.h"

#include "platform/Errors.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool MatchesFloatGrammar(std::string_view t)
{
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < t.size() && IsDigit(t[i])) {
        ++i;
        ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && IsDigit(t[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        size_t expDigits = 0;
        while (i < t.size() && IsDigit(t[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    return i == t.size();
}

// Rough power of ten of a text that matches the grammar; only its sign matters, to tell an
// overflow from an underflow.
long long DecimalExponent(std::string_view t)
{
    long long intDigits = 0;
    long long leadingFracZeros = 0;
    bool seenNonZero = false;
    bool inFraction = false;
    size_t i = 0;
    for (; i < t.size() && t[i] != 'e' && t[i] != 'E'; ++i) {
        const char c = t[i];
        if (c == '.') {
            inFraction = true;
        } else if (IsDigit(c)) {
            if (c != '0')
                seenNonZero = true;
            if (!inFraction && seenNonZero)
                ++intDigits;
            else if (inFraction && !seenNonZero)
                ++leadingFracZeros;
        }
    }
    long long exponent = 0;
    if (i < t.size()) {
        bool negative = false;
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            negative = t[i++] == '-';
        for (; i < t.size() && exponent < 1000000; ++i)
            exponent = exponent * 10 + (t[i] - '0');
        if (negative)
            exponent = -exponent;
    }
    return (intDigits > 0 ? intDigits : -leadingFracZeros) + exponent;
}

} // namespace

bool TryStrToFloat(std::string_view Text, double &Value)
{
    // A plain decimal of up to 15 digits, as reply-line fields are, is an integer below 2^53
    // over a power of ten, both doubles exactly: their quotient is correctly rounded, so it is
    // the value the general path gives, without it.
    {
        std::string_view t = Text;
        const bool negative = !t.empty() && t.front() == '-';
        if (!t.empty() && (t.front() == '-' || t.front() == '+'))
            t.remove_prefix(1);
        constexpr size_t kMaxDigits = 15;
        if (!t.empty() && t.size() <= kMaxDigits + 1) {
            long long v = 0;
            size_t digits = 0;
            int decimals = 0;
            bool point = false;
            bool plain = true;
            for (char c : t) {
                if (IsDigit(c)) {
                    v = v * 10 + (c - '0');
                    ++digits;
                    decimals += point ? 1 : 0;
                } else if (c == '.' && !point) {
                    point = true;
                } else {
                    plain = false;
                    break;
                }
            }
            if (plain && digits > 0 && digits <= kMaxDigits) {
                static constexpr double kPowersOfTen[kMaxDigits + 1] = { 1e0, 1e1, 1e2, 1e3, 1e4,
                    1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15 };
                double d = static_cast<double>(v);
                if (decimals > 0)
                    d /= kPowersOfTen[decimals];
                Value = negative ? -d : d;
                return true;
            }
        }
    }
    if (!MatchesFloatGrammar(Text))
        return false;
    // from_chars rejects a leading '+', which the grammar allows.
    std::string_view t = Text;
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec == std::errc::result_out_of_range) {
        // Underflow towards zero is a valid tiny number; overflow is not a double.
        if (DecimalExponent(t) > 0)
            return false;
        v = 0.0;
    } else if (ec != std::errc() || ptr != t.data() + t.size()) {
        return false;
    }
    if (!std::isfinite(v))
        return false;
    Value = v;
    return true;
}

double StrToFloat(std::string_view Text)
{
    double v = 0.0;
    if (!TryStrToFloat(Text, v))
        throw EConvertError("'" + std::string(Text) + "' is not a valid floating point value");
    return v;
}

bool TryStrToInt(std::string_view Text, int &Value)
{
    std::string_view t = Text;
    bool negative = false;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    if (t.empty())
        return false;
    long long v = 0;
    for (char c : t) {
        if (!IsDigit(c))
            return false;
        v = v * 10 + (c - '0');
        if (v > 1LL + std::numeric_limits<int>::max())
            return false;
    }
    if (negative)
        v = -v;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    Value = static_cast<int>(v);
    return true;
}

int StrToInt(std::string_view Text)
{
    int v = 0;
    if (!TryStrToInt(Text, v))
        throw EConvertError("'" + std::string(Text) + "' is not a valid integer value");
    return v;
}
