#include "device/TComm.h"

#include "config/ConfigStore.h"
#include "platform/Format.h"
#include "platform/Parse.h"
#include "platform/QtColor.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace {

int ConfigInt(TConfigItem Item) { return StrToInt(StdStr(ReadConfigValue(Item))); }

// COM1 .. COM256: what the driver's byte-sized port number can name.
constexpr int kMaxPortNumber = 256;

} // namespace

TComm::TComm()
    : TComm(MakeSystemSerialPort())
{
}

TComm::TComm(std::unique_ptr<TSerialPort> Port)
    : FDriver(std::make_unique<TCommPortDriver>(std::move(Port)))
{
}

TComm::~TComm() { Close(); }

void TComm::Open()
{
    const int Selection = ConfigInt(ciSelCom);
    int PortNumber = 4;
    if (Selection == 2)
        PortNumber = ConfigInt(ciPort2);
    else if (Selection == 3)
        PortNumber = ConfigInt(ciPort3);
    // A number the driver cannot hold would open some other port; treat it as missing.
    const bool Valid = PortNumber >= 1 && PortNumber <= kMaxPortNumber;
    FPortName = "COM" + IntToStr(PortNumber);
    if (Valid) {
        FDriver->SetComPort(static_cast<TComPortNumber>(PortNumber - 1));
        FDriver->SetComPortSpeed(br4800);
        FDriver->SetComPortParity(ptNONE);
        FDriver->SetComPortStopBits(sb1BITS);
        FDriver->SetComPortDataBits(db8BITS);
        FDriver->Connect();
    }
    FDriver->OnReceiveData = [this](TCommPortDriver *Sender, const char *Data, int Count) {
        DataReceived(Sender, Data, Count);
    };
}

void TComm::Close()
{
    if (FDriver->Connected())
        FDriver->Disconnect();
}

bool TComm::Connect()
{
    if (!FDriver->Connected())
        Open();
    FWasConnected = FDriver->Connected();
    std::this_thread::sleep_for(std::chrono::milliseconds(kConnectWaitMs));
    return true;
}

void TComm::EnsureOpen()
{
    if (!FDriver->Connected())
        Open();
}

int TComm::SendSweep(int Start, int Stop, int Step, TLineEvent OnLineEvent)
{
    if (Start >= Stop)
        return 1;
    if (Start < 100 || Start > 3000 || Stop < 100 || Stop > 3000)
        return 2;
    OnLine = std::move(OnLineEvent);
    FLineIndex = 0;
    // What is left of the last sweep's replies is no part of this one's first line.
    FLineBuffer.clear();
    FDiscardingLine = false;
    FDriver->SendString(IntToStr(Start) + ' ' + IntToStr(Stop) + ' ' + IntToStr(Step) + " \r");
    return 0;
}

void TComm::DataReceived(TCommPortDriver * /*Sender*/, const char *Data, int Count)
{
    const char *Next = Data;
    const char *const End = Data + (Count > 0 ? Count : 0);
    while (Next < End) {
        const void *Found = std::memchr(Next, '\r', static_cast<std::size_t>(End - Next));
        const char *LineEnd = Found != nullptr ? static_cast<const char *>(Found) : End;
        if (!FDiscardingLine) {
            const auto Piece = static_cast<int>(LineEnd - Next);
            if (FLineBuffer.size() + Piece > kMaxLineBytes) {
                // Runaway input without carriage returns: drop it rather than grow forever.
                FLineBuffer.clear();
                FDiscardingLine = true;
            } else {
                FLineBuffer.append(Next, Piece);
            }
        }
        if (LineEnd == End)
            break;
        Next = LineEnd + 1;
        if (FDiscardingLine) {
            FDiscardingLine = false;
            continue;
        }
        const QString Line = QString::fromLatin1(FLineBuffer);
        FLineBuffer.clear();
        if (OnLine) {
            // The handler may start the next sweep and so replace itself.
            const TLineEvent Handler = OnLine;
            Handler(FLineIndex, Line);
            ++FLineIndex;
        }
    }
}
