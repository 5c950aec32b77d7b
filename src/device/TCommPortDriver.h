#pragma once

#include "platform/SerialPort.h"

#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TComPortNumber : std::uint8_t
{
    pnCOM1,
    pnCOM2,
    pnCOM3,
    pnCOM4,
    pnCOM5,
    pnCOM6,
    pnCOM7,
    pnCOM8,
    pnCOM9
};

enum TComPortBaudRate
{
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200
};

enum TComPortDataBits
{
    db5BITS,
    db6BITS,
    db7BITS,
    db8BITS
};
enum TComPortStopBits
{
    sb1BITS,
    sb1HALFBITS,
    sb2BITS
};
enum TComPortParity
{
    ptNONE,
    ptODD,
    ptEVEN,
    ptMARK,
    ptSPACE
};
enum TComPortHwHandshaking
{
    hhNONE,
    hhRTSCTS
};
enum TComPortSwHandshaking
{
    shNONE,
    shXONXOFF
};

class TCommPortDriver;

// Sender, the bytes of one poll and their count. The bytes are valid only during the call.
using TComPortReceiveDataEvent
    = std::function<void(TCommPortDriver *Sender, const char *DataPtr, int DataSize)>;

// One serial port polled by a timer of the GUI thread: no thread and no receive queue of
// its own, every non-empty poll goes straight to OnReceiveData.
class TCommPortDriver
{
public:
    // Port defaults to the system's serial port.
    TCommPortDriver();
    explicit TCommPortDriver(std::unique_ptr<TSerialPort> Port);
    ~TCommPortDriver();
    TCommPortDriver(const TCommPortDriver &) = delete;
    TCommPortDriver &operator=(const TCommPortDriver &) = delete;

    bool Connected() const;
    bool Connect();
    void Disconnect();
    void ApplySettings();
    void Purge(bool Input, bool Output);
    // Free room in the transmit queue; -1 when not connected.
    std::int16_t OutputFree();
    // Bytes sent, or minus the bytes sent when the output stalled past OutputTimeout.
    std::int32_t SendData(const char *DataPtr, std::int32_t DataSize);
    bool SendString(const std::string &S);

    // "COM"n for n up to 9, "\\.\COM"n above, n = ComPort + 1.
    std::string DeviceName() const;

    // The poll timer's tick; public so that tests and benchmarks can drive it.
    void TimerWndProc();

    TComPortNumber ComPort() const { return FComPort; }
    void SetComPort(TComPortNumber Value);
    TComPortBaudRate ComPortSpeed() const { return FComPortSpeed; }
    void SetComPortSpeed(TComPortBaudRate Value);
    TComPortDataBits ComPortDataBits() const { return FComPortDataBits; }
    void SetComPortDataBits(TComPortDataBits Value);
    TComPortStopBits ComPortStopBits() const { return FComPortStopBits; }
    void SetComPortStopBits(TComPortStopBits Value);
    TComPortParity ComPortParity() const { return FComPortParity; }
    void SetComPortParity(TComPortParity Value);
    TComPortHwHandshaking ComPortHwHandshaking() const { return FComPortHwHandshaking; }
    void SetComPortHwHandshaking(TComPortHwHandshaking Value);
    TComPortSwHandshaking ComPortSwHandshaking() const { return FComPortSwHandshaking; }
    void SetComPortSwHandshaking(TComPortSwHandshaking Value);
    std::uint16_t ComPortInBufSize() const { return FComPortInBufSize; }
    void SetComPortInBufSize(std::uint16_t Value);
    std::uint16_t ComPortOutBufSize() const { return FComPortOutBufSize; }
    void SetComPortOutBufSize(std::uint16_t Value);
    std::uint16_t ComPortPollingDelay() const { return FComPortPollingDelay; }
    void SetComPortPollingDelay(std::uint16_t Value);
    bool EnableDTROnOpen() const { return FEnableDTROnOpen; }
    void SetEnableDTROnOpen(bool Value) { FEnableDTROnOpen = Value; }
    std::uint16_t OutputTimeout() const { return FOutputTimeout; }
    void SetOutputTimeout(std::uint16_t Value) { FOutputTimeout = Value; }

    TComPortReceiveDataEvent OnReceiveData;

    // The port beneath, for tests that look at what reached it.
    TSerialPort &Port() { return *FPort; }
    bool PollTimerActive() const { return PollTimer.isActive(); }
    int PollTimerInterval() const { return PollTimer.interval(); }

private:
    std::unique_ptr<TSerialPort> FPort;
    bool FConnected = false;
    QTimer PollTimer;

    TComPortNumber FComPort = pnCOM2;
    TComPortBaudRate FComPortSpeed = br9600;
    TComPortDataBits FComPortDataBits = db8BITS;
    TComPortStopBits FComPortStopBits = sb1BITS;
    TComPortParity FComPortParity = ptNONE;
    TComPortHwHandshaking FComPortHwHandshaking = hhNONE;
    TComPortSwHandshaking FComPortSwHandshaking = shNONE;
    std::uint16_t FComPortInBufSize = 2048;
    std::uint16_t FComPortOutBufSize = 2048;
    std::uint16_t FComPortPollingDelay = 50;
    bool FEnableDTROnOpen = true;
    std::uint16_t FOutputTimeout = 4000;
    // Sized from FComPortInBufSize in the constructor, so it must be declared after it.
    std::vector<char> PollBuffer;
};
