// Runs the profile calls on a file made of arbitrary bytes. The input is split at the byte
// 0x1E into: section, key, value, a second section, a key to delete, and the file's bytes.
// Beyond "no crash, no hang" it checks what a caller relies on: a text read and written
// back untouched is the same bytes, a written value reads back as the reading rules say,
// the key is listed once, a deleted key is gone, and the other keys of the section and of a
// second section keep their values.

#include "IniFile.h"
#include "IniText.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

constexpr char kSeparator = '\x1e';
const std::string kMissing = "\x01missing\x01";

const std::string& FilePath() {
    static const std::string path = [] {
        const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string folder = std::string(base) + "/zel-ini-fuzz-XXXXXX";
        if (::mkdtemp(folder.data()) == nullptr) std::abort();
        return folder + "/fuzz.ini";
    }();
    return path;
}

// The file and its folder go when the fuzzer ends.
void RemoveFile() {
    const std::string& file = FilePath();
    std::remove(file.c_str());
    ::rmdir(file.substr(0, file.rfind('/')).c_str());
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// What a reader must see of a value written as given.
std::string Expected(const std::string& written) {
    std::string v = Trim(written);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return v.substr(0, ini::kMaxValueLength);
}

bool OneLine(const std::string& s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

// A key whose line reads back as the same key: no '=' inside, not taken for a comment or
// a section header.
bool PlainKey(const std::string& key) {
    const std::string k = Trim(key);
    return OneLine(key) && k.find('=') == std::string::npos &&
           (k.empty() || (k.front() != ';' && k.front() != '['));
}

using Snapshot = std::map<std::string, std::string>; // folded key -> value

Snapshot Take(const std::string& path, const std::string& section, const std::string& skip) {
    Snapshot values;
    for (const std::string& key : ini::ReadKeys(path, section))
        if (Lower(key) != Lower(Trim(skip)))
            values[Lower(key)] = ini::ReadString(path, section, key, kMissing);
    return values;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() < 5) {
        const std::size_t stop = input.find(kSeparator, start);
        if (stop == std::string::npos) break;
        fields.push_back(input.substr(start, stop - start));
        start = stop + 1;
    }
    const std::string bytes = input.substr(fields.size() == 5 ? start : 0);
    fields.resize(5, "Config");
    const auto& [section, key, value, other, doomed] =
        std::tie(fields[0], fields[1], fields[2], fields[3], fields[4]);

    // Read and written back untouched, any text comes back byte for byte.
    Check(ini::IniText(bytes).Serialise() == bytes);

    const std::string& path = FilePath();
    static const bool cleanup = std::atexit(RemoveFile) == 0;
    (void)cleanup;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    const bool sameSection = Lower(Trim(section)) == Lower(Trim(other));
    const Snapshot sectionBefore = Take(path, section, key);
    const Snapshot otherBefore = Take(path, other, "");
    bool hadKey = false;
    for (const std::string& k : ini::ReadKeys(path, section))
        hadKey = hadKey || Lower(k) == Lower(Trim(key));

    // Writing.
    const bool writable = OneLine(section) && OneLine(key) && OneLine(value);
    const bool written = ini::WriteString(path, section, key, value);
    Check(written == writable);
    if (!written) {
        Check(Contents(path) == bytes);
    } else if (PlainKey(key)) {
        Check(ini::ReadString(path, section, key, kMissing) == Expected(value));
        const std::vector<std::string> keys = ini::ReadKeys(path, section);
        Check(keys.size() == sectionBefore.size() + 1);
        Check(hadKey || Lower(keys.back()) == Lower(Trim(key)));
        Check(Take(path, section, key) == sectionBefore);
        if (!sameSection) Check(Take(path, other, "") == otherBefore);
    }

    // Deleting.
    const Snapshot beforeDelete = Take(path, section, doomed);
    Check(ini::DeleteKey(path, section, doomed));
    Check(ini::ReadString(path, section, doomed, kMissing) == kMissing);
    Check(Take(path, section, doomed) == beforeDelete);
    if (!sameSection && written && PlainKey(key)) Check(Take(path, other, "") == otherBefore);
    return 0;
}
