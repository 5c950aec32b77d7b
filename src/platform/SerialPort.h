#pragma once

#include <memory>
#include <string>

// The operating system's serial layer as the port driver needs it: open a device by name,
// set the line state, queue sizes and time-outs, purge, ask how much is still queued for
// sending, read what is there, write, close. The driver's logic is written against this so
// that tests can put an in-memory port beneath it.

// Line state as the driver hands it over. Flags use the classic communications bits below.
struct TDeviceControlBlock
{
    unsigned Length = 0;
    unsigned BaudRate = 0;
    unsigned Flags = 0;
    unsigned XonLim = 0;
    unsigned XoffLim = 0;
    unsigned ByteSize = 0;
    unsigned Parity = 0; // 0 none, 1 odd, 2 even, 3 mark, 4 space
    unsigned StopBits = 0; // 0 one, 1 one and a half, 2 two
    char XonChar = 0;
    char XoffChar = 0;
};

constexpr unsigned kDcbSize = 28;
constexpr unsigned kDcbBinary = 0x1;
constexpr unsigned kDcbOutxCtsFlow = 0x4;
constexpr unsigned kDcbDtrControlEnable = 0x10;
constexpr unsigned kDcbOutX = 0x100;
constexpr unsigned kDcbInX = 0x200;
constexpr unsigned kDcbRtsControlHandshake = 0x2000;

struct TCommTimeouts
{
    unsigned ReadIntervalTimeout = 0;
    unsigned ReadTotalTimeoutMultiplier = 0;
    unsigned ReadTotalTimeoutConstant = 0;
    unsigned WriteTotalTimeoutMultiplier = 0;
    unsigned WriteTotalTimeoutConstant = 0;
};

class TSerialPort
{
public:
    virtual ~TSerialPort() = default;

    // Opens the named device for reading and writing, exclusively; only an existing device.
    // False when it is missing or held by someone else.
    virtual bool Open(const std::string &DeviceName) = 0;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;

    virtual bool SetCommState(const TDeviceControlBlock &Dcb) = 0;
    virtual bool SetupComm(int InQueueSize, int OutQueueSize) = 0;
    virtual bool SetCommTimeouts(const TCommTimeouts &Timeouts) = 0;
    virtual bool PurgeComm(bool Input, bool Output) = 0;

    // Bytes still waiting to be sent; -1 when that cannot be told.
    virtual int OutQueueLength() = 0;

    // Returns at once: the count read (0 when nothing is there) or -1 on failure.
    virtual int Read(char *Buffer, int Size) = 0;
    // The count queued for sending, or -1 on failure.
    virtual int Write(const char *Data, int Size) = 0;

    // True once the device has gone away beneath an open port (adapter pulled, far end of
    // a pseudo terminal closed). What was received before stays readable.
    virtual bool Vanished() const = 0;
};

// The device path behind a port name: "COMn" and "\\.\COMn" are the link ports/COMn in
// KIVRA's configuration folder when it exists, otherwise /dev/ttyS<n-1>. Any other name
// is returned as it is.
std::string ResolveSerialDevice(const std::string &Name);

// Why the port Name ("COM9") could not be opened, as the status bar tells it:
// "Port COM9 (/dev/ttyUSB0) could not be opened: " and the cause (no permission, with the
// group that owns the device and how to join it; busy; not present, with the target of a
// link that leads nowhere; or the system's own text). Looks at the device afresh, so it
// describes the port as it is now.
std::string PortOpenFailureText(const std::string &Name);

// The system's serial port (QSerialPort); opens names through ResolveSerialDevice.
std::unique_ptr<TSerialPort> MakeSystemSerialPort();
