#pragma once
// Profile files: small INI text files read and written one key at a time, the way the
// program keeps its settings ("Kavrel.ini") and its saved positions ("kavrel.sav").
//
// Every call opens the file, does its work and releases it; nothing is cached. Section and
// key names compare without regard to ASCII case. Reading strips the blanks around a value
// and then one pair of enclosing double quotes, and sees at most 2047 characters of it.
// Writing replaces an existing key in place, appends a new key at the end of its section
// (a new section at the end of the file), keeps every line it does not understand,
// comments and other sections as they are, reads CRLF files as well as LF ones, and
// replaces the whole file atomically (written beside it, then renamed), so a crash or a full
// disk never leaves a broken file. No call throws.

#include <string>
#include <vector>

namespace ini {

inline constexpr std::size_t kMaxValueLength = 2047;

// The value of key in section, or def when the file, the section or the key is missing.
std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& def);

// Stores value under key in section, creating the file and the section when missing.
// False when the file could not be written; the file is then unchanged.
bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value);

// Removes key from section. True when the file is as asked afterwards (also when the key
// was not there); false when it could not be written.
bool DeleteKey(const std::string& path, const std::string& section, const std::string& key);

// The key names of a section in file order (empty when the file or section is missing).
std::vector<std::string> ReadKeys(const std::string& path, const std::string& section);

} // namespace ini
