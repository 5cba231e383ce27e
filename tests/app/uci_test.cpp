// External UCI engines: the conversation with the program, every way it can fail (each
// stopped and told, with the built-in engine taking over), the board played through its
// host-engine hook, the choice remembered, and whole games against Debian's stockfish.

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <random>

#include "GameFiles.h"
#include "MainWindowSupport.h"
#include "ProgramSettings.h"
#include "StartOptions.h"
#include "ThinkingNotice.h"
#include "UciEngine.h"

namespace {

// The start options of a command line that names an engine.
TStartOptions EngineOption(const QString& path) {
    TStartOptions options;
    options.EnginePath = path;
    return options;
}

// Copied beside the test program by CMake: a path made from this file's name is relative
// when the compiler is run through a cache from another folder.
const QString kFake = QString::fromStdString(
    (std::filesystem::canonical("/proc/self/exe").parent_path() / "fake_uci_engine.sh").string());
const QString kStockfish = "/usr/games/stockfish";

FenPosition AfterE4() {
    FenPosition p;
    std::string error;
    ReadFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", p, error);
    return p;
}

// Runs the fake engine in a mode, logging what it is sent.
struct TFakeEngine {
    QTemporaryDir Dir;
    QString Log = Dir.path() + "/sent.log";
    explicit TFakeEngine(const char* mode, const char* move = "e7e5") {
        qputenv("FAKE_UCI_MODE", mode);
        qputenv("FAKE_UCI_MOVE", move);
        qputenv("FAKE_UCI_LOG", Log.toUtf8());
    }
    QStringList Sent() const {
        QFile f(Log);
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
};

QString FailureOf(const char* mode, const QString& program = kFake, int limitMs = 400) {
    TFakeEngine fake(mode);
    TUciEngine engine;
    engine.TimeLimitMs = limitMs;
    QSignalSpy failed(&engine, &TUciEngine::Failed);
    engine.Start(program);
    engine.Search(AfterE4());
    if (!PumpUntil([&] { return failed.count() > 0; }, 30000)) return "no failure";
    EXPECT_FALSE(engine.Running());
    return failed.at(0).at(0).toString();
}

// A main window with a human White and the computer Black, the engine at path.
struct TWindow {
    TTempHome Home;
    TRecordingSound Sound;
    TForm1 Form{&Sound};
    TChessBrd* B = Form.Board();
    TGameFiles* Files = InstallGameFiles(Form, TStartOptions{});
    TUciPlayer* Player;

