#include "SdlMusic.h"

#include "MidiPresets.h"
#include "SoundFonts.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

constexpr int kChannels = 16; // the channels a MIDI file plays on
constexpr int kPercussionChannel = 9;
constexpr int kPercussionBank = 128;
constexpr int kResetControllers = 121;
constexpr int kPitchBendCentre = 8192;
// After a STOP, and after the end of the piece, the synthesiser runs on this long so that
// its reverberation dies away (heard after the end, unheard after a STOP).
constexpr long kTailSeconds = 3;
// The synthesiser's overall gain. With the small General MIDI bank the piece then has the
// loudness it had with the large one (RMS near -23.5 dBFS, peaks near -7 dBFS), below
// the effects; the large bank plays it 2.8 dB softer.
constexpr double kGain = 0.87;
constexpr int kScratchFrames = 1024;

// A standard MIDI file, or one wrapped in a RIFF container.
bool LooksLikeMidi(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char tag[4] = {};
    if (!in.read(tag, sizeof tag)) return false;
    const std::string text(tag, sizeof tag);
    return text == "MThd" || text == "RIFF";
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The bank named first by the user's environment (SDL_SOUNDFONTS, a list separated by ';'),
// else the system's General MIDI bank.
std::string InstrumentBank() {
    const char* user = SDL_getenv("SDL_SOUNDFONTS");
    if (user != nullptr && *user != '\0') {
        const std::string list = user;
        return list.substr(0, list.find(';'));
    }
    return ChooseSoundFont(kSystemSoundFontFolder);
}

} // namespace

bool TSdlMusic::Load(const std::string& path) {
    return LooksLikeMidi(path) && StartLoading(path, path);
}

void TSdlMusic::PrepareLoad() {
    Bank = InstrumentBank();
}

// Opens the mixer, builds the synthesiser with the piece's instruments, then hands it to
// the mixer's hook.
void TSdlMusic::LoadInBackground() {
    Uint16 format = 0;
    int rate = 0, channels = 0;
    const bool mixer = Open() && Mix_QuerySpec(&rate, &format, &channels) != 0 &&
                       format == AUDIO_S16SYS && channels > 0;
    std::string path, bank;
    {
        std::lock_guard guard(Lock);
        if (!mixer) {
            KeepLoaded(false);
            return;
        }
        path = Path;
        bank = Bank;
        Rate = rate;
        OutputChannels = channels;
    }
    std::vector<std::uint8_t> piece = ReadFile(path);
    const TMidiPresets presets = ReadMidiPresets(piece);

    fluid_settings_t* settings = new_fluid_settings();
    fluid_synth_t* synth = nullptr;
    int font = FLUID_FAILED;
    if (settings != nullptr) {
        fluid_settings_setnum(settings, "synth.sample-rate", rate);
        fluid_settings_setnum(settings, "synth.gain", kGain);
        // Only the samples of instruments selected on some channel are read and kept.
        fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
        fluid_settings_setint(settings, "synth.lock-memory", 0);
        synth = new_fluid_synth(settings);
    }
    // No channel selects anything yet, so the bank's samples stay on disk.
    if (synth != nullptr && !bank.empty()) font = fluid_synth_sfload(synth, bank.c_str(), 0);
    if (font != FLUID_FAILED) {
        // The channels the piece leaves alone hold its instruments, so that their samples
        // stay loaded however the piece's own channels change programs and restart; else
        // they would be read from disk on the audio thread at the first note.
        auto holder = presets.Presets.begin();
        for (int channel = 0; channel < kChannels && holder != presets.Presets.end(); ++channel) {
            const bool used = std::find(presets.Channels.begin(), presets.Channels.end(),
                                        channel) != presets.Channels.end();
            if (used || channel == kPercussionChannel) continue;
            fluid_synth_program_select(synth, channel, font, holder->Bank, holder->Program);
            ++holder;
        }
    }

    bool ok = font != FLUID_FAILED && !piece.empty();
    {
        std::lock_guard guard(Lock);
        ok = KeepLoaded(ok);
        if (ok) {
            Settings = settings;
            Synth = synth;
            FontId = font;
            Piece = std::move(piece);
            PieceChannels = presets.Channels;
            DefaultChannels = presets.DefaultChannels;
            Scratch.assign(static_cast<std::size_t>(kScratchFrames) * 2, 0);
            PlayIfAsked();
        }
    }
    if (!ok) {
        if (synth != nullptr) delete_fluid_synth(synth);
        if (settings != nullptr) delete_fluid_settings(settings);
        return;
    }
    Mix_HookMusic(&TSdlMusic::Render, this);
}

