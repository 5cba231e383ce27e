// The game review in the program, timed: a game of 40 moves reviewed at the default budget
// per position, in the main window (offscreen), while a timer on the window thread measures
// how long the event loop keeps it waiting. Prints the review's time and the window
// thread's longest wait, each beside its limit (30 s, 50 ms); exits with 1 when either is
// over it.
//
//     zel_review_bench [moves]      (40 by default)

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "GameFiles.h"
#include "GameRecord.h"
#include "ReviewCommand.h"
#include "ReviewWindow.h"
#include "StartOptions.h"
#include "StrongSearch.h"
#include "Text.h"
#include "Unit1.h"

namespace {

// A game of the strong search against itself at small, varying budgets: legal, fixed from
// run to run, and with the ups and downs of a real one.
GameRecord SelfPlayedGame(int moves) {
    GameRecord record;
    TReplayGame game(record.Start);
    strong::TTranspositionTable table(8);
    strong::TStrongSearch search(table);
    strong::TPosition pos;
    pos.SetFen(WriteFen(record.Start));
    for (int ply = 0; ply < 2 * moves; ++ply) {
        strong::TSearchLimits limits;
        limits.Nodes = 800 + (ply * 337) % 2500;
        const strong::Move m = search.Go(pos, limits);
        if (m == strong::NoMove) break;
        const std::string text = strong::TPosition::MoveText(m);
        GameMove move{SquareFromText(text.substr(0, 2)), SquareFromText(text.substr(2, 2)), 0};
        if (text.size() == 5) move.Promotion = text[4];
        if (!game.Play(move)) break;
        pos.DoMove(m);
        record.Moves.push_back(move);
        if (!game.HasLegalMove()) break;
    }
    return record;
}

// The CPU time the calling thread has used, in milliseconds.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// The machine's load over the last minute, as the kernel counts it.
double LoadAverage() {
    double load = 0;
    if (FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf", &load) != 1) load = 0;
        std::fclose(f);
    }
    return load;
}

} // namespace

int main(int argc, char* argv[]) {
    const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    QTemporaryDir config, data;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);

    TForm1 form;
    TGameFiles* files = InstallGameFiles(form, TStartOptions{});
    TReviewWindow* review = InstallGameReview(form, *files);
    form.show();
    const GameRecord game = SelfPlayedGame(moves);
    files->LoadRecord(game);
    form.Board()->StopThinking();
    std::printf("game: %zu half-moves, %zu positions, %d ms a position\n", game.Moves.size(),
                game.Moves.size() + 1, review->Options.MillisPerPosition);

    // The window thread's waits: a timer due every 10 ms, and how late each tick came.
    constexpr int kTick = 10;
    std::vector<qint64> lates;
    qint64 worstAt = 0, worstLate = -1; // when in the review the longest wait ended
    // Of each wait, the part the window thread itself spent working (in our own handlers);
    // the rest it was ready but another program had the processor.
    double busiest = 0, lastCpu = 0;
    QElapsedTimer sinceTick;
    QElapsedTimer clock;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 late = std::max<qint64>(0, sinceTick.elapsed() - kTick);
        lates.push_back(late);
        if (late > worstLate) worstLate = late, worstAt = clock.elapsed();
        const double cpu = ThreadCpuMs();
        busiest = std::max(busiest, cpu - lastCpu);
        lastCpu = cpu;
        sinceTick.restart();
    });

    bool done = false;
    QObject::connect(review, &TReviewWindow::ReviewFinished, [&] {
        done = true;
        app.quit();
    });
    QTimer::singleShot(0, [&] {
        sinceTick.start();
        lastCpu = ThreadCpuMs();
        ticker.start(kTick);
        clock.start();
        review->StartReview();
    });
    app.exec();
    const double seconds = clock.elapsed() / 1000.0;
    ticker.stop();
    if (!done || review->Review() == nullptr || !review->Review()->Complete) {
        std::printf("the review did not finish\n");
        return 1;
    }
    std::sort(lates.begin(), lates.end());
    const qint64 worst = lates.empty() ? 0 : lates.back();
    const qint64 p99 = lates.empty() ? 0 : lates[lates.size() * 99 / 100];
    const bool fastEnough = seconds <= 30.0, responsive = worst <= 50;
    const double load = LoadAverage();
    std::printf("review of %d moves: %.1f s (limit 30 s) %s\n", moves, seconds,
                fastEnough ? "ok" : "TOO SLOW");
    std::printf("window thread: longest wait %lld ms (%.1f s into the review), 99th percentile "
                "%lld ms, %zu ticks (limit 50 ms) %s\n",
                static_cast<long long>(worst), worstAt / 1000.0, static_cast<long long>(p99),
                lates.size(), responsive ? "ok" : "TOO SLOW");
    std::printf("window thread's own work between two ticks: at most %.1f ms; machine load %.1f "
                "on %d processors\n",
                busiest, load, QThread::idealThreadCount());
    std::printf("accuracy: White %.1f%%, Black %.1f%%\n", review->Review()->Accuracy[0],
                review->Review()->Accuracy[1]);
    return fastEnough && responsive ? 0 : 1;
}
