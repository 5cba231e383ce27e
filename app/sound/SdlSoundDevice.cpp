// The system sound device over SDL2_mixer. The only unit that includes SDL.
//
// The device is made on first use and never destroyed, so that a sound call from another
// object's destructor at exit finds it alive; the mixer itself is closed by an exit handler,
// after which every call is silent.

#include "ChosenMusic.h"
#include "DefaultChime.h"
#include "MediaCommand.h"
#include "SoundDevice.h"
#include "SoundObserver.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <mutex>
#include <utility>

namespace {

constexpr int kFrequency = 44100;
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 512; // about 12 ms: an effect is heard right after its event
constexpr int kEffectChannel = 0;
constexpr Uint32 kSyncMarginMs = 250; // a synchronous effect never waits longer than this extra

class TSdlSoundDevice;
TSdlSoundDevice& Device();

class TSdlSoundDevice final : public TSoundDevice {
  public:
    // SDL's hints are read unguarded by its threads (a loader lowering its priority reads
    // them), so they are set here, before any thread of ours exists, never while one runs.
    TSdlSoundDevice() {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Chess Zel");
    }
    void PlaySound(const std::string& path, TSoundMode mode) override;
    void SendMediaCommand(const std::string& command) override { Media.Send(command); }

    // Opens the mixer on first use; false when there is no audio device (or after exit).
    // Reports "no device" once; called on the window's thread.
    bool Ready();
    // The same without reporting, from any thread: the music's loader opens the mixer on
    // its own thread, so that the window doesn't wait for the audio system at start-up.
    bool OpenQuietly();
    // False only once the mixer is known to be unavailable (or closed); opens nothing.
    bool MayOpen();
    void Report(const std::string& event) const {
        if (Observer) Observer(event);
    }
    void SetObserver(TSoundObserver observer) { Observer = std::move(observer); }
    bool MusicStillLoading() { return Music.StillLoading(); }
    void Shutdown();

  private:
    enum class TState { Untried, Open, Unavailable, Closed };

    bool OpenMixer();
    void StopEffect();
    void WaitForEffect();

    std::mutex OpenLock; // guards State
    TState State = TState::Untried;
    bool NoDeviceReported = false;
    TChosenMusic Music{[this] { return MayOpen(); }, [this] { return OpenQuietly(); },
                    [this](const std::string& e) { Report(e); }};
    TMediaInterpreter Media{Music};
    Mix_Chunk* Effect = nullptr; // the effect playing or played last, freed by the next
    std::string EffectName;
    Mix_Chunk* Chime = nullptr;
    TSoundObserver Observer;
};

void ShutdownAtExit() {
    Device().Shutdown();
}

bool TSdlSoundDevice::OpenMixer() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(kFrequency, MIX_DEFAULT_FORMAT, kOutputChannels, kBufferFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(1);
    std::atexit(ShutdownAtExit);
    return true;
}

bool TSdlSoundDevice::OpenQuietly() {
    std::lock_guard guard(OpenLock);
    if (State == TState::Untried) State = OpenMixer() ? TState::Open : TState::Unavailable;
    return State == TState::Open;
}

bool TSdlSoundDevice::Ready() {
    const bool open = OpenQuietly();
    bool report = false;
    {
        std::lock_guard guard(OpenLock);
        report = State == TState::Unavailable && !NoDeviceReported;
        NoDeviceReported = NoDeviceReported || report;
    }
    if (report) Report("no device");
    return open;
}

bool TSdlSoundDevice::MayOpen() {
    std::lock_guard guard(OpenLock);
    return State == TState::Untried || State == TState::Open;
}

void TSdlSoundDevice::StopEffect() {
    if (Mix_Playing(kEffectChannel) != 0) {
        Mix_HaltChannel(kEffectChannel);
        if (Effect != nullptr) Report("stopped " + EffectName);
    }
    // Halting holds the mixer's lock, so the chunk is no longer read once it returns.
    if (Effect != nullptr) Mix_FreeChunk(Effect);
    Effect = nullptr;
    EffectName.clear();
}

void TSdlSoundDevice::WaitForEffect() {
    int frequency = kFrequency;
    Uint16 format = MIX_DEFAULT_FORMAT;
    int channels = kOutputChannels;
    Mix_QuerySpec(&frequency, &format, &channels);
    const Uint32 bytesPerSecond = static_cast<Uint32>(frequency) * static_cast<Uint32>(channels) *
                                  SDL_AUDIO_BITSIZE(format) / 8;
    const Uint32 lengthMs =
        bytesPerSecond == 0 ? 0 : static_cast<Uint32>(Effect->alen * 1000ULL / bytesPerSecond);
    const Uint64 deadline = SDL_GetTicks64() + lengthMs + kSyncMarginMs;
    while (Mix_Playing(kEffectChannel) != 0 && SDL_GetTicks64() < deadline)
        SDL_Delay(1);
}

void TSdlSoundDevice::PlaySound(const std::string& path, TSoundMode mode) {
    if (!Ready()) return;
    StopEffect();
    Effect = Mix_LoadWAV(path.c_str());
    if (Effect != nullptr && Mix_PlayChannel(kEffectChannel, Effect, 0) == kEffectChannel) {
        EffectName = path;
        Report("started " + path);
        if (mode == TSoundMode::SyncNoDefault) {
            WaitForEffect();
            Report("finished " + path);
        }
        return;
    }
    if (Effect != nullptr) Mix_FreeChunk(Effect);
    Effect = nullptr;
    if (mode != TSoundMode::Async) return;
    if (Chime == nullptr) {
        const std::vector<std::uint8_t>& wave = DefaultChimeWave();
        Chime = Mix_LoadWAV_RW(SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size())), 1);
    }
    if (Chime != nullptr && Mix_PlayChannel(kEffectChannel, Chime, 0) == kEffectChannel)
        Report("chime");
}

void TSdlSoundDevice::Shutdown() {
    {
        std::lock_guard guard(OpenLock);
        if (State != TState::Open) return;
        State = TState::Closed;
    }
    Observer = nullptr; // its captures may be gone by now
    Mix_HaltChannel(-1);
    // A piece still loading keeps the mixer open; the process ends without waiting for it.
    if (!Music.ReleaseForExit()) return;
    if (Effect != nullptr) Mix_FreeChunk(Effect);
    if (Chime != nullptr) Mix_FreeChunk(Chime);
    Effect = Chime = nullptr;
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

TSdlSoundDevice& Device() {
    static TSdlSoundDevice* const device = new TSdlSoundDevice;
    return *device;
}

} // namespace

TSoundDevice& SystemSoundDevice() {
    return Device();
}

void SetSoundObserver(TSoundObserver observer) {
    Device().SetObserver(std::move(observer));
}

bool MusicStillLoading() {
    return Device().MusicStillLoading();
}
