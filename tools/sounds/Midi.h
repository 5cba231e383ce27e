#pragma once
// A standard MIDI file writer: tracks of timed events, written as a type 1 file.

#include <cstdint>
#include <string>
#include <vector>

namespace sounds {

class TMidiTrack {
  public:
    void Name(std::uint32_t tick, const std::string& name);
    void Tempo(std::uint32_t tick, double beatsPerMinute);
    void TimeSignature(std::uint32_t tick, int numerator, int denominator);
    void KeySignature(std::uint32_t tick, int sharps, bool minor);
    void Program(std::uint32_t tick, int channel, int program);
    void Control(std::uint32_t tick, int channel, int controller, int value);
    // A note from tick for duration ticks; velocity 1..127.
    void Note(std::uint32_t tick, std::uint32_t duration, int channel, int key, int velocity);
    // The tick of the end-of-track event; it never comes before the last event.
    void End(std::uint32_t tick) { EndTick = tick; }

    // The track's MTrk chunk. Events at one tick go in the order: meta and control events,
    // then note-offs, then note-ons, each kind in the order it was added.
    std::vector<std::uint8_t> Chunk() const;

  private:
    struct TEvent {
        std::uint32_t Tick;
        int Rank;          // 0 meta and control, 1 note off, 2 note on
        std::uint32_t Seq; // order of adding, to keep the sort stable
        std::vector<std::uint8_t> Bytes;
    };
    void Add(std::uint32_t tick, int rank, std::vector<std::uint8_t> bytes);

    std::vector<TEvent> Events;
    std::uint32_t EndTick = 0;
};

// A type 1 file: the tracks in order, the first holding tempo and metre.
std::vector<std::uint8_t> MidiFileBytes(const std::vector<TMidiTrack>& tracks, int ticksPerQuarter);

} // namespace sounds
