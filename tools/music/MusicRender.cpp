#include "MusicRender.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace music {

namespace {

constexpr int kBlockFrames = 4096;
// After the last event the synthesiser runs on at most this long, until it falls silent.
constexpr double kTailSeconds = 4.0;
constexpr float kSilence = 1e-4f; // -80 dBFS
// The end is faded out over this long, whatever is still sounding then.
constexpr double kFadeSeconds = 0.5;

struct TFluid {
    fluid_settings_t* Settings = nullptr;
    fluid_synth_t* Synth = nullptr;
    fluid_player_t* Player = nullptr;
    ~TFluid() {
        if (Player != nullptr) delete_fluid_player(Player);
        if (Synth != nullptr) delete_fluid_synth(Synth);
        if (Settings != nullptr) delete_fluid_settings(Settings);
    }
};

void RenderBlock(fluid_synth_t* synth, TStereo& out, int frames) {
    const std::size_t at = out.Frames();
    out.Left.resize(at + static_cast<std::size_t>(frames));
    out.Right.resize(at + static_cast<std::size_t>(frames));
    fluid_synth_write_float(synth, frames, out.Left.data() + at, 0, 1, out.Right.data() + at,
                            0, 1);
}

// Cuts the silence after the last sound and fades the end out.
void FinishEnd(TStereo& audio) {
    std::size_t end = audio.Frames();
    while (end > 0 && std::abs(audio.Left[end - 1]) < kSilence &&
           std::abs(audio.Right[end - 1]) < kSilence)
        --end;
    audio.Left.resize(end);
    audio.Right.resize(end);
    const std::size_t fade = std::min(end, static_cast<std::size_t>(kFadeSeconds * kRate));
    for (std::size_t i = 0; i < fade; ++i) {
        // A raised cosine from 1 down to 0 at the last frame.
        const double x = static_cast<double>(i + 1) / static_cast<double>(fade);
        const auto gain = static_cast<float>(0.5 * (1.0 + std::cos(M_PI * x)));
        audio.Left[end - fade + i] *= gain;
        audio.Right[end - fade + i] *= gain;
    }
}

} // namespace

std::string LargeSoundFont() {
    return "/usr/share/sounds/sf2/FluidR3_GM.sf2";
}

TStereo RenderMidi(const std::string& midiPath, const std::string& bankPath) {
    TFluid fluid;
    fluid.Settings = new_fluid_settings();
    if (fluid.Settings == nullptr) return {};
    // Everything else, the reverb and chorus above all, keeps FluidSynth's defaults, as the
    // mixer's player did.
    fluid_settings_setnum(fluid.Settings, "synth.sample-rate", kRate);
    fluid_settings_setnum(fluid.Settings, "synth.gain", kGain);
    fluid_settings_setint(fluid.Settings, "synth.lock-memory", 0);
    fluid.Synth = new_fluid_synth(fluid.Settings);
    if (fluid.Synth == nullptr ||
        fluid_synth_sfload(fluid.Synth, bankPath.c_str(), 1) == FLUID_FAILED)
        return {};
    fluid.Player = new_fluid_player(fluid.Synth);
    if (fluid.Player == nullptr || fluid_player_add(fluid.Player, midiPath.c_str()) != FLUID_OK)
        return {};
    // Without an audio driver the player keeps time by the frames rendered: the same
    // rendering on every run.
    fluid_player_play(fluid.Player);
    TStereo audio;
    while (fluid_player_get_status(fluid.Player) == FLUID_PLAYER_PLAYING)
        RenderBlock(fluid.Synth, audio, kBlockFrames);
    if (audio.Frames() == 0) return {};
    const auto tailBlocks = static_cast<int>(kTailSeconds * kRate / kBlockFrames);
    for (int block = 0; block < tailBlocks; ++block) {
        const std::size_t at = audio.Frames();
        RenderBlock(fluid.Synth, audio, kBlockFrames);
        const bool quiet = std::all_of(audio.Left.begin() + static_cast<long>(at), audio.Left.end(),
                                       [](float v) { return std::abs(v) < kSilence; }) &&
                           std::all_of(audio.Right.begin() + static_cast<long>(at),
                                       audio.Right.end(),
                                       [](float v) { return std::abs(v) < kSilence; });
        if (quiet) break;
    }
    FinishEnd(audio);
    return audio;
}

} // namespace music
