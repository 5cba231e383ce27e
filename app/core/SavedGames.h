#pragma once
// The saved positions file "kavrel.sav": 20 numbered places, each naming a saved game, and
// the position text kept under each name. Section "Save" holds the places (keys Game0 ..
// Game19, written under the lower-case header "save"); section "Game" holds one key per
// name whose value is the 64-character position text. The name is the link between the two,
// so two places with the same name share one position.
//
// Every call reads or writes the file through the INI layer and keeps nothing in memory.
// Values that begin or end with a blank (a position with an empty a8 or h1) are written in
// double quotes, which the INI layer strips on reading; values written without quotes read
// as well. Nothing here knows Qt.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace saved {

inline constexpr int kPlaces = 20;

// "Game" + place: the key of a place in section "Save".
std::string SlotKey(int place);
// "Game" + (place + 1): the name the save window suggests for an empty place.
std::string SuggestedName(int place);

// True for a 64-character text of piece letters "PNBRQKpnbrqk" and blanks.
bool IsPositionText(std::string_view text);

// True when name can be stored and read back as itself: not empty, no '=', '[', ']', ';'
// or control characters (line breaks among them), no blank at either end, and short enough
// for the INI layer to read back whole. Otherwise reason (when given) says why.
bool NameIsValid(std::string_view name, std::string* reason = nullptr);

// Compares names as the INI layer compares keys: without regard to ASCII case.
bool SameKey(std::string_view a, std::string_view b);

class TSavedGames {
  public:
    // The file at path; the program uses paths::SavedGamesFile().
    explicit TSavedGames(std::string path);
    const std::string& Path() const { return FPath; }

    // The name of each place; none for a place whose key is missing or empty.
    std::array<std::optional<std::string>, kPlaces> SlotNames() const;

    struct TUsedPlace {
        int Place;
        std::string Name;
    };
    // The places that hold a name, in place order.
    std::vector<TUsedPlace> UsedPlaces() const;

    // The position kept under name; none when there is no entry or its value is not a
    // position text (a damaged file).
    std::optional<std::string> PositionOf(const std::string& name) const;

    // True when a place other than place holds name (in any case), i.e. saving name into
    // place would replace a position another place shows.
    bool NameUsedElsewhere(int place, const std::string& name) const;

    // Writes name into place and position under name, replacing what either held. Refuses
    // (false, nothing written) a place outside 0..19, an invalid name or a value that is not
    // a position text. False as well when the file can't be written; the file then keeps
    // what it held before.
    bool Save(int place, const std::string& name, const std::string& position);

    // Empties place and removes its position unless another place still names it. True
    // when the file is as asked afterwards (also for a place already empty); false when it
    // can't be written.
    bool DeletePlace(int place);

  private:
    std::string FPath;
};

} // namespace saved
