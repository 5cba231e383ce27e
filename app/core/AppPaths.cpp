#include "AppPaths.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace paths {

namespace {

constexpr const char* kFolderName = "chesszel";

// The home folder: $HOME, else the user database, else the root folder.
std::string Home() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/";
}

// $variable when it holds an absolute path; a relative or empty one is ignored, as the base
// directory convention asks.
std::string BaseFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    std::string base;
    if (value != nullptr && value[0] == '/') {
        base = value;
    } else {
        base = Home();
        if (base.back() != '/') base += '/';
        base += underHome;
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base;
}

// Creates folder and its missing parents; new folders are private to the user.
void MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!part.empty()) ::mkdir(part.c_str(), 0700);
        if (slash == std::string::npos) break;
    }
}

std::string ProgramFolder(const char* variable, const char* underHome) {
    std::string base = BaseFolder(variable, underHome);
    std::string folder = (base == "/" ? "" : base) + "/" + kFolderName;
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) MakeFolders(folder);
    return folder + "/";
}

} // namespace

std::string ConfigFolder() {
    return ProgramFolder("XDG_CONFIG_HOME", ".config");
}

std::string DataFolder() {
    return ProgramFolder("XDG_DATA_HOME", ".local/share");
}

std::string SettingsFile() {
    return ConfigFolder() + "Kavrel.ini";
}

std::string SavedGamesFile() {
    return DataFolder() + "kavrel.sav";
}

} // namespace paths
