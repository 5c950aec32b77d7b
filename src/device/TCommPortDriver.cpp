#include "device/TCommPortDriver.h"

#include "platform/Guard.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <thread>

namespace {

const unsigned BaudRates[]
    = { 110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200 };

} // namespace

TCommPortDriver::TCommPortDriver()
    : TCommPortDriver(MakeSystemSerialPort())
{
}

TCommPortDriver::TCommPortDriver(std::unique_ptr<TSerialPort> Port)
    : FPort(std::move(Port))
    , PollBuffer(FComPortInBufSize, 0)
{
    QObject::connect(
        &PollTimer, &QTimer::timeout, [this] { GuardHandler([this] { TimerWndProc(); }); });
}

TCommPortDriver::~TCommPortDriver() { Disconnect(); }

bool TCommPortDriver::Connected() const { return FConnected; }

std::string TCommPortDriver::DeviceName() const
{
    const int Number = static_cast<int>(FComPort) + 1;
    return (Number > 9 ? "\\\\.\\COM" : "COM") + std::to_string(Number);
}

bool TCommPortDriver::Connect()
{
    if (FConnected)
        return true;
    if (!FPort->Open(DeviceName()))
        return false;
    FConnected = true;
    ApplySettings();
    TCommTimeouts Timeouts;
    Timeouts.ReadIntervalTimeout = 1;
    Timeouts.ReadTotalTimeoutMultiplier = 0;
    Timeouts.ReadTotalTimeoutConstant = 1;
    Timeouts.WriteTotalTimeoutMultiplier = 0;
    Timeouts.WriteTotalTimeoutConstant = 0;
    FPort->SetCommTimeouts(Timeouts);
    PollTimer.start(FComPortPollingDelay);
    return true;
}

void TCommPortDriver::Disconnect()
{
    if (!FConnected)
        return;
    PollTimer.stop();
    FPort->Close();
    FConnected = false;
}

void TCommPortDriver::ApplySettings()
{
    if (!FConnected)
        return;
    TDeviceControlBlock Dcb;
    Dcb.Length = kDcbSize;
    const auto Speed = static_cast<std::size_t>(FComPortSpeed);
    Dcb.BaudRate = Speed < std::size(BaudRates) ? BaudRates[Speed] : 9600;
    Dcb.Flags = kDcbBinary;
    if (FEnableDTROnOpen)
        Dcb.Flags |= kDcbDtrControlEnable;
    if (FComPortHwHandshaking == hhRTSCTS)
        Dcb.Flags |= kDcbOutxCtsFlow | kDcbRtsControlHandshake;
    if (FComPortSwHandshaking == shXONXOFF)
        Dcb.Flags |= kDcbOutX | kDcbInX;
    Dcb.XonLim = FComPortInBufSize / 4u;
    Dcb.XoffLim = 1;
    Dcb.ByteSize = static_cast<unsigned>(FComPortDataBits) + 5;
    Dcb.Parity = static_cast<unsigned>(FComPortParity);
    Dcb.StopBits = static_cast<unsigned>(FComPortStopBits);
    Dcb.XonChar = 0x11;
    Dcb.XoffChar = 0x13;
    FPort->SetCommState(Dcb);
    Purge(true, true);
    FPort->SetupComm(FComPortInBufSize, FComPortOutBufSize);
}

void TCommPortDriver::Purge(bool Input, bool Output)
{
    if (FConnected)
        FPort->PurgeComm(Input, Output);
}

std::int16_t TCommPortDriver::OutputFree()
{
    if (!FConnected)
        return -1;
    // The queue length as the port reports it; the signed 16-bit result wraps as it did.
    const int Queued = FPort->OutQueueLength();
    return static_cast<std::int16_t>(static_cast<int>(FComPortOutBufSize) - Queued);
}

std::int32_t TCommPortDriver::SendData(const char *DataPtr, std::int32_t DataSize)
{
    if (!FConnected)
        return 0;
    using Clock = std::chrono::steady_clock;
    std::int32_t Sent = 0;
    auto Started = Clock::now();
    while (DataSize > 0) {
        int Written = 0;
        if (OutputFree() != 0)
            Written = std::max(FPort->Write(DataPtr + Sent, DataSize), 0);
        if (Written > 0) {
            Sent += Written;
            DataSize -= Written;
            Started = Clock::now();
            continue;
        }
        if (Clock::now() - Started > std::chrono::milliseconds(FOutputTimeout))
            return -Sent;
        // Waiting for room; no need to burn a core while the line drains.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return Sent;
}

bool TCommPortDriver::SendString(const std::string &S)
{
    const auto Size = static_cast<std::int32_t>(S.size());
    return SendData(S.data(), Size) == Size;
}

void TCommPortDriver::TimerWndProc()
{
    if (!FConnected)
        return;
    const int Count = FPort->Read(PollBuffer.data(), static_cast<int>(PollBuffer.size()));
    if (Count > 0 && OnReceiveData) {
        const TComPortReceiveDataEvent Handler = OnReceiveData;
        Handler(this, PollBuffer.data(), Count);
        std::fill(PollBuffer.begin(), PollBuffer.end(), char(0));
    }
    // A device that went away is closed once its last bytes are delivered: reading it
    // again would only fail again on every tick.
    if (FConnected && FPort->Vanished())
        Disconnect();
}

void TCommPortDriver::SetComPort(TComPortNumber Value)
{
    if (!FConnected)
        FComPort = Value;
}

void TCommPortDriver::SetComPortSpeed(TComPortBaudRate Value)
{
    FComPortSpeed = Value;
    ApplySettings();
}

void TCommPortDriver::SetComPortDataBits(TComPortDataBits Value)
{
    FComPortDataBits = Value;
    ApplySettings();
}

void TCommPortDriver::SetComPortStopBits(TComPortStopBits Value)
{
    FComPortStopBits = Value;
    ApplySettings();
}

void TCommPortDriver::SetComPortParity(TComPortParity Value)
{
    FComPortParity = Value;
    ApplySettings();
}

void TCommPortDriver::SetComPortHwHandshaking(TComPortHwHandshaking Value)
{
    FComPortHwHandshaking = Value;
    ApplySettings();
}

void TCommPortDriver::SetComPortSwHandshaking(TComPortSwHandshaking Value)
{
    FComPortSwHandshaking = Value;
    ApplySettings();
}

void TCommPortDriver::SetComPortInBufSize(std::uint16_t Value)
{
    if (FConnected)
        return;
    FComPortInBufSize = Value;
    PollBuffer.assign(Value, 0);
}

void TCommPortDriver::SetComPortOutBufSize(std::uint16_t Value)
{
    // Like the receive size: the queues are sized when the port opens.
    if (!FConnected)
        FComPortOutBufSize = Value;
}

void TCommPortDriver::SetComPortPollingDelay(std::uint16_t Value)
{
    if (Value == FComPortPollingDelay)
        return;
    FComPortPollingDelay = Value;
    if (FConnected) {
        PollTimer.stop();
        PollTimer.start(FComPortPollingDelay);
    }
}