void TSdlMusic::StartPlayer() {
    if (Player != nullptr) {
        fluid_player_stop(Player);
        delete_fluid_player(Player);
        Player = nullptr;
    }
    fluid_synth_all_sounds_off(Synth, -1);
    for (const int channel : PieceChannels) {
        fluid_synth_cc(Synth, channel, kResetControllers, 0);
        fluid_synth_pitch_bend(Synth, channel, kPitchBendCentre);
    }
    // A channel that plays before choosing an instrument starts on its default one.
    for (const int channel : DefaultChannels)
        fluid_synth_program_select(Synth, channel, FontId,
                                   channel == kPercussionChannel ? kPercussionBank : 0, 0);
    Player = new_fluid_player(Synth);
    if (Player == nullptr) return;
    fluid_player_add_mem(Player, Piece.data(), Piece.size());
    fluid_player_play(Player); // once through: the player doesn't loop by default
    Audible = true;
    QuietFrames = 0;
}

void TSdlMusic::Render(void* music, std::uint8_t* stream, int length) {
    auto* self = static_cast<TSdlMusic*>(music);
    std::lock_guard guard(self->Lock);
    const int channels = self->OutputChannels;
    self->RenderLocked(reinterpret_cast<std::int16_t*>(stream),
                       length / static_cast<int>(sizeof(std::int16_t)) / channels, channels);
}

// Fills the mixer's music stream (silence already) while the synthesiser has work.
void TSdlMusic::RenderLocked(std::int16_t* out, int frames, int channels) {
    if (Synth == nullptr || (!Audible && QuietFrames <= 0)) return;
    if (Audible && Player != nullptr && fluid_player_get_status(Player) == FLUID_PLAYER_DONE) {
        Audible = false;
        QuietFrames = -kTailSeconds * Rate; // the tail of the last notes is still heard
    }
    const bool heard = Audible || QuietFrames < 0;
    if (channels == 2) {
        fluid_synth_write_s16(Synth, frames, out, 0, 2, out, 1, 2);
        if (!heard) std::fill_n(out, frames * 2, std::int16_t{0});
    } else {
        for (int done = 0; done < frames;) {
            const int count = std::min(kScratchFrames, frames - done);
            std::int16_t* pair = Scratch.data();
            fluid_synth_write_s16(Synth, count, pair, 0, 2, pair, 1, 2);
            for (int i = 0; heard && i < count; ++i) {
                std::int16_t* frame = out + static_cast<std::ptrdiff_t>(done + i) * channels;
                if (channels == 1) {
                    frame[0] = static_cast<std::int16_t>((pair[2 * i] + pair[2 * i + 1]) / 2);
                } else {
                    frame[0] = pair[2 * i];
                    frame[1] = pair[2 * i + 1];
                }
            }
            done += count;
        }
    }
    if (!Audible) {
        // Counts down from either side towards zero.
        QuietFrames = QuietFrames < 0 ? std::min(0L, QuietFrames + frames)
                                      : std::max(0L, QuietFrames - frames);
    }
}

void TSdlMusic::Silence() {
    if (Synth != nullptr && Audible) {
        if (Player != nullptr) fluid_player_stop(Player);
        fluid_synth_all_sounds_off(Synth, -1);
        Audible = false;
        QuietFrames = kTailSeconds * Rate;
    } else if (QuietFrames < 0) {
        QuietFrames = -QuietFrames; // the end's tail goes on unheard
    }
}

void TSdlMusic::FreeSynth() {
    if (Player != nullptr) delete_fluid_player(Player);
    if (Synth != nullptr) delete_fluid_synth(Synth);
    if (Settings != nullptr) delete_fluid_settings(Settings);
    Player = nullptr;
    Synth = nullptr;
    Settings = nullptr;
    FontId = -1;
}

void TSdlMusic::DetachFromMixer() {
    bool hooked = false;
    {
        std::lock_guard guard(Lock);
        hooked = Synth != nullptr;
    }
    // Taking the hook away waits for a call of it under way; none comes after.
    if (hooked) Mix_HookMusic(nullptr, nullptr);
}

void TSdlMusic::FreeLoaded() {
    FreeSynth();
    Piece.clear();
    PieceChannels.clear();
    DefaultChannels.clear();
    Audible = false;
    QuietFrames = 0;
}
