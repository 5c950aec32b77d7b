#include "platform/SerialPort.h"

#include "platform/Paths.h"

#include <filesystem>
#include <system_error>

namespace {

// The n of "COMn" or "\\.\COMn"; 0 when Name is neither.
unsigned ComNumber(const std::string &Name)
{
    std::string Rest = Name;
    const std::string Device = "\\\\.\\";
    if (Rest.compare(0, Device.size(), Device) == 0)
        Rest.erase(0, Device.size());
    if (Rest.size() < 4 || Rest.size() > 12 || Rest.compare(0, 3, "COM") != 0)
        return 0;
    unsigned long Number = 0;
    for (std::size_t i = 3; i < Rest.size(); ++i) {
        if (Rest[i] < '0' || Rest[i] > '9')
            return 0;
        Number = Number * 10 + static_cast<unsigned long>(Rest[i] - '0');
        if (Number > 65535)
            return 0;
    }
    return static_cast<unsigned>(Number);
}

} // namespace

std::string ResolveSerialDevice(const std::string &Name)
{
    const unsigned Number = ComNumber(Name);
    if (Number == 0)
        return Name;
    namespace fs = std::filesystem;
    const fs::path Link = fs::path(KivraConfigDir()) / "ports" / ("COM" + std::to_string(Number));
    std::error_code Error;
    if (fs::exists(fs::symlink_status(Link, Error))) {
        // The device itself, so that its lock is the same whichever name opened it. A link
        // that leads nowhere stays as it is and simply fails to open.
        const fs::path Target = fs::canonical(Link, Error);
        return Error ? Link.string() : Target.string();
    }
    return "/dev/ttyS" + std::to_string(Number - 1);
}
