// A piece loaded on a thread of its own, with a loader the test lets finish when it chooses:
// a PLAY while loading, a STOP in between, a failed load, an Unload or an exit while the
// loader works.

#include "ThreadLoadedMusic.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <thread>
#include <vector>

namespace {

using Events = std::vector<std::string>;

class TGatedMusic final : public TThreadLoadedMusic {
  public:
    TGatedMusic(bool mayOpen, Events& events)
        : TThreadLoadedMusic([mayOpen] { return mayOpen; }, [] { return true; },
                             [&events](const std::string& line) { events.push_back(line); }) {}
    ~TGatedMusic() { Unload(); }

    bool Load(const std::string& path) {
        {
            std::lock_guard guard(GateLock);
            LoaderDone = false;
        }
        return StartLoading(path, "piece " + path);
    }
    // Lets the loader end, having loaded the piece or not.
    void Finish(bool loads) {
        {
            std::lock_guard guard(GateLock);
            Outcome = loads;
            GateOpen = true;
        }
        Gate.notify_all();
    }
    // Waits until the loader has ended.
    void WaitForLoader() {
        std::unique_lock guard(GateLock);
        Gate.wait(guard, [this] { return LoaderDone; });
    }
    int Starts() {
        std::lock_guard guard(Lock);
        return StartCount;
    }
    bool Loaded() {
        std::lock_guard guard(Lock);
        return Piece;
    }

  private:
    void LoadInBackground() override {
        bool loads = false;
        {
            std::unique_lock guard(GateLock);
            Gate.wait(guard, [this] { return GateOpen; });
            loads = Outcome;
            GateOpen = false;
        }
        {
            std::lock_guard guard(Lock);
            if (KeepLoaded(loads)) {
                Piece = true;
                PlayIfAsked();
            }
        }
        std::lock_guard guard(GateLock);
        LoaderDone = true;
        Gate.notify_all();
    }
    bool Ready() const override { return Piece; }
    void Start() override { ++StartCount; }
    void Silence() override {}
    void FreeLoaded() override { Piece = false; }

    std::mutex GateLock;
    std::condition_variable Gate;
    bool GateOpen = false;
    bool Outcome = false;
    bool LoaderDone = false;
    bool Piece = false; // guarded by Lock
    int StartCount = 0; // guarded by Lock
};

TEST(ThreadLoadedMusic, APlayWhileLoadingStartsThePieceOnceReadyUnlessAStopCame) {
    Events events;
    TGatedMusic music(true, events);
    ASSERT_TRUE(music.Load("a.mid"));
    EXPECT_TRUE(music.StillLoading());
    music.PlayFromStart();
    EXPECT_EQ(music.Starts(), 0);
    music.Finish(true);
    music.WaitForLoader();
    EXPECT_FALSE(music.StillLoading());
    EXPECT_EQ(music.Starts(), 1);
    music.PlayFromStart();
    EXPECT_EQ(music.Starts(), 2);
    EXPECT_EQ(events, (Events{"music open piece a.mid", "music play", "music play"}));

    TGatedMusic stopped(true, events);
    events.clear();
    ASSERT_TRUE(stopped.Load("b.mid"));
    stopped.PlayFromStart();
    stopped.Stop();
    stopped.Finish(true);
    stopped.WaitForLoader();
    EXPECT_EQ(stopped.Starts(), 0);
    EXPECT_EQ(events, (Events{"music open piece b.mid", "music play", "music stop"}));

    // Without a mixer nothing opens, and the commands that follow do nothing.
    TGatedMusic refused(false, events);
    events.clear();
    EXPECT_FALSE(refused.Load("c.mid"));
    refused.PlayFromStart();
    refused.Stop();
    EXPECT_FALSE(refused.StillLoading());
    EXPECT_TRUE(events.empty());
}

TEST(ThreadLoadedMusic, AFailedLoadEndsTheLoadingAndAPlayWaitsForNothing) {
    Events events;
    TGatedMusic music(true, events);
    ASSERT_TRUE(music.Load("a.mid"));
    music.Finish(false);
    music.WaitForLoader();
    EXPECT_FALSE(music.StillLoading());
    music.PlayFromStart();
    EXPECT_EQ(music.Starts(), 0);
    EXPECT_EQ(events, (Events{"music open piece a.mid", "music play"}));
}

TEST(ThreadLoadedMusic, UnloadAndExitDuringTheLoadDropWhatTheLoaderBrings) {
    Events events;
    TGatedMusic music(true, events);
    ASSERT_TRUE(music.Load("a.mid"));
    music.PlayFromStart();
    // Unload waits for the loader, whose piece is dropped and never started.
    std::thread finisher([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        music.Finish(true);
    });
    music.Unload();
    finisher.join();
    EXPECT_FALSE(music.Loaded());
    EXPECT_EQ(music.Starts(), 0);
    EXPECT_FALSE(music.StillLoading());

    // At exit a load under way is left to its thread, and what it loads isn't kept.
    ASSERT_TRUE(music.Load("b.mid"));
    EXPECT_FALSE(music.ReleaseForExit());
    music.Finish(true);
    music.WaitForLoader();
    EXPECT_FALSE(music.Loaded());
    // The detached loader has yet to leave; let it go before the test ends.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));

    // A piece already loaded is simply freed.
    TGatedMusic loaded(true, events);
    ASSERT_TRUE(loaded.Load("c.mid"));
    loaded.Finish(true);
    loaded.WaitForLoader();
    EXPECT_TRUE(loaded.ReleaseForExit());
    EXPECT_FALSE(loaded.Loaded());
}

} // namespace
