#include "platform/Paths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

// HOME may be unset or relative under a service manager; the password database still knows
// where the user lives, and a settings folder at the root of the file system is never right.
std::string HomeDir()
{
    const char *home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    std::vector<char> buf(16384);
    passwd entry {};
    passwd *found = nullptr;
    if (getpwuid_r(getuid(), &entry, buf.data(), buf.size(), &found) == 0 && found != nullptr
        && found->pw_dir != nullptr && found->pw_dir[0] == '/')
        return found->pw_dir;
    return "/tmp";
}

} // namespace

std::string KivraConfigDir()
{
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/')
        return std::string(xdg) + "/kivra";
    return HomeDir() + "/.config/kivra";
}

std::string KivraIniPath() { return KivraConfigDir() + "/KIVRA.INI"; }
