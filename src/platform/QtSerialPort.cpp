#include "platform/QtColor.h"
#include "platform/SerialPort.h"

#include <QByteArray>
#include <QSerialPort>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace {

// QSerialPort beneath the driver. A device that goes away makes QSerialPort report read
// errors for as long as it stays open, so the first such error saves what was received
// and closes it; the driver sees Vanished() at its next poll and disconnects.
class TQtSerialPort final : public TSerialPort
{
public:
    TQtSerialPort()
    {
        QObject::connect(&Port, &QSerialPort::errorOccurred, &Port,
            [this](QSerialPort::SerialPortError Error) { ErrorOccurred(Error); });
    }

    bool Open(const std::string &DeviceName) override
    {
        Close();
        Port.setPortName(QStr(ResolveSerialDevice(DeviceName)));
        // Settings are applied by the driver right after opening.
        if (!Port.open(QIODevice::ReadWrite))
            return false;
        // The driver polls on its own timer, so QSerialPort need not wake the program for
        // every few bytes: with room for one byte its notifier stops after the first, and
        // Read() takes the rest straight from the device. The byte stays in QSerialPort's
        // buffer, read by a peek: taking it would turn the notifier on again, to wake the
        // program for the first byte after every poll.
        Port.setReadBufferSize(1);
        return true;
    }

    bool IsOpen() const override { return Port.isOpen() || Lost; }

    void Close() override
    {
        if (Port.isOpen())
            Port.close();
        Lost = false;
        HeldTaken = false;
        Saved.clear();
        ++Generation;
    }

    bool SetCommState(const TDeviceControlBlock &Dcb) override
    {
        if (!Port.isOpen())
            return false;
        bool Ok = Port.setBaudRate(static_cast<qint32>(Dcb.BaudRate));
        if (Dcb.ByteSize >= 5 && Dcb.ByteSize <= 8)
            Ok = Port.setDataBits(static_cast<QSerialPort::DataBits>(Dcb.ByteSize)) && Ok;
        static const QSerialPort::Parity Parities[]
            = { QSerialPort::NoParity, QSerialPort::OddParity, QSerialPort::EvenParity,
                  QSerialPort::MarkParity, QSerialPort::SpaceParity };
        if (Dcb.Parity < 5)
            Ok = Port.setParity(Parities[Dcb.Parity]) && Ok;
        static const QSerialPort::StopBits Stops[]
            = { QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop };
        if (Dcb.StopBits < 3)
            Ok = Port.setStopBits(Stops[Dcb.StopBits]) && Ok;
        QSerialPort::FlowControl Flow = QSerialPort::NoFlowControl;
        if ((Dcb.Flags & kDcbOutxCtsFlow) != 0)
            Flow = QSerialPort::HardwareControl;
        else if ((Dcb.Flags & (kDcbOutX | kDcbInX)) != 0)
            Flow = QSerialPort::SoftwareControl;
        Ok = Port.setFlowControl(Flow) && Ok;
        // Pseudo terminals have no modem lines; that failure means nothing here.
        Port.setDataTerminalReady((Dcb.Flags & kDcbDtrControlEnable) != 0);
        return Ok;
    }

    bool SetupComm(int /*InQueueSize*/, int /*OutQueueSize*/) override
    {
        // QSerialPort keeps its own queues. Its read buffer is left unbounded: a bounded one
        // stops reading the device until a read happens to find it empty, which halves
        // what a poll can take; and the driver's polls drain far faster than any line rate
        // it offers can fill.
        return Port.isOpen();
    }

    bool SetCommTimeouts(const TCommTimeouts & /*Timeouts*/) override
    {
        // Reads never block here; writes go to QSerialPort's queue.
        return Port.isOpen();
    }

    bool PurgeComm(bool Input, bool Output) override
    {
        if (Input) {
            Saved.clear();
            HeldTaken = false;
        }
        if (!Port.isOpen())
            return false;
        QSerialPort::Directions Which;
        if (Input)
            Which |= QSerialPort::Input;
        if (Output)
            Which |= QSerialPort::Output;
        return Port.clear(Which);
    }

    int OutQueueLength() override
    {
        if (!Port.isOpen())
            return -1;
        Port.flush();
        return static_cast<int>(std::min<qint64>(Port.bytesToWrite(), 0x7fffffff));
    }

    int Read(char *Buffer, int Size) override
    {
        if (Size <= 0)
            return 0;
        if (!Saved.isEmpty()) {
            const int Count = std::min(Size, static_cast<int>(Saved.size()));
            std::memcpy(Buffer, Saved.constData(), static_cast<std::size_t>(Count));
            Saved.remove(0, Count);
            return Count;
        }
        if (!Port.isOpen())
            return Lost ? 0 : -1;
        // The byte QSerialPort holds arrived before anything still in the device.
        int Count = 0;
        if (!HeldTaken && Port.bytesAvailable() > 0) {
            Count = std::max(0, static_cast<int>(Port.peek(Buffer, 1)));
            HeldTaken = Count > 0;
        }
        if (Count < Size && !Lost)
            Count += ReadDevice(Buffer + Count, Size - Count);
        return Count;
    }

    int Write(const char *Data, int Size) override
    {
        if (!Port.isOpen())
            return -1;
        const qint64 Count = Port.write(Data, Size);
        if (Count > 0)
            Port.flush();
        return static_cast<int>(Count);
    }

    bool Vanished() const override { return Lost; }

private:
    // Whatever the device has now, without waiting. A device that reports an error or a
    // hang-up is marked lost: the driver takes what was read and disconnects.
    int ReadDevice(char *Buffer, int Size)
    {
        const int Fd = Port.handle();
        const ssize_t Got = ::read(Fd, Buffer, static_cast<std::size_t>(Size));
        if (Got > 0)
            return static_cast<int>(Got);
        if (Got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            return 0;
        if (Got == 0) {
            pollfd Poll { Fd, POLLIN, 0 };
            if (::poll(&Poll, 1, 0) <= 0 || (Poll.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0)
                return 0;
        }
        Lost = true;
        return 0;
    }

    void ErrorOccurred(QSerialPort::SerialPortError Error)
    {
        if (Error != QSerialPort::ReadError && Error != QSerialPort::ResourceError)
            return;
        if (Lost || !Port.isOpen())
            return;
        Lost = true;
        // Not from inside QSerialPort's own notification: close once it has returned, unless
        // the port was closed and opened again in between, which must stay open.
        QTimer::singleShot(0, &Port, [this, OpenedAs = Generation] {
            if (!Port.isOpen() || Generation != OpenedAs)
                return;
            // Without the byte held in QSerialPort's buffer once it has been taken.
            Saved += Port.readAll().mid(HeldTaken ? 1 : 0);
            Port.close();
        });
    }

    QSerialPort Port;
    bool Lost = false;
    // The byte QSerialPort holds has been handed out; it stays in its buffer until a close
    // or a purge.
    bool HeldTaken = false;
    QByteArray Saved;
    // Counts closes, so a deferred close can tell whether its port is still the one it meant.
    unsigned Generation = 0;
};

} // namespace

std::unique_ptr<TSerialPort> MakeSystemSerialPort() { return std::make_unique<TQtSerialPort>(); }
