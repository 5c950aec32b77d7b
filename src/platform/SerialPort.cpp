#include "platform/SerialPort.h"

#include "platform/PortLinks.h"

#include <filesystem>
#include <system_error>

std::string ResolveSerialDevice(const std::string &Name)
{
    const unsigned Number = ComPortNumber(Name);
    if (Number == 0)
        return Name;
    namespace fs = std::filesystem;
    const fs::path Link = PortLinkPath(Number);
    std::error_code Error;
    if (fs::exists(fs::symlink_status(Link, Error))) {
        // The device itself, so that its lock is the same whichever name opened it. A link
        // that leads nowhere stays as it is and simply fails to open.
        const fs::path Target = fs::canonical(Link, Error);
        return Error ? Link.string() : Target.string();
    }
    return "/dev/ttyS" + std::to_string(Number - 1);
}
