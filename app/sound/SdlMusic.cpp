#include "SdlMusic.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <fstream>

namespace {

// A standard MIDI file, or one wrapped in a RIFF container.
bool LooksLikeMidi(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char tag[4] = {};
    if (!in.read(tag, sizeof tag)) return false;
    const std::string text(tag, sizeof tag);
    return text == "MThd" || text == "RIFF";
}

void PlayOnce(Mix_Music* music) {
    Mix_HaltMusic();
    Mix_PlayMusic(music, 0); // 0: once through, not repeated
}

} // namespace

bool TSdlMusic::Load(const std::string& path) {
    if (!Ready() || !LooksLikeMidi(path)) return false;
    Unload();
    {
        std::lock_guard guard(Lock);
        Path = path;
        Quit = Failed = PlayWhenLoaded = false;
    }
    Loader = SDL_CreateThread(&TSdlMusic::RunLoader, "zel-music", this);
    if (Loader == nullptr) {
        std::lock_guard guard(Lock);
        Path.clear();
        return false;
    }
    Report("music open " + path);
    return true;
}

int TSdlMusic::RunLoader(void* music) {
    static_cast<TSdlMusic*>(music)->LoadInBackground();
    return 0;
}

// Keeps a copy to play and a spare loaded until told to quit.
void TSdlMusic::LoadInBackground() {
    std::unique_lock lock(Lock);
    while (!Quit) {
        if (Failed || (Current != nullptr && Spare != nullptr)) {
            Wake.wait(lock);
            continue;
        }
        const std::string path = Path;
        LoadingNow = true;
        lock.unlock();
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        lock.lock();
        LoadingNow = false;
        if (music == nullptr) {
            Failed = true;
        } else if (Quit) {
            Mix_FreeMusic(music);
        } else if (Current == nullptr) {
            Current = music;
            CurrentUsed = PlayWhenLoaded;
            if (PlayWhenLoaded) PlayOnce(Current);
            PlayWhenLoaded = false;
        } else if (PlayWhenLoaded) {
            // A PLAY came while the used copy waited for this one.
            Mix_FreeMusic(Current);
            Current = music;
            PlayOnce(Current);
            PlayWhenLoaded = false;
        } else {
            Spare = music;
        }
    }
}

void TSdlMusic::PlayFromStart() {
    std::lock_guard guard(Lock);
    if (Path.empty()) return;
    if (Current == nullptr) {
        PlayWhenLoaded = !Failed;
    } else if (!CurrentUsed) {
        PlayOnce(Current);
    } else if (Spare != nullptr) {
        Mix_HaltMusic();
        Mix_FreeMusic(Current);
        Current = Spare;
        Spare = nullptr;
        PlayOnce(Current);
        Wake.notify_one(); // load the next spare
    } else {
        // The spare is still loading; it starts the moment it is ready.
        Mix_HaltMusic();
        PlayWhenLoaded = true;
    }
    CurrentUsed = Current != nullptr;
    Report("music play");
}

void TSdlMusic::Stop() {
    std::lock_guard guard(Lock);
    if (Path.empty()) return;
    PlayWhenLoaded = false;
    if (Current != nullptr) Mix_HaltMusic();
    Report("music stop");
}

void TSdlMusic::Unload() {
    {
        std::lock_guard guard(Lock);
        Quit = true;
    }
    Wake.notify_one();
    if (Loader != nullptr) SDL_WaitThread(Loader, nullptr);
    Loader = nullptr;
    std::lock_guard guard(Lock);
    if (Current != nullptr) Mix_FreeMusic(Current); // halts it first when it plays
    if (Spare != nullptr) Mix_FreeMusic(Spare);
    Current = Spare = nullptr;
    Path.clear();
    PlayWhenLoaded = false;
}

bool TSdlMusic::ReleaseForExit() {
    {
        std::lock_guard guard(Lock);
        if (LoadingNow) {
            Quit = true;
            if (Current != nullptr) Mix_HaltMusic();
            SDL_DetachThread(Loader);
            Loader = nullptr;
            return false;
        }
    }
    Unload();
    return true;
}

bool TSdlMusic::StillLoading() {
    std::lock_guard guard(Lock);
    return !Path.empty() && !Quit && !Failed && (Current == nullptr || Spare == nullptr);
}