    explicit TWindow(const QString& engine, const char* white = "Player",
                     const char* black = "Computer") {
        Controls(Form).ComboBox1->setCurrentText(white);
        Controls(Form).ComboBox2->setCurrentText(black);
        Controls(Form).ComboBox4->setCurrentIndex(0);
        Player = InstallUciEngine(Form, EngineOption(engine), Files);
        Player->Engine().TimeLimitMs = 5000;
        Controls(Form).SpeedButton1->click();
    }
};

} // namespace

TEST(Uci, GreetsSetsTheStrengthAndAnswersWithALegalMove) {
    EnsureApplication();
    TFakeEngine fake("good");
    TUciEngine engine;
    QSignalSpy found(&engine, &TUciEngine::MoveFound);
    QSignalSpy ready(&engine, &TUciEngine::Ready);
    engine.SetLevel(3);
    engine.Start(kFake);
    engine.Search(AfterE4());
    ASSERT_TRUE(PumpUntil([&] { return found.count() > 0; }, 10000));
    EXPECT_EQ(ready.count(), 1);
    EXPECT_EQ(engine.Name(), "Fake Engine 1.0");
    EXPECT_EQ(found.at(0).at(0).value<GameMove>(), (GameMove{E7, E5, 0}));
    engine.NewGame();
    engine.Stop();
    EXPECT_EQ(fake.Sent(),
              (QStringList{"uci", "setoption name Skill Level value 8", "isready",
                           "position fen rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq "
                           "e3 0 1",
                           "go depth 4", "ucinewgame", "isready", "quit"}));
}

TEST(Uci, EveryFailureStopsTheProgramAndSaysWhy) {
    EnsureApplication();
    EXPECT_EQ(FailureOf("illegal"), "answered e8e6, which is not a legal move here");
    EXPECT_EQ(FailureOf("garbage"), "answered \"castle!\", which is not a move");
    EXPECT_EQ(FailureOf("die"), "ended by itself (exit code 3)");
    EXPECT_EQ(FailureOf("slow"), "did not answer within 0.4 seconds");
    EXPECT_EQ(FailureOf("mute"), "did not answer within 0.4 seconds");
    EXPECT_EQ(FailureOf("good", "/no/such/engine"), "could not be started");
}

TEST(Uci, AProgramThatDoesNotSpeakUciIsToldAtOnce) {
    EnsureApplication();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(FailureOf("xboard", kFake, 20000),
              "is not a UCI engine: it answered \"Error (unknown command): uci\"");
    EXPECT_EQ(FailureOf("leave", kFake, 20000),
              "ended without answering \"uci\" (exit code 1): it is not a UCI engine");
    EXPECT_LT(clock.elapsed(), 5000);
    // A line before the greeting is no refusal.
    TFakeEngine fake("chatty");
    TUciEngine engine;
    QSignalSpy ready(&engine, &TUciEngine::Ready);
    engine.Start(kFake);
    EXPECT_TRUE(PumpUntil([&] { return ready.count() > 0; }, 10000));
}

TEST(Uci, PlaysTheComputersSideThroughTheBoardAndNewGameStartsItAfresh) {
    EnsureApplication();
    TFakeEngine fake("good");
    TWindow w(kFake);
    EXPECT_TRUE(w.B->CustomEngine());
    ASSERT_TRUE(w.B->PlayerMove(E2, E4));
    ASSERT_TRUE(PumpUntil([&] { return w.B->PieceAt(E5) == 'p'; }, 10000));
    EXPECT_TRUE(w.B->WhiteToMove());
    Controls(w.Form).SpeedButton14->click(); // Restart game
    EXPECT_GE(fake.Sent().count("ucinewgame"), 2);
    EXPECT_EQ(OpenProgramSettings()->value("Engine/Path").toString(), kFake);
}

TEST(Uci, AnAnswerThatComesAfterANewGameIsDropped) {
    EnsureApplication();
    TFakeEngine fake("late");
    TWindow w(kFake);
    ASSERT_TRUE(w.B->PlayerMove(E2, E4));
    EXPECT_TRUE(w.B->ComputerThinking());
    Controls(w.Form).SpeedButton14->click(); // Restart game while the program thinks
    PumpUntil([] { return false; }, 1800); // its answer to the old game comes meanwhile
    EXPECT_EQ(w.B->PieceAt(E7), 'p');
    EXPECT_EQ(w.B->PieceAt(E2), 'P');
    EXPECT_TRUE(w.B->WhiteToMove());
    EXPECT_FALSE(w.B->ComputerThinking());
    // The new game goes on as usual.
    ASSERT_TRUE(w.B->PlayerMove(D2, D4));
    ASSERT_TRUE(PumpUntil([&] { return w.B->PieceAt(E5) == 'p'; }, 10000));
}

TEST(Uci, TheProgramsPromotionPieceStandsOverTheWindowsChoice) {
    EnsureApplication();
    TFakeEngine fake("good", "b2b1n");
    TWindow w(kFake);
    // A window handler that makes every promotion a queen, run before the program's.
    auto inner = w.B->OnPromotion;
    w.B->OnPromotion = [inner](TChessGame* g, Square from, Square to, char& piece) {
        piece = 'q';
        if (inner) inner(g, from, to, piece);
    };
    QString error;
    ASSERT_TRUE(w.Files->LoadText("4k3/8/8/8/8/8/1p6/4K3 w - - 0 1", error));
    ASSERT_TRUE(w.B->PlayerMove(E1, F2));
    ASSERT_TRUE(PumpUntil([&] { return w.B->PieceAt(B1) != ' '; }, 10000));
    EXPECT_EQ(w.B->PieceAt(B1), 'n');
    // The board's own choice for later promotions stays what it was.
    EXPECT_EQ(w.B->PromotionPiece(), 'q');
}

TEST(Uci, ThePersonCannotMoveTheComputersPiecesWhileItThinksAndIsToldItThinks) {
    EnsureApplication();
    TFakeEngine fake("slow");
    TMessageRecorder messages;
    TWindow w(kFake);
    ShowComputerThinking(w.Form);
    w.Player->Engine().TimeLimitMs = 2000;
    w.B->SetClickToMove(true);
    w.B->SetKeyboardPlay(true);
    ASSERT_TRUE(w.B->PlayerMove(E2, E4));
    EXPECT_TRUE(w.B->ComputerThinking());
    const std::string asked = w.B->Position();
    const auto centre = [&w](Square q) {
        return w.B->SquareTopLeft(q) + QPoint(w.B->SizeOfSquare() / 2, w.B->SizeOfSquare() / 2);
    };
    // A drag of e7-e5.
    QTest::mousePress(w.B, Qt::LeftButton, {}, centre(E7));
    QTest::mouseMove(w.B, centre(E6));
    QTest::mouseMove(w.B, centre(E5));
    QTest::mouseRelease(w.B, Qt::LeftButton, {}, centre(E5));
    EXPECT_EQ(w.B->Position(), asked);
    // Two clicks, e7 then e5.
    QTest::mouseClick(w.B, Qt::LeftButton, {}, centre(E7));
    EXPECT_EQ(w.B->PickedSquare(), None);
    QTest::mouseClick(w.B, Qt::LeftButton, {}, centre(E5));
    // The keys: Enter on e7, then on e5.
    w.B->SetFocusSquare(E7);
    QTest::keyClick(w.B, Qt::Key_Return);
    EXPECT_EQ(w.B->PickedSquare(), None);
    w.B->SetFocusSquare(E5);
    QTest::keyClick(w.B, Qt::Key_Return);
    EXPECT_EQ(w.B->Position(), asked);
    EXPECT_EQ(Controls(w.Form).Label1->text(), "Not move allowed!");
    // Half a second on, the message line says that the computer thinks.
    ASSERT_TRUE(PumpUntil([&] { return Controls(w.Form).Label1->text().contains("thinks"); }, 1500));
    EXPECT_EQ(Controls(w.Form).Label1->text(), "The computer thinks...");
    // A program that never answers is thinking until its time limit; then the built-in
    // engine moves, and that move writes the line afresh.
    QTest::qWait(800);
    EXPECT_EQ(Controls(w.Form).Label1->text(), "The computer thinks...");
    EXPECT_TRUE(w.B->CustomEngine());
    ASSERT_TRUE(PumpUntil([&] { return w.B->WhiteToMove(); }, 20000));
    EXPECT_FALSE(w.B->CustomEngine());
    EXPECT_NE(Controls(w.Form).Label1->text(), "The computer thinks...");
    EXPECT_FALSE(w.B->ComputerThinking());
    // The person's own pieces move again.
    w.B->SetFocusSquare(D2);
    QTest::keyClick(w.B, Qt::Key_Return);
    EXPECT_EQ(w.B->PickedSquare(), D2);
}

TEST(Uci, AFailingProgramHandsTheGameToTheBuiltInEngine) {
    EnsureApplication();
    TFakeEngine fake("illegal");
    TMessageRecorder messages;
    TWindow w(kFake);
    ASSERT_TRUE(w.B->PlayerMove(E2, E4));
    ASSERT_TRUE(PumpUntil([&] { return w.B->WhiteToMove(); }, 20000));
    EXPECT_FALSE(w.B->CustomEngine());
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0], "Fake Engine 1.0 answered e8e6, which is not a legal move "
                                    "here; the built-in engine plays on.");
}

