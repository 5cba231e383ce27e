#pragma once
// Speaking short phrases aloud. TSpeaker is what the rest of the program talks to. The
// text-to-speech speaker starts its engine the first time it is asked to say something, so
// a program that never speaks never starts one, and it keeps the engine on a thread of its
// own: reaching the speech service (and starting it) can take seconds, and the window does
// not wait for that. Phrases do not pile up: while one is being spoken, only the latest
// phrase asked for waits to follow it.

#include <QString>

#include <atomic>

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

class TTextToSpeechSpeaker : public TSpeaker {
  public:
    // engine: the text-to-speech engine's name; empty for the system's default.
    explicit TTextToSpeechSpeaker(QString engine = {});
    ~TTextToSpeechSpeaker() override;
    TTextToSpeechSpeaker(const TTextToSpeechSpeaker&) = delete;
    TTextToSpeechSpeaker& operator=(const TTextToSpeechSpeaker&) = delete;

    // Returns at once; the phrase is spoken on the speaker's thread.
    void Say(const QString& text) override;
    // Failed: no engine, or one that cannot speak; the speaker is silent from then on.
    TVoiceState State() const { return FState.load(); }

  private:
    QString FEngineName;
    std::atomic<TVoiceState> FState{TVoiceState::NotStarted};
    QThread* FThread = nullptr;
    TVoice* FVoice = nullptr;
};
