#pragma once
// The music piece played from a recording of it (Ogg Vorbis rendered ahead of time), which
// the mixer streams from disk as its music: a few hundred kilobytes in memory instead of a
// synthesiser and its instruments.
//
// As with the synthesiser, the recording is opened on a thread of its own at low priority
// (see TThreadLoadedMusic). PLAY always starts the recording from its beginning, STOP
// silences it at once.

#include "ThreadLoadedMusic.h"

#include <functional>
#include <string>

struct _Mix_Music;

class TSdlStreamMusic final : public TThreadLoadedMusic {
  public:
    // As for TSdlMusic: mayOpen says whether the mixer isn't known to be unavailable, open
    // opens it on the loading thread, report passes a line to the device's observer.
    TSdlStreamMusic(std::function<bool()> mayOpen, std::function<bool()> open,
                    std::function<void(const std::string&)> report)
        : TThreadLoadedMusic(std::move(mayOpen), std::move(open), std::move(report)) {}
    ~TSdlStreamMusic() { Unload(); }

    // Starts opening the recording; piece is the file the music was asked for by, which the
    // observer is told of.
    bool Load(const std::string& recording, const std::string& piece) {
        return StartLoading(recording, piece);
    }

  private:
    void LoadInBackground() override;
    bool Ready() const override { return Music != nullptr; }
    void Start() override;
    void Silence() override;
    void FreeLoaded() override;

    // The mixer's calls on it are made holding Lock; the mixer's audio thread never takes it.
    _Mix_Music* Music = nullptr;
};
