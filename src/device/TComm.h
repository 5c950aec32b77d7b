#pragma once

#include "device/TCommPortDriver.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class TSerialPort;

// Index is the number of lines delivered since the last sweep command; Line is the
// received line without its carriage return, one character per received byte (Latin-1).
using TLineEvent = std::function<void(int Index, const QString &Line)>;

// The program's only speaker to the analyzer: opens the configured port with the
// analyzer's line settings, sends the sweep command and cuts the replies into lines.
class TComm
{
public:
    // Port defaults to the system's serial port.
    TComm();
    explicit TComm(std::unique_ptr<TSerialPort> Port);
    ~TComm();
    TComm(const TComm &) = delete;
    TComm &operator=(const TComm &) = delete;

    // Raises EConvertError when SELCOM, PORT2 or PORT3 is not a number.
    void Open();
    void Close();
    // Opens when closed, waits 100 ms and returns true, whether or not the port opened.
    bool Connect();
    void EnsureOpen();

    // 1: Start >= Stop; 2: Start or Stop outside 100..3000; 0: command sent.
    int SendSweep(int Start, int Stop, int Step, TLineEvent OnLineEvent);

    // The driver's receive notification.
    void DataReceived(TCommPortDriver *Sender, const char *Data, int Count);

    bool WasConnected() const { return FWasConnected; }
    // The port the last Open tried ("COM9"); empty before the first.
    const std::string &PortName() const { return FPortName; }
    int LineIndex() const { return FLineIndex; }
    const QByteArray &LineBuffer() const { return FLineBuffer; }
    TCommPortDriver &Driver() { return *FDriver; }

    TLineEvent OnLine;

    // A line that grows past this without a carriage return is dropped up to the next one.
    static constexpr int kMaxLineBytes = 4096;
    static constexpr int kConnectWaitMs = 100;

private:
    std::unique_ptr<TCommPortDriver> FDriver;
    bool FWasConnected = false;
    std::string FPortName;
    QByteArray FLineBuffer;
    bool FDiscardingLine = false;
    int FLineIndex = 0;
};
