// Reply-line fields: a field reads as a number only when its text, cut at single spaces, is
// a plain finite decimal number, and then as the correctly rounded value; a failed read
// leaves the value alone; the Latin-1 text form of a stored line reads the same as its bytes.

#include "FuzzCheck.h"
#include "measure/ReplyLine.h"
#include "measure/ReplyLineQt.h"

#include <QString>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// Field k as the line's users understand it, or false when the line has fewer fields.
bool FieldText(std::string_view Line, int FieldNo, std::string_view &Field)
{
    if (FieldNo < 1)
        return false;
    std::size_t Start = 0;
    for (int K = 1; K < FieldNo; ++K) {
        const std::size_t Space = Line.find(' ', Start);
        if (Space == std::string_view::npos)
            return false;
        Start = Space + 1;
    }
    Field = Line.substr(Start, Line.find(' ', Start) - Start);
    return true;
}

bool PlainNumberText(std::string_view Text)
{
    return !Text.empty() && Text.find_first_not_of("+-.0123456789eE") == std::string_view::npos
        && Text.find_first_of("0123456789") != std::string_view::npos;
}

bool SameBits(double A, double B) { return std::memcmp(&A, &B, sizeof A) == 0; }

constexpr double kUnset = -12345.678;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    const std::string_view Line(reinterpret_cast<const char *>(Data), Size);
    const QString Stored = QString::fromLatin1(Line.data(), static_cast<qsizetype>(Line.size()));
    double Fields[4] = { kUnset, kUnset, kUnset, kUnset };
    bool Read[4] = {};
    for (int FieldNo = -1; FieldNo <= 5; ++FieldNo) {
        double Value = kUnset;
        const bool Ok = ReadLineField(Line, FieldNo, Value);
        double ValueQt = kUnset;
        FUZZ_CHECK(ReadLineField(Stored, FieldNo, ValueQt) == Ok);
        FUZZ_CHECK(SameBits(Value, ValueQt));
        if (FieldNo >= 1 && FieldNo <= 3) {
            Fields[FieldNo] = Value;
            Read[FieldNo] = Ok;
        }
        if (!Ok) {
            FUZZ_CHECK(SameBits(Value, kUnset));
            continue;
        }
        std::string_view Field;
        FUZZ_CHECK(FieldText(Line, FieldNo, Field));
        FUZZ_CHECK(PlainNumberText(Field));
        FUZZ_CHECK(std::isfinite(Value));
        // strtod in the C locale is the reference; tiny values below the normal range may
        // read as zero.
        const std::string Copy(Field);
        const double Reference = std::strtod(Copy.c_str(), nullptr);
        FUZZ_CHECK(SameBits(Value, Reference) || (Value == 0.0 && std::fabs(Reference) < DBL_MIN));
    }
    TLineFields All;
    const bool AllOk = ReadLineFields(Line, All);
    FUZZ_CHECK(AllOk == (Read[1] && Read[2] && Read[3]));
    if (AllOk)
        FUZZ_CHECK(SameBits(All.FreqKHz, Fields[1]) && SameBits(All.R, Fields[2])
            && SameBits(All.X, Fields[3]));
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int * /*Argc*/, char *** /*Argv*/)
{
    std::setlocale(LC_ALL, "C");
    return 0;
}
