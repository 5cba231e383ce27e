// The profile calls over IniText: each reads the whole file, and a change is written to a
// fresh file beside it, flushed to the disk and renamed over the old one. A file that exists
// but cannot be read is never replaced, so a change can not wipe settings it failed to see.
// A write that would leave the file as it is touches nothing and succeeds. A write first
// removes the temporary files earlier writes of ours left when their process was killed.

#include "IniFile.h"

#include "IniText.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace ini {

namespace {

enum class LoadResult { Read, Missing, Failed };

LoadResult Load(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? LoadResult::Missing : LoadResult::Failed;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            ::close(fd);
            return LoadResult::Failed;
        }
    }
    ::close(fd);
    return LoadResult::Read;
}

// The file a write really replaces: the target of a symbolic link, so that the link stays.
std::string WriteTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Opens a new file beside target, readable as a new file of the user would be (the process
// umask applies), or as the replaced file was.
int CreateTemporary(const std::string& target, std::string& name) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "." + base + ".tmp" + std::to_string(::getpid()) + "-" +
               std::to_string(counter.fetch_add(1));
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void SyncFolderOf(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The process a temporary file name of ours for base was made by: ".<base>.tmp<pid>-<n>"
// with decimal pid and n; 0 for any other name.
long TemporaryOwner(std::string_view name, std::string_view base) {
    const std::string prefix = "." + std::string(base) + ".tmp";
    if (name.substr(0, prefix.size()) != prefix) return 0;
    name.remove_prefix(prefix.size());
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9 || dash + 1 == name.size())
        return 0;
    const std::string_view pid = name.substr(0, dash), count = name.substr(dash + 1);
    const auto digits = [](std::string_view text) {
        return text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!digits(pid) || !digits(count)) return 0;
    return std::strtol(std::string(pid).c_str(), nullptr, 10);
}

// A write killed between creating its temporary file and renaming it leaves the file behind.
// Those of target whose process no longer runs are removed; one of a running process may be
// a write in progress and stays.
void RemoveStaleTemporaries(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir)) {
        const long owner = TemporaryOwner(entry->d_name, base);
        if (owner <= 0 || owner == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(owner), 0) == 0 || errno != ESRCH) continue;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

bool Replace(const std::string& path, const std::string& bytes) {
    const std::string target = WriteTarget(path);
    RemoveStaleTemporaries(target);
    std::string temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) return false;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolderOf(target);
    return true;
}

// Line breaks or NULs would split the line or cut it short in the file.
bool FitsOnOneLine(const std::string& text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

} // namespace

std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& def) {
    std::string bytes;
    if (Load(path, bytes) != LoadResult::Read) return def;
    const IniText text(bytes);
    const auto raw = text.RawValue(section, key);
    return raw ? CleanValue(*raw) : def;
}

bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) {
    if (!FitsOnOneLine(section) || !FitsOnOneLine(key) || !FitsOnOneLine(value)) return false;
    std::string bytes;
    if (Load(path, bytes) == LoadResult::Failed) return false;
    IniText text(bytes);
    text.Set(section, key, value);
    std::string updated = text.Serialise();
    return updated == bytes || Replace(path, updated);
}

bool DeleteKey(const std::string& path, const std::string& section, const std::string& key) {
    std::string bytes;
    switch (Load(path, bytes)) {
    case LoadResult::Missing:
        return true;
    case LoadResult::Failed:
        return false;
    case LoadResult::Read:
        break;
    }
    IniText text(bytes);
    return !text.Remove(section, key) || Replace(path, text.Serialise());
}

std::vector<std::string> ReadKeys(const std::string& path, const std::string& section) {
    std::string bytes;
    if (Load(path, bytes) != LoadResult::Read) return {};
    return IniText(bytes).Keys(section);
}

} // namespace ini
