#pragma once
// The music piece over SDL2_mixer, for the media command interpreter.
//
// Loading a MIDI piece loads the instrument bank, which takes seconds the first time, so
// loading runs on a thread of its own: OPEN returns at once, and a PLAY that comes while the
// piece is still loading starts it as soon as it is ready (unless a STOP came in between).
// A player that has played once doesn't restart cleanly (the voices it was sounding come
// back for a moment and its timing wavers), so the thread keeps a fresh copy of the piece
// ready, and PLAY after the first starts that copy. Later copies share the loaded bank and
// take a fraction of a second.

#include "MediaCommand.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

struct _Mix_Music;
struct SDL_Thread;

class TSdlMusic final : public TMusicPlayer {
  public:
    // ready opens the mixer if need be and says whether there is one; report passes a line
    // to the device's observer. Both are called on the caller's thread only.
    TSdlMusic(std::function<bool()> ready, std::function<void(const std::string&)> report)
        : Ready(std::move(ready)), Report(std::move(report)) {}
    ~TSdlMusic() override { Unload(); }

    // Accepts a readable MIDI file and starts loading it.
    bool Load(const std::string& path) override;
    void PlayFromStart() override;
    void Stop() override;
    // Ends the loading thread (waiting for a load under way), then frees the piece.
    void Unload() override;
    // At exit: frees the piece like Unload and answers true, unless a load is under way;
    // then the loading thread is left to the end of the process (which doesn't wait for
    // it) and the answer is false: the mixer must stay open for it.
    bool ReleaseForExit();
    // The loading thread has a copy to load.
    bool StillLoading();

  private:
    static int RunLoader(void* music);
    void LoadInBackground();

    std::function<bool()> Ready;
    std::function<void(const std::string&)> Report;
    SDL_Thread* Loader = nullptr; // an SDL thread, so SDL frees its per-thread data at its end
    std::condition_variable Wake;
    std::mutex Lock; // guards everything below against the loader
    std::string Path;
    bool Quit = false;
    bool LoadingNow = false;       // the loader is inside Mix_LoadMUS
    bool Failed = false;           // the file couldn't be loaded: don't try again
    _Mix_Music* Current = nullptr; // the copy that plays
    bool CurrentUsed = false;      // it has been started once
    _Mix_Music* Spare = nullptr;   // a fresh copy for the next PLAY
    bool PlayWhenLoaded = false;   // start the copy being loaded as soon as it is ready
};
