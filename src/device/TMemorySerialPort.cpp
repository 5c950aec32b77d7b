#include "device/TMemorySerialPort.h"

#include <algorithm>
#include <cstring>

TMemorySerialPort::TMemorySerialPort()
    : FState(std::make_shared<TState>())
{
}

TMemorySerialPort::TMemorySerialPort(std::shared_ptr<TState> SharedState)
    : FState(std::move(SharedState))
{
}

bool TMemorySerialPort::Open(const std::string &DeviceName)
{
    FState->OpenAttempts.push_back(DeviceName);
    if (FState->IsOpen || FState->Busy.count(DeviceName) != 0)
        return false;
    if (!FState->Devices.empty() && FState->Devices.count(DeviceName) == 0)
        return false;
    FState->IsOpen = true;
    FState->Vanished = false;
    FState->OpenedName = DeviceName;
    ++FState->OpenCount;
    return true;
}

bool TMemorySerialPort::IsOpen() const { return FState->IsOpen; }

void TMemorySerialPort::Close()
{
    if (!FState->IsOpen)
        return;
    FState->IsOpen = false;
    FState->Vanished = false;
    ++FState->CloseCount;
}

bool TMemorySerialPort::SetCommState(const TDeviceControlBlock &Dcb)
{
    FState->States.push_back(Dcb);
    return FState->IsOpen;
}

bool TMemorySerialPort::SetupComm(int InQueueSize, int OutQueueSize)
{
    FState->InQueueSize = InQueueSize;
    FState->OutQueueSize = OutQueueSize;
    return FState->IsOpen;
}

bool TMemorySerialPort::SetCommTimeouts(const TCommTimeouts &Timeouts)
{
    FState->Timeouts.push_back(Timeouts);
    return FState->IsOpen;
}

bool TMemorySerialPort::PurgeComm(bool Input, bool Output)
{
    FState->Purges += Input && Output ? 'B' : Input ? 'I' : 'O';
    if (Input)
        FState->Incoming.clear();
    if (Output)
        FState->OutQueued = 0;
    return FState->IsOpen;
}

int TMemorySerialPort::OutQueueLength() { return FState->IsOpen ? FState->OutQueued : -1; }

int TMemorySerialPort::Read(char *Buffer, int Size)
{
    ++FState->ReadCount;
    if (!FState->IsOpen || FState->ReadFails)
        return -1;
    const int Count = std::min(Size, static_cast<int>(FState->Incoming.size()));
    if (Count > 0) {
        std::memcpy(Buffer, FState->Incoming.constData(), static_cast<std::size_t>(Count));
        FState->Incoming.remove(0, Count);
    }
    return Count;
}

int TMemorySerialPort::Write(const char *Data, int Size)
{
    if (!FState->IsOpen)
        return -1;
    int Count = FState->WriteLimit < 0 ? Size : std::min(Size, FState->WriteLimit);
    if (FState->WriteBudget >= 0) {
        Count = std::min(Count, FState->WriteBudget);
        FState->WriteBudget -= Count;
    }
    FState->Written.append(Data, Count);
    return Count;
}

bool TMemorySerialPort::Vanished() const { return FState->IsOpen && FState->Vanished; }
