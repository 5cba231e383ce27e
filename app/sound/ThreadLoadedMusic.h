#pragma once
// A piece of music that is loaded on a thread of its own, at low priority: opening the mixer
// the first time waits for the audio system, and the piece is first asked for while the
// program starts. Load returns at once; a PLAY that comes while the piece is still loading
// starts it as soon as it is ready (unless a STOP came in between); Unload waits for a load
// under way. This class keeps that state and reports the media commands to the observer;
// a subclass loads the piece and plays it (TSdlMusic, TSdlStreamMusic).
//
// A subclass's destructor calls Unload, which calls back into it.

#include <functional>
#include <mutex>
#include <string>
#include <utility>

struct SDL_Thread;

class TThreadLoadedMusic {
  public:
    TThreadLoadedMusic(const TThreadLoadedMusic&) = delete;
    TThreadLoadedMusic& operator=(const TThreadLoadedMusic&) = delete;

    void PlayFromStart();
    void Stop();
    // Waits for a load under way, then frees the piece.
    void Unload();
    // At exit: frees everything like Unload and answers true, unless a load is under way;
    // then the loading thread is left to the end of the process (which doesn't wait for
    // it) and the answer is false: the mixer must stay open for it.
    bool ReleaseForExit();
    // The piece is open and not ready yet.
    bool StillLoading();

  protected:
    // mayOpen says, without opening it, whether the mixer isn't known to be unavailable;
    // open opens the mixer if need be and says whether there is one, on the loading
    // thread; report passes a line to the device's observer on the caller's thread.
    TThreadLoadedMusic(std::function<bool()> mayOpen, std::function<bool()> open,
                       std::function<void(const std::string&)> report)
        : Open(std::move(open)), MayOpen(std::move(mayOpen)), Report(std::move(report)) {}
    ~TThreadLoadedMusic() = default;

    // Unloads what was open and starts loading path, telling the observer it opened shown.
    bool StartLoading(const std::string& path, const std::string& shown);
    // On the loader, with Lock held, once it has loaded or failed: whether what it loaded is
    // to be kept; it isn't when it failed (then the piece won't be tried again) or when an
    // Unload came meanwhile.
    bool KeepLoaded(bool loaded);
    // With Lock held, once what was loaded is in place: starts it if a PLAY came meanwhile.
    void PlayIfAsked();

    // With Lock held, before the loader starts.
    virtual void PrepareLoad() {}
    // On the loader, after it lowered its priority.
    virtual void LoadInBackground() = 0;
    // With Lock held: the piece is loaded.
    virtual bool Ready() const = 0;
    // With Lock held, the piece loaded: plays it from its beginning.
    virtual void Start() = 0;
    // With Lock held, on a STOP of the open piece.
    virtual void Silence() = 0;
    // With Lock held, when ReleaseForExit leaves the loader to the end of the process.
    virtual void MuteForExit() {}
    // Without Lock held, in Unload after the loader ended.
    virtual void DetachFromMixer() {}
    // With Lock held, in Unload after DetachFromMixer: frees what was loaded.
    virtual void FreeLoaded() = 0;

    std::function<bool()> Open;
    std::mutex Lock;  // guards Path and the state below, and a subclass's against the loader
    std::string Path; // the file being loaded or loaded

  private:
    static int RunLoader(void* music);

    std::function<bool()> MayOpen;
    std::function<void(const std::string&)> Report;
    SDL_Thread* Loader = nullptr; // an SDL thread, so SDL frees its per-thread data at its end
    bool Quit = false;
    bool LoadingNow = false;     // the loader is at work
    bool Failed = false;         // the piece couldn't be loaded: don't try again
    bool PlayWhenLoaded = false; // start the piece as soon as it is ready
};
