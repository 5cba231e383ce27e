#include "SdlStreamMusic.h"

#include <SDL.h>
#include <SDL_mixer.h>

void TSdlStreamMusic::LoadInBackground() {
    std::string path;
    {
        std::lock_guard guard(Lock);
        path = Path;
    }
    // Only the stream's headers are read now; the rest as it plays.
    Mix_Music* music = Open() ? Mix_LoadMUS(path.c_str()) : nullptr;
    std::lock_guard guard(Lock);
    if (!KeepLoaded(music != nullptr)) {
        if (music != nullptr) Mix_FreeMusic(music);
        return;
    }
    Music = music;
    PlayIfAsked();
}

void TSdlStreamMusic::Start() {
    Mix_PlayMusic(Music, 0); // halts the recording first if it plays
}

void TSdlStreamMusic::Silence() {
    if (Music != nullptr) Mix_HaltMusic();
}

void TSdlStreamMusic::FreeLoaded() {
    // Freeing halts the recording if it plays.
    if (Music != nullptr) Mix_FreeMusic(Music);
    Music = nullptr;
}
