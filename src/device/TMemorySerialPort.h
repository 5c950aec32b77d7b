#pragma once

#include "platform/SerialPort.h"

#include <QByteArray>

#include <memory>
#include <set>
#include <string>
#include <vector>

// A serial port in memory for tests: records what the driver did to it and hands out the
// bytes a test puts in. Its state lives in a shared block so that a test keeps looking at
// it after the driver has taken the port.
class TMemorySerialPort : public TSerialPort
{
public:
    struct TState
    {
        // Device names that open; empty means every name opens.
        std::set<std::string> Devices;
        std::set<std::string> Busy;
        bool IsOpen = false;
        bool Vanished = false;
        std::string OpenedName;
        std::vector<std::string> OpenAttempts;
        int OpenCount = 0;
        int CloseCount = 0;

        std::vector<TDeviceControlBlock> States;
        std::vector<TCommTimeouts> Timeouts;
        int InQueueSize = -1;
        int OutQueueSize = -1;
        // One entry per purge: 'I', 'O' or 'B' (both).
        std::string Purges;

        QByteArray Incoming;
        QByteArray Written;
        int OutQueued = 0;
        // How many bytes one Write accepts at most, and in all from now on; -1 for no limit.
        int WriteLimit = -1;
        int WriteBudget = -1;
        bool ReadFails = false;
        int ReadCount = 0;
    };

    TMemorySerialPort();
    explicit TMemorySerialPort(std::shared_ptr<TState> SharedState);

    std::shared_ptr<TState> State() const { return FState; }

    bool Open(const std::string &DeviceName) override;
    bool IsOpen() const override;
    void Close() override;
    bool SetCommState(const TDeviceControlBlock &Dcb) override;
    bool SetupComm(int InQueueSize, int OutQueueSize) override;
    bool SetCommTimeouts(const TCommTimeouts &Timeouts) override;
    bool PurgeComm(bool Input, bool Output) override;
    int OutQueueLength() override;
    int Read(char *Buffer, int Size) override;
    int Write(const char *Data, int Size) override;
    bool Vanished() const override;

private:
    std::shared_ptr<TState> FState;
};
