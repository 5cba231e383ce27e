#pragma once
// What the program needs of the platform's sound: the simple sound call with its two modes,
// and the media command strings that play the music. The main window talks only to this
// interface; the real device plays through SDL2_mixer, and tests put a recording one in its
// place.

#include <string>

enum class TSoundMode {
    // Returns when the sound has finished; a file that can't be played plays nothing.
    SyncNoDefault,
    // Returns at once; a file that can't be played plays the default chime instead.
    Async,
};

class TSoundDevice {
  public:
    virtual ~TSoundDevice() = default;
    // Plays one effect from its full path; an effect still playing is stopped first.
    // Failures are silent.
    virtual void PlaySound(const std::string& path, TSoundMode mode) = 0;
    // One media command string ("OPEN <file> TYPE SEQUENCER ALIAS MUSICA",
    // "PLAY MUSICA FROM 0", "STOP MUSICA", "CLOSE ANIMATION"). Results are ignored.
    virtual void SendMediaCommand(const std::string& command) = 0;
};

// The program's device over SDL2_mixer, opened on first use. Without any audio device it
// stays silent and reports nothing.
TSoundDevice& SystemSoundDevice();
