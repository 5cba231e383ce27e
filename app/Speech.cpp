#include "Speech.h"

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

// The engine and its queue, living on the speaker's thread.
class TVoice : public QObject {
  public:
    TVoice(QString engine, std::atomic<TVoiceState>& state)
        : FEngineName(std::move(engine)), FState(state) {
        FGuard.setSingleShot(true);
        connect(&FGuard, &QTimer::timeout, this, &TVoice::Finished);
    }

    void Say(const QString& text) {
        if (!Start()) return;
        const QString now = FQueue.Offer(text);
        if (!now.isEmpty()) Speak(now);
    }

  private:
    bool Start() {
        if (FEngine == nullptr) {
            FEngine = FEngineName.isEmpty() ? new QTextToSpeech(this)
                                            : new QTextToSpeech(FEngineName, this);
            connect(FEngine, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State s) {
                if (s == QTextToSpeech::Ready || s == QTextToSpeech::Error) Finished();
            });
            if (FEngine->state() != QTextToSpeech::Error) SpeakEnglish();
        }
        // An engine that failed stays silent from then on; asking it again can take as long
        // as its first try.
        const bool ok = FEngine->state() != QTextToSpeech::Error;
        FState = ok ? TVoiceState::Ready : TVoiceState::Failed;
        if (!ok) {
            FQueue.Clear();
            FGuard.stop();
        }
        return ok;
    }

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

    void Speak(const QString& text) {
        // An engine that never tells the end of a phrase does not keep the voice busy for
        // long: a second, and a quarter of a second for every word.
        const int words = int(text.count(QLatin1Char(' '))) + 1;
        FGuard.start(std::min(1000 + 250 * words, 20000));
        FEngine->say(text);
    }

    void Finished() {
        FGuard.stop();
        if (!FQueue.Busy()) return;
        const QString next = FQueue.Done();
        if (!next.isEmpty() && Start()) Speak(next);
    }

    QString FEngineName;
    std::atomic<TVoiceState>& FState;
    QTextToSpeech* FEngine = nullptr;
    TPhraseQueue FQueue;
    QTimer FGuard{this};
};

TTextToSpeechSpeaker::TTextToSpeechSpeaker(QString engine) : FEngineName(std::move(engine)) {}

TTextToSpeechSpeaker::~TTextToSpeechSpeaker() {
    if (FThread == nullptr) return;
    // The voice and its engine go on their own thread, as the thread's loop ends.
    FThread->quit();
    FThread->wait();
    delete FThread;
}

void TTextToSpeechSpeaker::Say(const QString& text) {
    if (FState.load() == TVoiceState::Failed) return;
    if (FThread == nullptr) {
        FState = TVoiceState::Starting;
        FThread = new QThread;
        FThread->setObjectName(QStringLiteral("Speech"));
        FVoice = new TVoice(FEngineName, FState);
        FVoice->moveToThread(FThread);
        QObject::connect(FThread, &QThread::finished, FVoice, &QObject::deleteLater);
        FThread->start();
    }
    QMetaObject::invokeMethod(FVoice, [voice = FVoice, text] { voice->Say(text); },
                              Qt::QueuedConnection);
}
