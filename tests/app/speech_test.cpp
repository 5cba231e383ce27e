// Speaking phrases: the order in which phrases reach a voice that speaks one at a time, and
// the text-to-speech speaker where no voice can be had, which must stay quiet and quick.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextToSpeech>
#include <QThread>

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
