#include "SdlStreamMusic.h"

#include <SDL.h>
#include <SDL_mixer.h>

bool TSdlStreamMusic::Load(const std::string& recording, const std::string& piece) {
    if (!MayOpen()) return false;
    Unload();
    {
        std::lock_guard guard(Lock);
        Path = recording;
        Quit = Failed = PlayWhenLoaded = false;
        LoadingNow = true;
    }
    Loader = SDL_CreateThread(&TSdlStreamMusic::RunLoader, "zel-music", this);
    if (Loader == nullptr) {
        std::lock_guard guard(Lock);
        Path.clear();
        LoadingNow = false;
        return false;
    }
    Report("music open " + piece);
    return true;
}

int TSdlStreamMusic::RunLoader(void* music) {
    static_cast<TSdlStreamMusic*>(music)->LoadInBackground();
    return 0;
}

void TSdlStreamMusic::LoadInBackground() {
    // The piece is first asked for while the program starts: the window comes first.
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_LOW);
    std::string path;
    {
        std::lock_guard guard(Lock);
        path = Path;
    }
    // Only the stream's headers are read now; the rest as it plays.
    Mix_Music* music = Open() ? Mix_LoadMUS(path.c_str()) : nullptr;
    std::lock_guard guard(Lock);
    LoadingNow = false;
    if (Quit || music == nullptr) {
        Failed = !Quit;
        if (music != nullptr) Mix_FreeMusic(music);
        return;
    }
    Music = music;
    if (PlayWhenLoaded) Mix_PlayMusic(Music, 0);
    PlayWhenLoaded = false;
}

void TSdlStreamMusic::PlayFromStart() {
    std::lock_guard guard(Lock);
    if (Path.empty()) return;
    if (Music == nullptr)
        PlayWhenLoaded = !Failed;
    else
        Mix_PlayMusic(Music, 0); // halts the recording first if it plays
    Report("music play");
}

void TSdlStreamMusic::Stop() {
    std::lock_guard guard(Lock);
    if (Path.empty()) return;
    PlayWhenLoaded = false;
    if (Music != nullptr) Mix_HaltMusic();
    Report("music stop");
}

void TSdlStreamMusic::Unload() {
    {
        std::lock_guard guard(Lock);
        Quit = true;
    }
    if (Loader != nullptr) SDL_WaitThread(Loader, nullptr);
    Loader = nullptr;
    std::lock_guard guard(Lock);
    // Freeing halts the recording if it plays.
    if (Music != nullptr) Mix_FreeMusic(Music);
    Music = nullptr;
    Path.clear();
    PlayWhenLoaded = false;
}

bool TSdlStreamMusic::ReleaseForExit() {
    {
        std::lock_guard guard(Lock);
        if (LoadingNow) {
            Quit = true;
            SDL_DetachThread(Loader);
            Loader = nullptr;
            return false;
        }
    }
    Unload();
    return true;
}

bool TSdlStreamMusic::StillLoading() {
    std::lock_guard guard(Lock);
    return !Path.empty() && !Quit && !Failed && Music == nullptr;
}
