#include "platform/SerialAdapters.h"

#include "platform/PortLinks.h"

#include <QSerialPortInfo>

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string StableSerialPath(const std::string &Device, const std::string &ByIdFolder)
{
    std::error_code Error;
    const fs::path Node = fs::canonical(Device, Error);
    if (Error)
        return Device;
    for (fs::directory_iterator It(ByIdFolder, Error), End; !Error && It != End;
         It.increment(Error)) {
        std::error_code LinkError;
        if (fs::canonical(It->path(), LinkError) == Node && !LinkError)
            return It->path().string();
    }
    return Device;
}

std::vector<TSerialAdapter> ListSerialAdapters()
{
    std::vector<TSerialAdapter> Adapters;
    for (const QSerialPortInfo &Info : QSerialPortInfo::availablePorts()) {
        const std::string Device = Info.systemLocation().toStdString();
        std::error_code Error;
        if (IsPseudoTerminal(Device) || !fs::exists(Device, Error))
            continue;
        Adapters.push_back({ Info.description().toStdString(), Info.manufacturer().toStdString(),
            Info.serialNumber().toStdString(), Device, StableSerialPath(Device) });
    }
    return Adapters;
}

std::string AdapterCaption(const TSerialAdapter &Adapter)
{
    std::string Caption;
    const std::string Serial
        = Adapter.SerialNumber.empty() ? std::string() : "serial " + Adapter.SerialNumber;
    for (const std::string *Part : { &Adapter.Description, &Adapter.Manufacturer, &Serial }) {
        if (Part->empty())
            continue;
        if (!Caption.empty())
            Caption += ", ";
        Caption += *Part;
    }
    if (Caption.empty())
        Caption = fs::path(Adapter.Device).filename().string();
    return Caption + " (" + Adapter.StablePath + ")";
}
