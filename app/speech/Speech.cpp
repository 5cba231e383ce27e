#include "Speech.h"

#include <QDeadlineTimer>
#include <QTextToSpeech>
#include <QThread>
#include <QTimer>

#include <algorithm>

QString TPhraseQueue::Offer(const QString& text) {
    if (text.isEmpty()) return {};
    if (FBusy) {
        FWaiting = text;
        return {};
    }
    FBusy = true;
    return text;
}

QString TPhraseQueue::Done() {
    FBusy = !FWaiting.isEmpty();
    QString next;
    next.swap(FWaiting);
    return next;
}

void TPhraseQueue::Clear() {
    FBusy = false;
    FWaiting.clear();
}

namespace {

// The platform's text-to-speech engine.
class TQtSpeechEngine : public TSpeechEngine {
  public:
    explicit TQtSpeechEngine(const QString& name)
        : FEngine(name.isEmpty() ? new QTextToSpeech : new QTextToSpeech(name)) {
        QObject::connect(FEngine.get(), &QTextToSpeech::stateChanged, FEngine.get(),
                         [this](QTextToSpeech::State s) {
                             if ((s == QTextToSpeech::Ready || s == QTextToSpeech::Error) && OnIdle)
                                 OnIdle();
                         });
        if (Usable()) SpeakEnglish();
    }
    bool Usable() const override { return FEngine->state() != QTextToSpeech::Error; }
    void Say(const QString& text) override { FEngine->say(text); }

  private:
    // The phrases are English whatever the desktop's language; the engine's choice for the
    // desktop's language (or for none, as under the C locale) may be a voice for another.
    void SpeakEnglish() {
        if (FEngine->locale().language() == QLocale::English) return;
        const QList<QLocale> locales = FEngine->availableLocales();
        const QLocale here(QLocale::English, QLocale().territory());
        const QLocale* english = nullptr;
        for (const QLocale& l : locales) {
            if (l.language() != QLocale::English) continue;
            if (english == nullptr || l.territory() == here.territory()) english = &l;
        }
        if (english != nullptr) FEngine->setLocale(*english);
    }

    std::unique_ptr<QTextToSpeech> FEngine;
};

} // namespace

// The engine and its queue, living on the speaker's thread.
class TVoice : public QObject {
  public:
    TVoice(TSpeechEngineMaker maker, std::shared_ptr<std::atomic<TVoiceState>> state)
        : FMaker(std::move(maker)), FState(std::move(state)) {
        FGuard.setSingleShot(true);
        connect(&FGuard, &QTimer::timeout, this, &TVoice::Finished);
    }
    ~TVoice() override {
        // An engine that tells of its end tells nobody.
        if (FEngine) FEngine->OnIdle = nullptr;
    }

    void Say(const QString& text) {
        if (!Start()) return;
        const QString now = FQueue.Offer(text);
        if (!now.isEmpty()) Speak(now);
    }

  private:
    bool Start() {
        if (!FStarted) {
            FStarted = true;
            FEngine = FMaker();
            if (FEngine) FEngine->OnIdle = [this] { Finished(); };
        }
        // An engine that failed stays silent from then on; asking it again can take as long
        // as its first try.
        const bool ok = FEngine && FEngine->Usable();
        *FState = ok ? TVoiceState::Ready : TVoiceState::Failed;
        if (!ok) {
            FQueue.Clear();
            FGuard.stop();
        }
        return ok;
    }

    void Speak(const QString& text) {
        // An engine that never tells the end of a phrase does not keep the voice busy for
        // long: a second, and a quarter of a second for every word.
        const int words = int(text.count(QLatin1Char(' '))) + 1;
        FGuard.start(std::min(1000 + 250 * words, 20000));
        FEngine->Say(text);
    }

    void Finished() {
        FGuard.stop();
        if (!FQueue.Busy()) return;
        const QString next = FQueue.Done();
        if (!next.isEmpty() && Start()) Speak(next);
    }

    TSpeechEngineMaker FMaker;
    std::shared_ptr<std::atomic<TVoiceState>> FState;
    bool FStarted = false;
    TPhraseQueue FQueue;
    QTimer FGuard{this};
    std::unique_ptr<TSpeechEngine> FEngine;
};

TTextToSpeechSpeaker::TTextToSpeechSpeaker(QString engine)
    : FMaker([engine = std::move(engine)] { return std::make_unique<TQtSpeechEngine>(engine); }) {}

TTextToSpeechSpeaker::TTextToSpeechSpeaker(TSpeechEngineMaker maker) : FMaker(std::move(maker)) {}

TTextToSpeechSpeaker::~TTextToSpeechSpeaker() {
    if (FThread == nullptr) return;
    // The voice and its engine go on their own thread, as the thread's loop ends.
    FThread->quit();
    if (FThread->wait(QDeadlineTimer(kEndWaitMs))) {
        delete FThread;
        return;
    }
    // The thread is held in a call to the speech service, and may be for ever: the window
    // does not wait for it. Should the call return, the thread ends and its object goes.
    QObject::connect(FThread, &QThread::finished, FThread, &QObject::deleteLater);
    if (FThread->isFinished()) FThread->deleteLater();
}

void TTextToSpeechSpeaker::Say(const QString& text) {
    if (FState->load() == TVoiceState::Failed) return;
    if (FThread == nullptr) {
        *FState = TVoiceState::Starting;
        FThread = new QThread;
        FThread->setObjectName(QStringLiteral("Speech"));
        FVoice = new TVoice(FMaker, FState);
        FVoice->moveToThread(FThread);
        QObject::connect(FThread, &QThread::finished, FVoice, &QObject::deleteLater);
        FThread->start();
    }
    QMetaObject::invokeMethod(
        FVoice, [voice = FVoice, text] { voice->Say(text); }, Qt::QueuedConnection);
}
