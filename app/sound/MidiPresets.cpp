#include "MidiPresets.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace {

constexpr int kPercussionChannel = 9;
constexpr int kPercussionBank = 128;

class TReader {
  public:
    TReader(const std::vector<std::uint8_t>& bytes, std::size_t begin, std::size_t end)
        : Bytes(bytes), At(begin), End(end) {}
    bool AtEnd() const { return At >= End; }
    bool Byte(std::uint8_t& value) {
        if (At >= End) return false;
        value = Bytes[At++];
        return true;
    }
    // A variable-length quantity: at most four bytes of seven bits.
    bool Number(std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t b = 0;
            if (!Byte(b)) return false;
            value = (value << 7) | (b & 0x7Fu);
            if ((b & 0x80u) == 0) return true;
        }
        return false;
    }
    bool Skip(std::uint32_t count) {
        if (count > End - At) return false;
        At += count;
        return true;
    }

  private:
    const std::vector<std::uint8_t>& Bytes;
    std::size_t At;
    std::size_t End;
};

std::uint32_t BigEndian32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | std::uint32_t{bytes[at + 3]};
}

bool ChunkIs(const std::vector<std::uint8_t>& bytes, std::size_t at, std::string_view tag) {
    return std::equal(tag.begin(), tag.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

struct TChannels {
    std::array<int, 16> BankMsb{};
    std::array<bool, 16> Selected{};
};

void Note(TMidiPresets& out, TChannels& channels, int channel) {
    if (channels.Selected[channel]) return;
    channels.Selected[channel] = true; // its default instrument from here on
    if (std::find(out.DefaultChannels.begin(), out.DefaultChannels.end(), channel) ==
        out.DefaultChannels.end())
        out.DefaultChannels.push_back(channel);
    const TMidiPreset preset{channel == kPercussionChannel ? kPercussionBank : 0, 0};
    if (std::find(out.Presets.begin(), out.Presets.end(), preset) == out.Presets.end())
        out.Presets.push_back(preset);
}

void Select(TMidiPresets& out, TChannels& channels, int channel, int program) {
    channels.Selected[channel] = true;
    const int bank = channel == kPercussionChannel ? kPercussionBank : channels.BankMsb[channel];
    const TMidiPreset preset{bank, program};
    if (std::find(out.Presets.begin(), out.Presets.end(), preset) == out.Presets.end())
        out.Presets.push_back(preset);
}

// One track's events; false at damage.
bool ReadTrack(TReader in, TMidiPresets& out, TChannels& channels) {
    std::uint8_t status = 0;
    while (!in.AtEnd()) {
        std::uint32_t delta = 0;
        std::uint8_t first = 0;
        if (!in.Number(delta) || !in.Byte(first)) return false;
        if (first == 0xFF) { // meta: type, length, data
            std::uint8_t type = 0;
            std::uint32_t length = 0;
            if (!in.Byte(type) || !in.Number(length) || !in.Skip(length)) return false;
            if (type == 0x2F) return true; // end of track
            continue;
        }
        if (first == 0xF0 || first == 0xF7) { // system exclusive: length, data
            std::uint32_t length = 0;
            if (!in.Number(length) || !in.Skip(length)) return false;
            continue;
        }
        std::uint8_t data1 = first;
        if ((first & 0x80u) != 0) {
            if (first >= 0xF0) return false; // not allowed in a file
            status = first;
            if (!in.Byte(data1)) return false;
        } else if (status == 0) {
            return false; // running status with nothing to run on
        }
        const int kind = status >> 4;
        const int channel = status & 0x0F;
        if (std::find(out.Channels.begin(), out.Channels.end(), channel) == out.Channels.end())
            out.Channels.push_back(channel);
        std::uint8_t data2 = 0;
        if (kind != 0xC && kind != 0xD && !in.Byte(data2)) return false;
        if (kind == 0x9 && data2 > 0) Note(out, channels, channel);
        if (kind == 0xB && data1 == 0) channels.BankMsb[channel] = data2 & 0x7F;
        if (kind == 0xC) Select(out, channels, channel, data1 & 0x7F);
    }
    return true;
}

} // namespace

TMidiPresets ReadMidiPresets(const std::vector<std::uint8_t>& file) {
    TMidiPresets out;
    TChannels channels;
    std::size_t at = 0;
    if (file.size() >= 8 && ChunkIs(file, 0, "RIFF")) at = 20; // RMID: the SMF inside "data"
    bool header = false;
    while (file.size() >= 8 && at <= file.size() - 8) {
        const std::uint32_t length = BigEndian32(file, at + 4);
        const std::size_t begin = at + 8;
        const std::size_t end = begin + std::min<std::size_t>(length, file.size() - begin);
        if (ChunkIs(file, at, "MThd")) {
            header = true;
        } else if (header && ChunkIs(file, at, "MTrk")) {
            if (!ReadTrack(TReader(file, begin, end), out, channels)) break;
        }
        if (length > file.size() - begin) break;
        at = end;
    }
    return out;
}
