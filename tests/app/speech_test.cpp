// Speaking phrases: the order in which phrases reach a voice that speaks one at a time, and
// the text-to-speech speaker where no voice can be had, which must stay quiet and quick.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextToSpeech>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "AppTestSupport.h"
#include "Speech.h"

TEST(PhraseQueue, TheLatestPhraseWaitsAndNoBacklogBuildsUp) {
    TPhraseQueue q;
    EXPECT_EQ(q.Offer(""), "");
    EXPECT_FALSE(q.Busy());
    EXPECT_EQ(q.Offer("one"), "one");
    EXPECT_TRUE(q.Busy());
    // Offered while "one" is spoken: only the last of them follows it.
    EXPECT_EQ(q.Offer("two"), "");
    EXPECT_EQ(q.Offer("three"), "");
    EXPECT_EQ(q.Done(), "three");
    EXPECT_TRUE(q.Busy());
    EXPECT_EQ(q.Done(), "");
    EXPECT_FALSE(q.Busy());
    EXPECT_EQ(q.Offer("four"), "four");
    // A voice given up on forgets what waited.
    EXPECT_EQ(q.Offer("five"), "");
    q.Clear();
    EXPECT_FALSE(q.Busy());
    EXPECT_EQ(q.Done(), "");
    EXPECT_EQ(q.Offer("six"), "six");
}

namespace {

// Says a few phrases; answers how long the calls took. Reaching no speech service takes an
// engine well over a second; the calls take a few milliseconds (more under a sanitizer).
qint64 SayAFewTimes(TTextToSpeechSpeaker& speaker) {
    QElapsedTimer clock;
    clock.start();
    for (const char* text : {"Pawn e2 to e4", "Pawn e7 to e5", "Knight g1 to f3"})
        speaker.Say(text);
    return clock.elapsed();
}

bool BecomesSilent(const TTextToSpeechSpeaker& speaker) {
    QElapsedTimer clock;
    clock.start();
    while (speaker.State() != TVoiceState::Failed && clock.elapsed() < 30000)
        QThread::msleep(10);
    return speaker.State() == TVoiceState::Failed;
}

} // namespace

TEST(TextToSpeechSpeaker, AnEngineThatDoesNotExistStartsWithTheFirstPhraseAndIsSilent) {
    EnsureApplication();
    auto speaker = std::make_unique<TTextToSpeechSpeaker>(QStringLiteral("no-such-engine"));
    EXPECT_EQ(speaker->State(), TVoiceState::NotStarted);
    EXPECT_LT(SayAFewTimes(*speaker), 1000);
    EXPECT_NE(speaker->State(), TVoiceState::NotStarted);
    EXPECT_TRUE(BecomesSilent(*speaker));
    EXPECT_LT(SayAFewTimes(*speaker), 1000);
    speaker.reset();
}

TEST(TextToSpeechSpeaker, NoSpeechServiceRunningIsSilentAndNeverHoldsTheCaller) {
    EnsureApplication();
    if (!QTextToSpeech::availableEngines().contains("speechd"))
        GTEST_SKIP() << "no speech-dispatcher engine for Qt here";
    // A service address nobody serves; its client does not start a service for it either.
    // Failing to reach it takes the engine a second or more.
    QTemporaryDir dir;
    qputenv("SPEECHD_ADDRESS", ("unix_socket:" + dir.path() + "/none.sock").toUtf8());
    {
        TTextToSpeechSpeaker speaker(QStringLiteral("speechd"));
        EXPECT_LT(SayAFewTimes(speaker), 1000);
        EXPECT_TRUE(BecomesSilent(speaker));
        EXPECT_LT(SayAFewTimes(speaker), 1000);
    }
    // Gone while its engine is still trying to start.
    TTextToSpeechSpeaker leaving(QStringLiteral("speechd"));
    leaving.Say("Castles king side");
}

namespace {

// A speech service that does not answer: every call an engine makes into it waits until the
// test lets it go, or until a watchdog does after a few seconds.
class TDeafService {
  public:
    TDeafService()
        : FWatchdog([this] {
              std::unique_lock lock(FMutex);
              FWake.wait_for(lock, std::chrono::seconds(5), [this] { return FOpen; });
              FOpen = true;
              FWake.notify_all();
          }) {}
    ~TDeafService() {
        Answer();
        FWatchdog.join();
    }
    void Call() {
        std::unique_lock lock(FMutex);
        FWake.wait(lock, [this] { return FOpen; });
    }
    void Answer() {
        std::lock_guard lock(FMutex);
        FOpen = true;
        FWake.notify_all();
    }
    std::atomic<int> EnginesGone{0};

  private:
    std::mutex FMutex;
    std::condition_variable FWake;
    bool FOpen = false;
    std::thread FWatchdog;
};

// An engine over that service, held in its last call (its end) or in the phrase itself.
class TDeafEngine : public TSpeechEngine {
  public:
    TDeafEngine(TDeafService& service, bool inSay) : FService(service), FInSay(inSay) {}
    ~TDeafEngine() override {
        if (!FInSay) FService.Call();
        ++FService.EnginesGone;
    }
    bool Usable() const override { return true; }
    void Say(const QString&) override {
        if (FInSay) FService.Call();
    }

  private:
    TDeafService& FService;
    bool FInSay;
};

} // namespace

TEST(TextToSpeechSpeaker, ASpeechServiceThatDoesNotAnswerNeverHoldsTheSpeakersEnd) {
    EnsureApplication();
    for (const bool inSay : {false, true}) {
        SCOPED_TRACE(inSay ? "held in the phrase" : "held in the engine's end");
        TDeafService service;
        auto speaker = std::make_unique<TTextToSpeechSpeaker>(
            [&service, inSay] { return std::make_unique<TDeafEngine>(service, inSay); });
        speaker->Say("Pawn e2 to e4");
        QElapsedTimer clock;
        clock.start();
        while (speaker->State() != TVoiceState::Ready && clock.elapsed() < 5000)
            QThread::msleep(5);
        ASSERT_EQ(speaker->State(), TVoiceState::Ready);
        clock.restart();
        speaker.reset();
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_EQ(service.EnginesGone.load(), 0);
        // Once the service answers, the thread ends by itself and takes the engine with it.
        service.Answer();
        clock.restart();
        while (service.EnginesGone.load() == 0 && clock.elapsed() < 5000) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        EXPECT_EQ(service.EnginesGone.load(), 1);
    }
    // The thread's object goes in the window thread's loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(TextToSpeechSpeaker, NoEnginesInstalledAtAllIsSilent) {
    EnsureApplication();
    // Plugins are looked for only in an empty folder, for this test alone.
    const QStringList paths = QCoreApplication::libraryPaths();
    QTemporaryDir empty;
    QCoreApplication::setLibraryPaths({empty.path()});
    // Qt keeps the plugins it has found for the whole process: run with the tests before it,
    // this one is skipped (ctest runs every test in a process of its own).
    if (QTextToSpeech::availableEngines().isEmpty()) {
        TTextToSpeechSpeaker speaker;
        EXPECT_LT(SayAFewTimes(speaker), 1000);
        EXPECT_TRUE(BecomesSilent(speaker));
    }
    const bool ran = QTextToSpeech::availableEngines().isEmpty();
    QCoreApplication::setLibraryPaths(paths);
    if (!ran) GTEST_SKIP() << "this process had already found its speech plugins";
}
