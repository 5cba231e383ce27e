#pragma once
// The music piece played from a recording of it (Ogg Vorbis rendered ahead of time), which
// the mixer streams from disk as its music: a few hundred kilobytes in memory instead of a
// synthesiser and its instruments.
//
// As with the synthesiser, opening the mixer the first time waits for the audio system, so
// the recording is opened on a thread of its own at low priority: Load returns at once, and
// a PLAY that comes while it is still opening starts it as soon as it is ready (unless a
// STOP came in between). PLAY always starts the recording from its beginning, STOP silences
// it at once.

#include <functional>
#include <mutex>
#include <string>

struct SDL_Thread;
struct _Mix_Music;

class TSdlStreamMusic {
  public:
    // As for TSdlMusic: mayOpen says whether the mixer isn't known to be unavailable, open
    // opens it on the loading thread, report passes a line to the device's observer.
    TSdlStreamMusic(std::function<bool()> mayOpen, std::function<bool()> open,
                    std::function<void(const std::string&)> report)
        : MayOpen(std::move(mayOpen)), Open(std::move(open)), Report(std::move(report)) {}
    ~TSdlStreamMusic() { Unload(); }

    // Starts opening the recording; piece is the file the music was asked for by, which the
    // observer is told of.
    bool Load(const std::string& recording, const std::string& piece);
    void PlayFromStart();
    void Stop();
    // Waits for an opening under way, then halts and frees the recording.
    void Unload();
    // At exit: as TSdlMusic::ReleaseForExit.
    bool ReleaseForExit();
    bool StillLoading();

  private:
    static int RunLoader(void* music);
    void LoadInBackground();

    std::function<bool()> MayOpen;
    std::function<bool()> Open;
    std::function<void(const std::string&)> Report;
    SDL_Thread* Loader = nullptr;
    // Guards everything below against the loader. The mixer's calls are made holding it;
    // the mixer's audio thread never takes it.
    std::mutex Lock;
    std::string Path; // the recording
    _Mix_Music* Music = nullptr;
    bool Quit = false;
    bool LoadingNow = false;
    bool Failed = false;
    bool PlayWhenLoaded = false;
};