TEST(Uci, ChoiceIsRememberedAndTheBuiltInEngineCanBeChosenAgain) {
    EnsureApplication();
    TFakeEngine fake("good");
    TTempHome home;
    TRecordingSound sound;
    {
        TForm1 form(&sound);
        TUciPlayer* player = InstallUciEngine(form, TStartOptions{});
        EXPECT_FALSE(form.Board()->CustomEngine());
        player->AskForEngine = [] { return kFake; };
        player->ChooseEngine();
        EXPECT_TRUE(form.Board()->CustomEngine());
    }
    TForm1 form(&sound);
    TUciPlayer* player = InstallUciEngine(form, TStartOptions{});
    EXPECT_EQ(player->EnginePath(), kFake);
    EXPECT_TRUE(form.Board()->CustomEngine());
    player->AskForEngine = [] { return QString(""); };
    player->ChooseEngine();
    EXPECT_FALSE(form.Board()->CustomEngine());
    EXPECT_EQ(OpenProgramSettings()->value("Engine/Path").toString(), "");
}

TEST(Uci, StockfishAtDepthOnePlaysGamesToTheEnd) {
    EnsureApplication();
    if (!QFile::exists(kStockfish)) GTEST_SKIP() << "no " << kStockfish.toStdString();
    std::mt19937 rng(7);
    for (int game = 0; game < 2; ++game) {
        // Stockfish opens the game as White in the second one.
        TWindow w(kStockfish, game ? "Computer" : "Player", game ? "Player" : "Computer");
        const bool humanWhite = game == 0;
        for (int ply = 0; ply < 400 && !w.B->GameEnded(); ++ply) {
            if (w.B->WhiteToMove() == humanWhite) {
                std::vector<std::pair<Square, Square>> moves;
                for (int f = 1; f <= 64; ++f)
                    for (int t = 1; t <= 64; ++t)
                        if (w.B->IsLegalMove(Square(f), Square(t)))
                            moves.emplace_back(Square(f), Square(t));
                if (moves.empty()) break;
                const auto [from, to] = moves[rng() % moves.size()];
                ASSERT_TRUE(w.B->PlayerMove(from, to));
            } else {
                const bool white = w.B->WhiteToMove();
                ASSERT_TRUE(PumpUntil(
                    [&] { return w.B->WhiteToMove() != white || w.B->GameEnded(); }, 20000))
                    << "stockfish did not move at ply " << ply;
                ASSERT_TRUE(w.B->CustomEngine()) << Controls(w.Form).Label1->text().toStdString();
            }
        }
        EXPECT_TRUE(w.B->GameEnded() || !w.B->HasLegalMove());
        const GameRecord record = w.Files->CurrentRecord();
        EXPECT_EQ(record.Tag(humanWhite ? "White" : "Black"), "Player");
        EXPECT_EQ(record.Tag(humanWhite ? "Black" : "White").rfind("Stockfish", 0), 0u)
            << record.Tag(humanWhite ? "Black" : "White");
        EXPECT_NE(record.Result, "*");
    }
}
