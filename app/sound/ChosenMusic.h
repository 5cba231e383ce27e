#pragma once
// The music device's player: a MIDI piece with a recording of it beside it (the same name
// with ".ogg") is played from the recording, which sounds as the piece did with the large
// General MIDI bank for little memory; any other piece is synthesised (TSdlMusic).

#include "MediaCommand.h"
#include "SdlMusic.h"
#include "SdlStreamMusic.h"

#include <functional>
#include <string>

// The recording beside the piece: its path with the extension replaced by ".ogg", when that
// is a file that starts as an Ogg stream; else empty.
std::string RecordingBeside(const std::string& piece);

class TChosenMusic final : public TMusicPlayer {
  public:
    TChosenMusic(const std::function<bool()>& mayOpen, const std::function<bool()>& open,
                 const std::function<void(const std::string&)>& report)
        : Synthesised(mayOpen, open, report), Recorded(mayOpen, open, report) {}

    bool Load(const std::string& path) override;
    void PlayFromStart() override;
    void Stop() override;
    void Unload() override;
    // At exit: false when a load under way keeps the mixer open (see TThreadLoadedMusic).
    bool ReleaseForExit();
    bool StillLoading();

  private:
    TSdlMusic Synthesised;
    TSdlStreamMusic Recorded;
    bool FromRecording = false; // the open piece plays from its recording
};
