#include "Chords.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <utility>

namespace sounds {

namespace {

int PitchClass(const std::string& text, std::size_t& pos) {
    static const int letters[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (pos >= text.size() || text[pos] < 'A' || text[pos] > 'G')
        throw std::invalid_argument("chord symbol: " + text);
    int pc = letters[text[pos++] - 'A'];
    if (pos < text.size() && text[pos] == '#')
        ++pc, ++pos;
    else if (pos < text.size() && text[pos] == 'b')
        --pc, ++pos;
    return (pc + 12) % 12;
}

std::vector<int> Quality(const std::string& name, const std::string& symbol) {
    static const std::pair<const char*, std::vector<int>> qualities[] = {
        {"", {0, 4, 7}},          {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}},    {"maj7", {0, 4, 7, 11}}, {"6", {0, 4, 7, 9}},
        {"m6", {0, 3, 7, 9}},     {"sus2", {0, 2, 7}},     {"sus4", {0, 5, 7}},
        {"7sus4", {0, 5, 7, 10}}, {"add9", {0, 4, 7, 2}},
    };
    for (const auto& [key, tones] : qualities)
        if (name == key) return tones;
    throw std::invalid_argument("chord symbol: " + symbol);
}

bool Contains(const std::vector<int>& keys, int pitchClass) {
    return std::any_of(keys.begin(), keys.end(), [&](int k) { return k % 12 == pitchClass; });
}

} // namespace

TChord ParseChord(const std::string& symbol) {
    std::size_t pos = 0;
    TChord chord;
    chord.Root = PitchClass(symbol, pos);
    const std::size_t slash = symbol.find('/', pos);
    chord.Tones = Quality(symbol.substr(pos, slash - pos), symbol);
    chord.Bass = chord.Root;
    if (slash != std::string::npos) {
        pos = slash + 1;
        chord.Bass = PitchClass(symbol, pos);
        if (pos != symbol.size()) throw std::invalid_argument("chord symbol: " + symbol);
    }
    return chord;
}

int KeyInRange(int pitchClass, int low) {
    return low + ((pitchClass - low) % 12 + 12) % 12;
}

std::vector<int> VoiceLead(const TChord& chord, const std::vector<int>& previous, int count,
                           int low, int high) {
    std::vector<int> candidates;
    for (int key = low; key <= high; ++key)
        for (int tone : chord.Tones)
            if (key % 12 == (chord.Root + tone) % 12) candidates.push_back(key);

    const int third = (chord.Root + chord.Tones[1]) % 12;
    const int distinct = std::min<int>(count, static_cast<int>(chord.Tones.size()));
    std::vector<int> best;
    long bestCost = std::numeric_limits<long>::max();
    std::vector<int> pick;
    // Every ascending choice of count candidates; the ranges used are small.
    auto search = [&](auto&& self, std::size_t from) -> void {
        if (static_cast<int>(pick.size()) == count) {
            if (!Contains(pick, chord.Root) || !Contains(pick, third)) return;
            std::vector<int> classes;
            for (int k : pick)
                if (std::find(classes.begin(), classes.end(), k % 12) == classes.end())
                    classes.push_back(k % 12);
            if (static_cast<int>(classes.size()) < distinct) return;
            long cost = 0;
            if (previous.size() == pick.size()) {
                for (std::size_t i = 0; i < pick.size(); ++i)
                    cost += std::abs(pick[i] - previous[i]);
            } else {
                // With nothing to lead from, sit in the middle of the range and keep it open.
                for (int k : pick)
                    cost += std::abs(k - (low + high) / 2);
            }
            if (cost < bestCost) bestCost = cost, best = pick;
            return;
        }
        for (std::size_t i = from; i < candidates.size(); ++i) {
            if (!pick.empty() && candidates[i] - pick.back() < 3) continue; // no seconds inside
            pick.push_back(candidates[i]);
            self(self, i + 1);
            pick.pop_back();
        }
    };
    search(search, 0);
    return best;
}

} // namespace sounds
