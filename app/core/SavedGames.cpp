#include "SavedGames.h"

#include "IniFile.h"

#include <algorithm>

namespace saved {

namespace {

// The window that saves writes the places under the lower-case header; both windows read
// them as "Save". Section names compare without regard to case, so both are one section.
constexpr const char* kSaveWrite = "save";
constexpr const char* kSaveRead = "Save";
constexpr const char* kGame = "Game";

constexpr std::string_view kPieceLetters = "PNBRQKpnbrqk ";

bool IsBlankOrQuote(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '"';
}

// Reading strips the blanks around a value and then one pair of enclosing quotes; a value
// that begins or ends with either is wrapped in quotes so that it comes back unchanged.
std::string Stored(const std::string& value) {
    if (value.empty() || (!IsBlankOrQuote(value.front()) && !IsBlankOrQuote(value.back())))
        return value;
    return '"' + value + '"';
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ValidPlace(int place) {
    return place >= 0 && place < kPlaces;
}

bool HasKey(const std::string& path, const char* section, const std::string& key) {
    const auto keys = ini::ReadKeys(path, section);
    return std::any_of(keys.begin(), keys.end(),
                       [&](const std::string& k) { return SameKey(k, key); });
}

} // namespace

std::string SlotKey(int place) {
    return "Game" + std::to_string(place);
}

std::string SuggestedName(int place) {
    return "Game" + std::to_string(place + 1);
}

bool IsPositionText(std::string_view text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return kPieceLetters.find(c) != std::string_view::npos;
           });
}

bool NameIsValid(std::string_view name, std::string* reason) {
    const auto refuse = [&](const char* why) {
        if (reason) *reason = why;
        return false;
    };
    if (name.empty()) return refuse("Please enter a name.");
    if (name.size() > ini::kMaxValueLength) return refuse("That name is too long.");
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return refuse("A name can't hold line breaks or other control characters.");
        if (c == '=' || c == '[' || c == ']' || c == ';')
            return refuse("A name can't hold the characters = [ ] ;");
    }
    if (name.front() == ' ' || name.back() == ' ')
        return refuse("A name can't begin or end with a blank.");
    return true;
}

bool SameKey(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

TSavedGames::TSavedGames(std::string path) : FPath(std::move(path)) {}

std::array<std::optional<std::string>, kPlaces> TSavedGames::SlotNames() const {
    std::array<std::optional<std::string>, kPlaces> names;
    for (int place = 0; place < kPlaces; ++place) {
        std::string name = ini::ReadString(FPath, kSaveRead, SlotKey(place), "");
        if (!name.empty()) names[static_cast<std::size_t>(place)] = std::move(name);
    }
    return names;
}

std::vector<TSavedGames::TUsedPlace> TSavedGames::UsedPlaces() const {
    std::vector<TUsedPlace> used;
    const auto names = SlotNames();
    for (int place = 0; place < kPlaces; ++place)
        if (const auto& name = names[static_cast<std::size_t>(place)])
            used.push_back({place, *name});
    return used;
}

std::optional<std::string> TSavedGames::PositionOf(const std::string& name) const {
    if (name.empty()) return std::nullopt;
    std::string text = ini::ReadString(FPath, kGame, name, "");
    if (!IsPositionText(text)) return std::nullopt;
    return text;
}

bool TSavedGames::NameUsedElsewhere(int place, const std::string& name) const {
    const auto names = SlotNames();
    for (int other = 0; other < kPlaces; ++other) {
        const auto& n = names[static_cast<std::size_t>(other)];
        if (other != place && n && SameKey(*n, name)) return true;
    }
    return false;
}

bool TSavedGames::Save(int place, const std::string& name, const std::string& position) {
    if (!ValidPlace(place) || !NameIsValid(name) || !IsPositionText(position)) return false;
    const std::string key = SlotKey(place);
    // Kept to put the place back when the position can't be written after its name was.
    const bool hadName = HasKey(FPath, kSaveRead, key);
    const std::string oldName = ini::ReadString(FPath, kSaveRead, key, "");

    // 1. The name into the place.
    if (!ini::WriteString(FPath, kSaveWrite, key, Stored(name))) return false;
    // 2. The position under the name.
    if (ini::WriteString(FPath, kGame, name, Stored(position))) return true;
    if (hadName)
        ini::WriteString(FPath, kSaveWrite, key, Stored(oldName));
    else
        ini::DeleteKey(FPath, kSaveWrite, key);
    return false;
}

bool TSavedGames::DeletePlace(int place) {
    if (!ValidPlace(place)) return false;
    const auto names = SlotNames();
    const auto& name = names[static_cast<std::size_t>(place)];
    if (!ini::DeleteKey(FPath, kSaveRead, SlotKey(place))) return false;
    if (!name || NameUsedElsewhere(place, *name)) return true;
    return ini::DeleteKey(FPath, kGame, *name);
}

} // namespace saved
