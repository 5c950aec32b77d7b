// KIVRA.INI as anyone may have left it: every item reads without a fault, the integer and
// band readers keep their promises, and writing one item to the file changes that item alone.

#include "FuzzCheck.h"
#include "config/ConfigStore.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

constexpr int kItemCount = ciChImp + 1;
constexpr int kBandCount = 10;

bool IsIntegerItem(TConfigItem Item)
{
    return Item == ciPort2 || Item == ciPort3 || Item == ciSelCom || Item == ciGraphColor
        || Item == ciChImp;
}

// The integer reader's rule: optional sign and ASCII digits within the 32-bit range.
bool PlainInt(const QString &Text, int &Value)
{
    const std::string Bytes = Text.toStdString();
    const std::size_t Digits = !Bytes.empty() && (Bytes[0] == '+' || Bytes[0] == '-') ? 1 : 0;
    if (Bytes.size() <= Digits
        || Bytes.find_first_not_of("0123456789", Digits) != std::string::npos)
        return false;
    errno = 0;
    const long long Number = std::strtoll(Bytes.c_str(), nullptr, 10);
    if (errno != 0 || Number < INT_MIN || Number > INT_MAX)
        return false;
    Value = static_cast<int>(Number);
    return true;
}

// What one input looks at: three items and one band's limits. Reading all of them every time
// would make each input cost some sixty loads of the file.
struct TProbe
{
    TConfigItem Items[3];
    int Band;
};

struct TSnapshot
{
    QString Values[3];
    QString Lower, Upper;
    bool operator==(const TSnapshot &Other) const
    {
        return std::equal(std::begin(Values), std::end(Values), std::begin(Other.Values))
            && Lower == Other.Lower && Upper == Other.Upper;
    }
};

TSnapshot Read(const TProbe &Probe)
{
    TSnapshot S;
    for (int I = 0; I < 3; ++I)
        S.Values[I] = ReadConfigValue(Probe.Items[I]);
    ReadBandLimitsByIndex(Probe.Band, S.Lower, S.Upper);
    return S;
}

void WriteIni(const std::uint8_t *Data, std::size_t Size)
{
    std::FILE *File = std::fopen(KivraIniPath().c_str(), "wb");
    FUZZ_CHECK(File != nullptr);
    FUZZ_CHECK(std::fwrite(Data, 1, Size, File) == Size);
    FUZZ_CHECK(std::fclose(File) == 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int * /*Argc*/, char *** /*Argv*/)
{
    // Never the user's own settings: a folder of our own for the whole run, in memory where
    // there is such a folder, since every save waits for the disk otherwise.
    namespace fs = std::filesystem;
    static std::string Dir;
    std::error_code Error;
    const fs::path Base
        = fs::is_directory("/dev/shm", Error) ? "/dev/shm" : fs::temp_directory_path();
    std::string Pattern = (Base / "kivra-fuzz-XXXXXX").string();
    FUZZ_CHECK(mkdtemp(Pattern.data()) != nullptr);
    Dir = Pattern;
    FUZZ_CHECK(setenv("XDG_CONFIG_HOME", Dir.c_str(), 1) == 0);
    FUZZ_CHECK(fs::create_directory(fs::path(Dir) / "kivra", Error));
    std::atexit([] {
        std::error_code Ignored;
        fs::remove_all(Dir, Ignored);
    });
    return 0;
}

// The first byte picks the item to write and the value written, the second the other items
// and the band looked at; the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    if (Size < 2)
        return 0;
    const auto Written = static_cast<TConfigItem>(Data[0] % kItemCount);
    const QString Value = QString::number(Data[0]);
    const TProbe Probe { { Written, static_cast<TConfigItem>(Data[1] % kItemCount),
                             static_cast<TConfigItem>((Data[1] / kItemCount) % kItemCount) },
        Data[1] % kBandCount };
    WriteIni(Data + 2, Size - 2);

    const TSnapshot Before = Read(Probe);
    const TConfigItem Other = Probe.Items[1];
    if (IsIntegerItem(Other)) {
        int Number = 0;
        const bool Plain = PlainInt(Before.Values[1], Number);
        const int ReadInt = ReadConfigInt(Other);
        // A negative colour names a system colour, which the graph cannot show.
        const bool Usable = Plain && !(Other == ciGraphColor && Number < 0);
        FUZZ_CHECK(ReadInt == (Usable ? Number : ConfigDefault(Other).toInt()));
    }

    try {
        WriteConfigValue(Written, Value);
    } catch (const EKivraError &) {
        // A file that cannot be read whole is left as it is.
        FUZZ_CHECK(Read(Probe) == Before);
        return 0;
    }
    TSnapshot Expected = Before;
    for (int I = 0; I < 3; ++I)
        if (Probe.Items[I] == Written)
            Expected.Values[I] = Value;
    FUZZ_CHECK(Read(Probe) == Expected);
    return 0;
}
