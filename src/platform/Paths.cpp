#include "platform/Paths.h"

#include <cstdlib>

std::string KivraConfigDir()
{
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/')
        return std::string(xdg) + "/kivra";
    const char *home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/kivra";
}

std::string KivraIniPath() { return KivraConfigDir() + "/KIVRA.INI"; }
