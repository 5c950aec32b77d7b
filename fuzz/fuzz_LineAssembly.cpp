// Serial line assembly: whatever bytes arrive and however the driver cuts them into reads,
// the lines handed on are those of the whole stream cut at carriage returns, with every line
// longer than the limit left out, and numbered from 0 without gaps.

#include "FuzzCheck.h"
#include "device/TComm.h"
#include "device/TMemorySerialPort.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ExpectedLines(const std::string &Stream)
{
    std::vector<std::string> Lines;
    std::size_t Start = 0;
    for (std::size_t End = Stream.find('\r'); End != std::string::npos;
         End = Stream.find('\r', Start)) {
        if (End - Start <= static_cast<std::size_t>(TComm::kMaxLineBytes))
            Lines.push_back(Stream.substr(Start, End - Start));
        Start = End + 1;
    }
    return Lines;
}

// Delivers Stream in reads whose sizes come from Cuts (1..256 bytes each, reused in turn).
std::vector<std::string> AssembledLines(const std::string &Stream, const std::string &Cuts)
{
    TComm Comm(std::make_unique<TMemorySerialPort>());
    std::vector<std::string> Lines;
    Comm.OnLine = [&Lines](int Index, const QString &Line) {
        FUZZ_CHECK(Index == static_cast<int>(Lines.size()));
        const QByteArray Bytes = Line.toLatin1();
        FUZZ_CHECK(QString::fromLatin1(Bytes) == Line);
        Lines.emplace_back(Bytes.constData(), static_cast<std::size_t>(Bytes.size()));
    };
    std::size_t Pos = 0;
    std::size_t Turn = 0;
    while (Pos < Stream.size()) {
        std::size_t Size = Stream.size() - Pos;
        if (!Cuts.empty())
            Size = std::min<std::size_t>(
                Size, static_cast<unsigned char>(Cuts[Turn++ % Cuts.size()]) + 1u);
        Comm.DataReceived(&Comm.Driver(), Stream.data() + Pos, static_cast<int>(Size));
        Pos += Size;
    }
    // An empty read changes nothing.
    Comm.DataReceived(&Comm.Driver(), Stream.data(), 0);
    FUZZ_CHECK(Comm.LineBuffer().size() <= TComm::kMaxLineBytes);
    FUZZ_CHECK(Comm.LineIndex() == static_cast<int>(Lines.size()));
    return Lines;
}

} // namespace

// The first byte says how many of the following bytes give the read sizes; the rest is what
// the analyzer sent.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    if (Size == 0)
        return 0;
    const std::size_t CutCount = std::min<std::size_t>(Data[0] % 16u, Size - 1);
    const std::string Cuts(reinterpret_cast<const char *>(Data + 1), CutCount);
    const std::string Stream(
        reinterpret_cast<const char *>(Data + 1 + CutCount), Size - 1 - CutCount);

    const std::vector<std::string> Expected = ExpectedLines(Stream);
    FUZZ_CHECK(AssembledLines(Stream, std::string()) == Expected);
    FUZZ_CHECK(AssembledLines(Stream, Cuts) == Expected);
    return 0;
}
