#pragma once
// The music piece for the media command interpreter when no recording of it lies beside it
// (see ChosenMusic): a MIDI file played by a FluidSynth synthesiser of our own, whose output
// the mixer takes in place of its music stream.
//
// The synthesiser loads from the instrument bank only the instruments the piece selects
// (read from the file beforehand), not the whole bank: a full General MIDI bank is well over
// 100 MB, the few instruments of one piece a small part of it. Loading still reads the disk,
// and opening the mixer the first time waits for the audio system, so both run on a thread
// of its own, at low priority: OPEN returns at once, and a PLAY that comes while the
// piece is still loading starts it as soon as it is ready (unless a STOP came in between).
// Every PLAY starts a fresh sequencer on the synthesiser after silencing it, so the piece
// always restarts cleanly from its beginning; the instruments stay loaded in between.

#include "MediaCommand.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct SDL_Thread;
struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;

class TSdlMusic final : public TMusicPlayer {
  public:
    // mayOpen says, without opening it, whether the mixer isn't known to be unavailable;
    // open opens the mixer if need be and says whether there is one, on the loading
    // thread; report passes a line to the device's observer on the caller's thread.
    TSdlMusic(std::function<bool()> mayOpen, std::function<bool()> open,
              std::function<void(const std::string&)> report)
        : MayOpen(std::move(mayOpen)), Open(std::move(open)), Report(std::move(report)) {}
    ~TSdlMusic() override { Unload(); }

    // Accepts a readable MIDI file and starts loading it.
    bool Load(const std::string& path) override;
    void PlayFromStart() override;
    void Stop() override;
    // Waits for a load under way, then frees the synthesiser.
    void Unload() override;
    // At exit: frees everything like Unload and answers true, unless a load is under way;
    // then the loading thread is left to the end of the process (which doesn't wait for
    // it) and the answer is false: the mixer must stay open for it.
    bool ReleaseForExit();
    // The piece is open and its synthesiser not ready yet.
    bool StillLoading();

  private:
    static int RunLoader(void* music);
    void LoadInBackground();
    // The mixer's music hook, on the audio thread.
    static void Render(void* music, std::uint8_t* stream, int length);
    void RenderLocked(std::int16_t* out, int frames, int channels);
    void StartPlayer(); // with Lock held
    void FreeSynth();   // with the hook removed

    std::function<bool()> MayOpen;
    std::function<bool()> Open;
    std::function<void(const std::string&)> Report;
    SDL_Thread* Loader = nullptr; // an SDL thread, so SDL frees its per-thread data at its end
    std::mutex Lock;              // guards everything below against the loader and the hook
    std::string Path;
    std::string Bank;              // the instrument bank's file
    std::vector<std::uint8_t> Piece; // the file's bytes, for each fresh sequencer
    std::vector<int> PieceChannels;   // the channels the piece plays on
    std::vector<int> DefaultChannels; // those that play their default instrument at first
    int FontId = -1;
    int Rate = 44100;
    int OutputChannels = 2;
    bool Quit = false;
    bool LoadingNow = false;     // the loader is at work
    bool Failed = false;         // the piece couldn't be loaded: don't try again
    bool PlayWhenLoaded = false; // start the piece as soon as the synthesiser is ready
    bool Audible = false;        // the hook passes the synthesiser's output on
    long QuietFrames = 0;        // frames to render unheard, letting the reverberation die
    _fluid_hashtable_t* Settings = nullptr; // fluid_settings_t
    _fluid_synth_t* Synth = nullptr;
    _fluid_player_t* Player = nullptr;
    std::vector<std::int16_t> Scratch; // the hook's stereo frames for other channel counts
};
