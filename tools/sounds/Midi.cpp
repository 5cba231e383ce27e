#include "Midi.h"

#include <algorithm>
#include <cmath>

namespace sounds {

namespace {

void PutBigEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size) {
    for (int i = size - 1; i >= 0; --i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutVariableLength(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        bytes.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    bytes.push_back(groups[0]);
}

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}

} // namespace

void TMidiTrack::Add(std::uint32_t tick, int rank, std::vector<std::uint8_t> bytes) {
    Events.push_back({tick, rank, static_cast<std::uint32_t>(Events.size()), std::move(bytes)});
}

void TMidiTrack::Name(std::uint32_t tick, const std::string& name) {
    std::vector<std::uint8_t> bytes = {0xFF, 0x03};
    PutVariableLength(bytes, static_cast<std::uint32_t>(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
    Add(tick, 0, std::move(bytes));
}

void TMidiTrack::Tempo(std::uint32_t tick, double beatsPerMinute) {
    const auto microseconds =
        static_cast<std::uint32_t>(std::lround(60'000'000.0 / beatsPerMinute));
    std::vector<std::uint8_t> bytes = {0xFF, 0x51, 0x03};
    PutBigEndian(bytes, microseconds, 3);
    Add(tick, 0, std::move(bytes));
}

void TMidiTrack::TimeSignature(std::uint32_t tick, int numerator, int denominator) {
    int power = 0;
    while ((1 << power) < denominator)
        ++power;
    Add(tick, 0, {0xFF, 0x58, 0x04, Byte(numerator), Byte(power), 24, 8});
}

void TMidiTrack::KeySignature(std::uint32_t tick, int sharps, bool minor) {
    Add(tick, 0,
        {0xFF, 0x59, 0x02, static_cast<std::uint8_t>(static_cast<std::int8_t>(sharps)),
         static_cast<std::uint8_t>(minor ? 1 : 0)});
}

void TMidiTrack::Program(std::uint32_t tick, int channel, int program) {
    Add(tick, 0, {static_cast<std::uint8_t>(0xC0 | (channel & 0x0F)), Byte(program)});
}

void TMidiTrack::Control(std::uint32_t tick, int channel, int controller, int value) {
    Add(tick, 0,
        {static_cast<std::uint8_t>(0xB0 | (channel & 0x0F)), Byte(controller), Byte(value)});
}

void TMidiTrack::Note(std::uint32_t tick, std::uint32_t duration, int channel, int key,
                      int velocity) {
    const auto status = static_cast<std::uint8_t>(channel & 0x0F);
    Add(tick, 2,
        {static_cast<std::uint8_t>(0x90 | status), Byte(key), Byte(std::max(1, velocity))});
    Add(tick + duration, 1, {static_cast<std::uint8_t>(0x80 | status), Byte(key), 64});
}

std::vector<std::uint8_t> TMidiTrack::Chunk() const {
    std::vector<TEvent> sorted = Events;
    std::sort(sorted.begin(), sorted.end(), [](const TEvent& a, const TEvent& b) {
        if (a.Tick != b.Tick) return a.Tick < b.Tick;
        if (a.Rank != b.Rank) return a.Rank < b.Rank;
        return a.Seq < b.Seq;
    });
    std::vector<std::uint8_t> body;
    std::uint32_t now = 0;
    for (const TEvent& e : sorted) {
        PutVariableLength(body, e.Tick - now);
        now = e.Tick;
        body.insert(body.end(), e.Bytes.begin(), e.Bytes.end());
    }
    PutVariableLength(body, std::max(EndTick, now) - now);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
    PutBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

std::vector<std::uint8_t> MidiFileBytes(const std::vector<TMidiTrack>& tracks,
                                        int ticksPerQuarter) {
    std::vector<std::uint8_t> bytes = {'M', 'T', 'h', 'd'};
    PutBigEndian(bytes, 6, 4);
    PutBigEndian(bytes, 1, 2); // type 1: tracks played together
    PutBigEndian(bytes, static_cast<std::uint32_t>(tracks.size()), 2);
    PutBigEndian(bytes, static_cast<std::uint32_t>(ticksPerQuarter), 2);
    for (const TMidiTrack& track : tracks) {
        const std::vector<std::uint8_t> chunk = track.Chunk();
        bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    }
    return bytes;
}

} // namespace sounds
