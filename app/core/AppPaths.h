#pragma once
// Where the program keeps its files: the settings in $XDG_CONFIG_HOME/chesszel/ (default
// ~/.config/chesszel/) and the saved positions in $XDG_DATA_HOME/chesszel/ (default
// ~/.local/share/chesszel/). Each call creates its folder when it is missing; a folder that
// cannot be created is still returned, and the write that follows reports the failure.

#include <string>

namespace paths {

std::string ConfigFolder();    // with a trailing '/'
std::string DataFolder();      // with a trailing '/'
std::string SettingsFile();    // ConfigFolder() + "Kavrel.ini"
std::string SavedGamesFile();  // DataFolder() + "kavrel.sav"

} // namespace paths
