#include "ThreadLoadedMusic.h"

#include <SDL.h>

bool TThreadLoadedMusic::StartLoading(const std::string& path, const std::string& shown) {
    if (!MayOpen()) return false;
    Unload();
    {
        std::lock_guard guard(Lock);
        Path = path;
        PrepareLoad();
        Quit = Failed = PlayWhenLoaded = false;
        LoadingNow = true;
    }
    Loader = SDL_CreateThread(&TThreadLoadedMusic::RunLoader, "zel-music", this);
    if (Loader == nullptr) {
        std::lock_guard guard(Lock);
        Path.clear();
        LoadingNow = false;
        return false;
    }
    Report("music open " + shown);
    return true;
}

int TThreadLoadedMusic::RunLoader(void* music) {
    // The piece is first asked for while the program starts: the window comes first.
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_LOW);
    static_cast<TThreadLoadedMusic*>(music)->LoadInBackground();
    return 0;
}

bool TThreadLoadedMusic::KeepLoaded(bool loaded) {
    LoadingNow = false;
    if (Quit || !loaded) {
        Failed = !Quit;
        return false;
    }
    return true;
}

void TThreadLoadedMusic::PlayIfAsked() {
    if (PlayWhenLoaded) Start();
    PlayWhenLoaded = false;
}

void TThreadLoadedMusic::PlayFromStart() {
    std::lock_guard guard(Lock);
    if (Path.empty()) return;
    if (!Ready())
        PlayWhenLoaded = !Failed;
    else
        Start();
    Report("music play");
}

void TThreadLoadedMusic::Stop() {
    std::lock_guard guard(Lock);
    if (Path.empty()) return;
    PlayWhenLoaded = false;
    Silence();
    Report("music stop");
}

void TThreadLoadedMusic::Unload() {
    {
        std::lock_guard guard(Lock);
        Quit = true;
    }
    if (Loader != nullptr) SDL_WaitThread(Loader, nullptr);
    Loader = nullptr;
    DetachFromMixer();
    std::lock_guard guard(Lock);
    FreeLoaded();
    Path.clear();
    PlayWhenLoaded = false;
}

bool TThreadLoadedMusic::ReleaseForExit() {
    {
        std::lock_guard guard(Lock);
        if (LoadingNow) {
            Quit = true;
            MuteForExit();
            SDL_DetachThread(Loader);
            Loader = nullptr;
            return false;
        }
    }
    Unload();
    return true;
}

bool TThreadLoadedMusic::StillLoading() {
    std::lock_guard guard(Lock);
    return !Path.empty() && !Quit && !Failed && !Ready();
}
