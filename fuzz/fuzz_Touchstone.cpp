// A Touchstone file as any instrument or person may have written it: it is either read into
// reply lines that the rest of the program reads as three finite numbers, or refused with a
// reason and no lines, never anything between; what is read and written out again reads
// back to the same points.

#include "FuzzCheck.h"
#include "measure/ReplyLine.h"
#include "measure/Touchstone.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char *kNoPoints = "the file holds no data points";
constexpr const char *kNoFinite = "no point of the file has a finite impedance";

bool Refusal(const std::string &Error)
{
    return Error.rfind("line ", 0) == 0 || Error == kNoPoints || Error == kNoFinite;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    const std::string_view Bytes(reinterpret_cast<const char *>(Data), Size);
    std::vector<std::string> Lines { "stale" };
    int Skipped = -1;
    std::string Error;
    if (!ReadTouchstone(Bytes, 50.0, Lines, Skipped, Error)) {
        FUZZ_CHECK(Lines.empty());
        FUZZ_CHECK(Refusal(Error));
        return 0;
    }
    FUZZ_CHECK(!Lines.empty() && Skipped >= 0);
    bool Moderate = true;
    for (const std::string &Line : Lines) {
        TLineFields Point;
        FUZZ_CHECK(ReadLineFields(Line, Point));
        FUZZ_CHECK(std::isfinite(Point.FreqKHz) && Point.FreqKHz >= 0.0);
        FUZZ_CHECK(std::isfinite(Point.R) && std::isfinite(Point.X));
        Moderate = Moderate && Point.FreqKHz <= 1e9;
    }
    int Points = 0;
    const std::string File = TouchstoneFile(Lines, { "fuzz", "today", 50.0 }, Points);
    FUZZ_CHECK(Points >= 0 && static_cast<std::size_t>(Points) <= Lines.size());
    if (!Moderate || Points == 0)
        return 0;
    std::vector<std::string> Again;
    int SkippedAgain = 0;
    // Written points read back; a coefficient that rounds to exactly 1 becomes an open.
    if (ReadTouchstone(File, 75.0, Again, SkippedAgain, Error))
        FUZZ_CHECK(Again.size() + static_cast<std::size_t>(SkippedAgain)
            == static_cast<std::size_t>(Points));
    else
        FUZZ_CHECK(Error == kNoFinite);
    return 0;
}
