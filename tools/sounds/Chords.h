#pragma once
// Chord symbols for the music's score ("G", "D/F#", "Am7", "D7sus4", "Cm6") and the note
// choices an arrangement makes from them.

#include <string>
#include <vector>

namespace sounds {

struct TChord {
    int Root = 0;           // pitch class, C = 0
    std::vector<int> Tones; // intervals above the root, the root's 0 first
    int Bass = 0;           // pitch class of the lowest note
};

// Reads a symbol: a letter, an optional # or b, a quality ("", m, 7, m7, maj7, 6, m6, sus2,
// sus4, 7sus4, add9) and an optional slash bass. An unknown symbol is a programming error
// and throws std::invalid_argument.
TChord ParseChord(const std::string& symbol);

// The MIDI key of the given pitch class within [low, low + 11].
int KeyInRange(int pitchClass, int low);

// A voicing of count notes from the chord within [low, high], chosen to move as little as
// possible from the previous voicing (empty at the start) while holding the root and the
// chord's third (or suspension) and no doubled pitch classes where the chord has enough.
std::vector<int> VoiceLead(const TChord& chord, const std::vector<int>& previous, int count,
                           int low, int high);

} // namespace sounds
