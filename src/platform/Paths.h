#pragma once

#include <string>

// KIVRA's configuration folder: $XDG_CONFIG_HOME/kivra, or ~/.config/kivra when that is
// unset or not absolute. KIVRA.INI and the ports/ links live here. Not created here.
std::string KivraConfigDir();

// The file that holds the settings, inside KivraConfigDir().
std::string KivraIniPath();
