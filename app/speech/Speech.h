#pragma once
// Speaking short phrases aloud. TSpeaker is what the rest of the program talks to. The
// text-to-speech speaker starts its engine the first time it is asked to say something, so
// a program that never speaks never starts one, and it keeps the engine on a thread of its
// own: reaching the speech service (and starting it) can take seconds, and the window does
// not wait for that. Phrases do not pile up: while one is being spoken, only the latest
// phrase asked for waits to follow it. Nor does the window wait for a speech service that
// never answers when the speaker goes: its thread is left to end by itself.

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QThread;
class TVoice;

class TSpeaker {
  public:
    virtual ~TSpeaker() = default;
    virtual void Say(const QString& text) = 0;
};

// The order of phrases for a voice that speaks one at a time: a phrase offered while the
// voice is busy waits, and replaces any phrase already waiting.
class TPhraseQueue {
  public:
    // The phrase to speak now, or an empty text when it has to wait.
    QString Offer(const QString& text);
    // The voice has finished: the waiting phrase to speak now, or an empty text.
    QString Done();
    bool Busy() const { return FBusy; }
    // Forgets the waiting phrase and takes the voice for free.
    void Clear();

  private:
    bool FBusy = false;
    QString FWaiting;
};

enum class TVoiceState { NotStarted, Starting, Ready, Failed };

// What a voice speaks through. Made, used and destroyed on the speaker's thread, where any
// of the three may take as long as the speech service makes it.
class TSpeechEngine {
  public:
    virtual ~TSpeechEngine() = default;
    // False when the engine cannot speak; the voice is silent from then on.
    virtual bool Usable() const = 0;
    virtual void Say(const QString& text) = 0;
    // Set by the voice: the engine calls it when a phrase is over, or when it fails.
    std::function<void()> OnIdle;
};
using TSpeechEngineMaker = std::function<std::unique_ptr<TSpeechEngine>()>;

class TTextToSpeechSpeaker : public TSpeaker {
  public:
    // engine: the text-to-speech engine's name; empty for the system's default.
    explicit TTextToSpeechSpeaker(QString engine = {});
    // A speaker over engines made by maker, on the speaker's thread.
    explicit TTextToSpeechSpeaker(TSpeechEngineMaker maker);
    ~TTextToSpeechSpeaker() override;
    TTextToSpeechSpeaker(const TTextToSpeechSpeaker&) = delete;
    TTextToSpeechSpeaker& operator=(const TTextToSpeechSpeaker&) = delete;

    // Returns at once; the phrase is spoken on the speaker's thread.
    void Say(const QString& text) override;
    // Failed: no engine, or one that cannot speak; the speaker is silent from then on.
    TVoiceState State() const { return FState->load(); }

    // How long the speaker's end waits for its thread; a thread still busy then (in a call
    // to a speech service that does not answer) is left to end by itself.
    static constexpr int kEndWaitMs = 300;

  private:
    TSpeechEngineMaker FMaker;
    // Shared with the voice, which may outlive the speaker.
    std::shared_ptr<std::atomic<TVoiceState>> FState =
        std::make_shared<std::atomic<TVoiceState>>(TVoiceState::NotStarted);
    QThread* FThread = nullptr;
    TVoice* FVoice = nullptr;
};
