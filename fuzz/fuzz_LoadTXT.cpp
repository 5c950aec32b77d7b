// A raw line file as anyone may have left it: the cutting into lines keeps every byte but
// the line ends (CR, LF or CR LF) and loses no line, and each line either converts into the
// S11 and ZPlots form, with three numeric fields, or is refused, never anything between.

#include "FuzzCheck.h"
#include "measure/FileLines.h"
#include "measure/Frequency.h"
#include "measure/ReplyLine.h"
#include "platform/Errors.h"
#include "platform/Parse.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> ExpectedLines(std::string_view Bytes)
{
    std::vector<std::string> Lines(1);
    for (std::size_t I = 0; I < Bytes.size(); ++I) {
        const char C = Bytes[I];
        if (C != '\r' && C != '\n') {
            Lines.back() += C;
            continue;
        }
        if (C == '\r' && I + 1 < Bytes.size() && Bytes[I + 1] == '\n')
            ++I;
        Lines.emplace_back();
    }
    if (Lines.back().empty())
        Lines.pop_back();
    return Lines;
}

std::vector<std::string> Fields(const std::string &Line, char Separator)
{
    std::vector<std::string> Result(1);
    for (const char C : Line) {
        if (C == Separator)
            Result.emplace_back();
        else
            Result.back() += C;
    }
    return Result;
}

void CheckGammaLine(const std::string &Line, char Separator)
{
    std::string Out = "unchanged";
    bool Converted = false;
    try {
        Converted = FormatGammaLine(Line, Separator, 50.0, Out);
    } catch (const EFloatError &) {
        // A frequency too large for the kHz to MHz step is refused by a fault.
        return;
    }
    TLineFields Read;
    FUZZ_CHECK(Converted == ReadLineFields(Line, Read));
    if (!Converted)
        return;
    const std::vector<std::string> Parts = Fields(Out, Separator);
    FUZZ_CHECK(Parts.size() == 3);
    double Values[3] = {};
    for (int I = 0; I < 3; ++I)
        FUZZ_CHECK(TryStrToFloat(Parts[static_cast<std::size_t>(I)], Values[I]));
    FUZZ_CHECK(
        std::fabs(Values[0] - KHzToMHz(Read.FreqKHz)) <= 0.5e-5 * (1 + std::fabs(Values[0])));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    const std::string_view Bytes(reinterpret_cast<const char *>(Data), Size);
    const std::vector<std::string> Lines = SplitFileLines(Bytes);
    FUZZ_CHECK(Lines == ExpectedLines(Bytes));
    // Only so many lines of one input are converted, so that a run spends its time on
    // variety rather than on one long file.
    std::size_t Count = 0;
    for (const std::string &Line : Lines) {
        if (++Count > 64)
            break;
        CheckGammaLine(Line, ' ');
        CheckGammaLine(Line, ',');
    }
    return 0;
}
