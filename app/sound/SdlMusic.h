#pragma once
// The music piece for the media command interpreter when no recording of it lies beside it
// (see ChosenMusic): a MIDI file played by a FluidSynth synthesiser of our own, whose output
// the mixer takes in place of its music stream.
//
// The synthesiser loads from the instrument bank only the instruments the piece selects
// (read from the file beforehand), not the whole bank: a full General MIDI bank is well over
// 100 MB, the few instruments of one piece a small part of it. Loading still reads the disk,
// so it runs on a thread of its own (see TThreadLoadedMusic). Every PLAY starts a fresh
// sequencer on the synthesiser after silencing it, so the piece always restarts cleanly from
// its beginning; the instruments stay loaded in between.

#include "MediaCommand.h"
#include "ThreadLoadedMusic.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;

class TSdlMusic final : public TMusicPlayer, public TThreadLoadedMusic {
  public:
    // As for TThreadLoadedMusic.
    TSdlMusic(std::function<bool()> mayOpen, std::function<bool()> open,
              std::function<void(const std::string&)> report)
        : TThreadLoadedMusic(std::move(mayOpen), std::move(open), std::move(report)) {}
    ~TSdlMusic() override { Unload(); }

    // Accepts a readable MIDI file and starts loading it.
    bool Load(const std::string& path) override;
    void PlayFromStart() override { TThreadLoadedMusic::PlayFromStart(); }
    void Stop() override { TThreadLoadedMusic::Stop(); }
    // Waits for a load under way, then frees the synthesiser.
    void Unload() override { TThreadLoadedMusic::Unload(); }

  private:
    void PrepareLoad() override;
    void LoadInBackground() override;
    bool Ready() const override { return Synth != nullptr; }
    void Start() override { StartPlayer(); }
    void Silence() override;
    void MuteForExit() override { Audible = false; }
    void DetachFromMixer() override;
    void FreeLoaded() override;
    // The mixer's music hook, on the audio thread.
    static void Render(void* music, std::uint8_t* stream, int length);
    void RenderLocked(std::int16_t* out, int frames, int channels);
    void StartPlayer(); // with Lock held
    void FreeSynth();   // with the hook removed

    // Guarded by Lock against the loader and the hook.
    std::string Bank;                 // the instrument bank's file
    std::vector<std::uint8_t> Piece;  // the file's bytes, for each fresh sequencer
    std::vector<int> PieceChannels;   // the channels the piece plays on
    std::vector<int> DefaultChannels; // those that play their default instrument at first
    int FontId = -1;
    int Rate = 44100;
    int OutputChannels = 2;
    bool Audible = false; // the hook passes the synthesiser's output on
    long QuietFrames = 0; // frames to render unheard, letting the reverberation die
    _fluid_hashtable_t* Settings = nullptr; // fluid_settings_t
    _fluid_synth_t* Synth = nullptr;
    _fluid_player_t* Player = nullptr;
    std::vector<std::int16_t> Scratch; // the hook's stereo frames for other channel counts
};
