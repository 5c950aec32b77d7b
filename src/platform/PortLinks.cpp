#include "platform/PortLinks.h"

#include "platform/Paths.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

unsigned ComPortNumber(const std::string &Name)
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

std::string PortLinkPath(unsigned Number)
{
    return (fs::path(KivraConfigDir()) / "ports" / ("COM" + std::to_string(Number))).string();
}

TPortLink InspectPortLink(unsigned Number)
{
    TPortLink Result;
    Result.Path = PortLinkPath(Number);
    std::error_code Error;
    const fs::file_status Status = fs::symlink_status(Result.Path, Error);
    if (Error || !fs::exists(Status))
        return Result;
    if (!fs::is_symlink(Status)) {
        Result.Kind = TPortLink::NotALink;
        return Result;
    }
    Result.Kind = TPortLink::Link;
    Result.Target = fs::read_symlink(Result.Path, Error).string();
    Result.TargetExists = fs::exists(fs::status(Result.Path, Error));
    return Result;
}

bool IsPseudoTerminal(const std::string &Device) { return Device.rfind("/dev/pts/", 0) == 0; }

bool PortsFolderWritable(std::string &Folder)
{
    Folder = (fs::path(KivraConfigDir()) / "ports").string();
    // The folder is made on demand, so what counts is the nearest part that exists.
    fs::path Existing = Folder;
    std::error_code Error;
    while (!fs::exists(Existing, Error) && Existing.has_parent_path()
        && Existing.parent_path() != Existing)
        Existing = Existing.parent_path();
    return fs::is_directory(Existing, Error) && ::access(Existing.c_str(), W_OK | X_OK) == 0;
}

bool MakePortLink(unsigned Number, const std::string &Target, std::string &Error)
{
    const TPortLink Old = InspectPortLink(Number);
    if (Old.Kind == TPortLink::NotALink) {
        Error = std::make_error_code(std::errc::file_exists).message();
        return false;
    }
    std::error_code Code;
    fs::create_directories(fs::path(Old.Path).parent_path(), Code);
    // Made beside the old one and renamed over it, so the port never goes missing halfway.
    const std::string Fresh = Old.Path + ".new";
    fs::remove(Fresh, Code);
    fs::create_symlink(Target, Fresh, Code);
    if (!Code)
        fs::rename(Fresh, Old.Path, Code);
    if (Code) {
        std::error_code Ignored;
        fs::remove(Fresh, Ignored);
        Error = Code.message();
        return false;
    }
    return true;
}
