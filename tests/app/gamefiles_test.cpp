// Games in and out of the main window: a pasted or opened PGN replayed onto the board and
// continued, a FEN set up, refusals that leave the game alone, the copy and the file
// written, several games in one file, and the command line.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>

#include <atomic>

#include "GameFiles.h"
#include "MainWindowSupport.h"
#include "RunAside.h"
#include "StartOptions.h"

namespace {

// The start options of a command line that names a game.
TStartOptions GameOption(const QString& game) {
    TStartOptions options;
    options.Game = game;
    return options;
}

// An opera-box miniature, its last move a mate.
const char* kOperaGame = R"([Event "Paris"]
[Site "Paris FRA"]
[Date "1858.??.??"]
[Round "?"]
[White "Paul Morphy"]
[Black "Duke Karl / Count Isouard"]
[Result "1-0"]

1. e4 e5 2. Nf3 d6 3. d4 Bg4 {This is a weak move already.} 4. dxe5 Bxf3 5. Qxf3
dxe5 6. Bc4 Nf6 7. Qb3 Qe7 8. Nc3 c6 9. Bg5 b5 10. Nxb5 cxb5 11. Bxb5+ Nbd7 12.
O-O-O Rd8 13. Rxd7 Rxd7 14. Rd1 Qe6 15. Bxd7+ Nxd7 16. Qb8+ Nxb8 17. Rd8# 1-0
)";

struct TWindow : TFilesWindow {

    TWindow() {
        Controls(Form).ComboBox1->setCurrentText("Player");
        Controls(Form).ComboBox2->setCurrentText("Player");
    }
    int Lines() const { return Controls(Form).ListBox1->count(); }
    QString Temp(const QString& name) const { return Home.ConfigPath() + "/" + name; }
    bool Write(const QString& name, const QByteArray& bytes) const {
        QFile f(Temp(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
};

// Runs the event loop for a while, so a computer that would move has the time to.
void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

} // namespace

TEST(GameFiles, PastedGameIsReplayedSteppedThroughAndEndsAsTheBoardEndsIt) {
    EnsureApplication();
    TWindow w;
    QString error;
    ASSERT_TRUE(w.Files->LoadText(kOperaGame, error)) << error.toStdString();
    EXPECT_TRUE(Controls(w.Form).Panel3->isHidden());
    // 33 half-moves listed, then the mate's summary lines.
    EXPECT_EQ(Controls(w.Form).ListBox1->item(0)->text(), "1. E2-E4");
    EXPECT_EQ(Controls(w.Form).Label1->text(), "Checkmate!");
    EXPECT_TRUE(w.B->GameEnded());
    const std::string final = w.B->Position();
    w.Form.SpeedButton4Click();
    w.Form.SpeedButton4Click();
    EXPECT_EQ(w.Files->PositionFen(), "1Q2kb1r/p2n1ppp/4q3/4p1B1/4P3/8/PPP2PPP/2KR4 b k - 1 16");
    w.Form.SpeedButton5Click();
    w.Form.SpeedButton5Click();
    EXPECT_EQ(w.B->Position(), final);
    // Exported again, the game keeps its tags and moves.
    const QString pgn = w.Files->GamePgn();
    EXPECT_TRUE(pgn.contains("[White \"Paul Morphy\"]")) << pgn.toStdString();
    EXPECT_TRUE(pgn.contains("16. Qb8+ Nxb8 17. Rd8# 1-0")) << pgn.toStdString();
}

TEST(GameFiles, LoadedGameContinuesFromAStepAndExportsTheNewLine) {
    EnsureApplication();
    TWindow w;
    QString error;
    ASSERT_TRUE(w.Files->LoadText("1. e4 e5 2. Nf3 Nc6 *", error)) << error.toStdString();
    w.Form.SpeedButton4Click();
    EXPECT_TRUE(w.B->PlayerMove(G8, F6));
    const QString pgn = w.Files->GamePgn();
    EXPECT_TRUE(pgn.contains("\n1. e4 e5 2. Nf3 Nf6 *\n")) << pgn.toStdString();
    EXPECT_TRUE(pgn.contains("[Event \"Casual game\"]")) << pgn.toStdString();
    EXPECT_TRUE(pgn.contains("[Round \"-\"]"));
    EXPECT_TRUE(pgn.contains("[White \"Player\"]"));
}

TEST(GameFiles, AGamePlayedOnPastAThreefoldRepetitionLoadsWhole) {
    EnsureApplication();
    TWindow w;
    QString error;
    ASSERT_TRUE(w.Files->LoadText("1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 Nf6 4. Ng1 Ng8 5. e4 e5 *", error))
        << error.toStdString();
    EXPECT_EQ(w.B->PieceAt(E4), 'P');
    EXPECT_EQ(w.B->PieceAt(E5), 'p');
    EXPECT_FALSE(w.B->GameEnded());
    EXPECT_TRUE(w.B->RepetitionEndsGame()) << "play on the board ends at a repetition again";
    const QString pgn = w.Files->GamePgn();
    EXPECT_TRUE(pgn.contains("4. Ng1 Ng8 5. e4 e5 *")) << pgn.toStdString();
}

TEST(GameFiles, FenSetsUpThePositionAndItsCountersCarryIntoTheExport) {
    EnsureApplication();
    TWindow w;
    QString error;
    ASSERT_TRUE(w.Files->LoadText("  4k3/8/8/8/8/8/3P4/4K3 b - - 4 37 ", error))
        << error.toStdString();
    EXPECT_FALSE(w.B->WhiteToMove());
    EXPECT_EQ(w.B->PieceAt(D2), 'P');
    EXPECT_EQ(w.Files->PositionFen(), "4k3/8/8/8/8/8/3P4/4K3 b - - 4 37");
    EXPECT_TRUE(w.B->PlayerMove(E8, E7));
    const QString pgn = w.Files->GamePgn();
    EXPECT_TRUE(pgn.contains("[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/3P4/4K3 b - - 4 37\"]"))
        << pgn.toStdString();
    EXPECT_TRUE(pgn.contains("\n37... Ke7 *\n")) << pgn.toStdString();
}

TEST(GameFiles, LastMovePromotesToTheRecordedPieceWhateverTheWindowWouldChoose) {
    EnsureApplication();
    TWindow w;
    w.B->OnPromotion = [](TChessGame*, Square, Square, char& piece) { piece = 'q'; };
    QString error;
    ASSERT_TRUE(w.Files->LoadText("[FEN \"4k3/1P6/8/8/8/8/8/4K3 w - - 0 1\"]\n1. b8=N *", error))
        << error.toStdString();
    EXPECT_EQ(w.B->PieceAt(B8), 'N');
}

TEST(GameFiles, RefusedTextsSayWhyAndLeaveTheGameAlone) {
    EnsureApplication();
    TWindow w;
    QString error;
    ASSERT_TRUE(w.Files->LoadText("1. d4 d5 *", error));
    const std::string before = w.B->Position();
    const int lines = w.Lines();
    EXPECT_FALSE(w.Files->LoadText("1. d4 d5\n2. Nxe5 *", error));
    EXPECT_EQ(error, "This game cannot be read: line 2: move 2 Nxe5: no knight can reach e5.");
    EXPECT_FALSE(w.Files->LoadText("8/8/8/8/8/8/8/K6k w - - 0 1 extra", error));
    EXPECT_FALSE(w.Files->LoadText("k7/8/8/8/8/8/8/QK6 w - - 0 1", error));
    EXPECT_EQ(error, "This position cannot be played: Black is in check but White is to move.");
    EXPECT_EQ(w.B->Position(), before);
    EXPECT_EQ(w.Lines(), lines);
}

TEST(GameFiles, CopyPutsPgnAndFenOnTheClipboardAndPasteReadsThemBack) {
    EnsureApplication();
    TWindow w;
    QString error;
    ASSERT_TRUE(w.Files->LoadText("1. f4 e5 2. g4 Qh4# 0-1", error));
    w.Files->CopyAction->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->text().contains("1. f4 e5 2. g4 Qh4# 0-1"));
    EXPECT_EQ(QString::fromUtf8(data->data("application/x-chess-fen")),
              "rnb1kbnr/pppp1ppp/8/4p3/5PPq/8/PPPPP2P/RNBQKBNR w KQkq - 1 3");

    TWindow other;
    other.Files->PasteAction->trigger();
    EXPECT_EQ(other.B->Position(), w.B->Position());
    EXPECT_EQ(Controls(other.Form).Label1->text(), "Checkmate!");

    QApplication::clipboard()->setText("no game here");
    other.Files->PasteAction->trigger();
    ASSERT_EQ(other.Messages.Messages.size(), 1u);
    EXPECT_EQ(other.Messages.Messages[0],
              "This game cannot be read: line 1: move 1 no: \"no\" is not a move.");
}

TEST(GameFiles, SavedFileOpensAgainAndAFileOfSeveralGamesOffersAChoice) {
    EnsureApplication();
    TWindow w;
    QString error;
    ASSERT_TRUE(w.Files->LoadText(kOperaGame, error));
    // The command adds the ending a typed name lacks.
    w.Files->ChoosePath = [&w](bool save) { return save ? w.Temp("opera") : QString(); };
    w.Files->SaveAction->trigger();
    ASSERT_TRUE(QFile::exists(w.Temp("opera.pgn")));

    TWindow again;
    ASSERT_TRUE(again.Files->OpenFile(w.Temp("opera.pgn"), error)) << error.toStdString();
    EXPECT_EQ(again.B->Position(), w.B->Position());

    // Latin-1 names, three games; the window is asked which one.
    ASSERT_TRUE(w.Write("three.pgn", "[White \"A\"]\n1. e4 *\n\n"
                                     "[White \"J\xF6rg\"]\n1. d4 Nf6 *\n\n"
                                     "[White \"C\"]\n1. c4 *\n"));
    QStringList offered;
    again.Files->ChooseGame = [&offered](const QStringList& games) {
        offered = games;
        return 1;
    };
    ASSERT_TRUE(again.Files->OpenFile(w.Temp("three.pgn"), error)) << error.toStdString();
    ASSERT_EQ(offered.size(), 3);
    EXPECT_EQ(offered[1], QString::fromUtf8("2. J\xC3\xB6rg - ?"));
    EXPECT_EQ(again.B->PieceAt(F6), 'n');
    EXPECT_TRUE(again.Files->GamePgn().contains(QString::fromUtf8("[White \"J\xC3\xB6rg\"]")));

    // A cancelled choice changes nothing; a missing file is reported.
    again.Files->ChooseGame = [](const QStringList&) { return -1; };
    ASSERT_TRUE(again.Files->OpenFile(w.Temp("three.pgn"), error));
    EXPECT_EQ(again.B->PieceAt(F6), 'n');
    EXPECT_FALSE(again.Files->OpenFile(w.Temp("missing.pgn"), error));
    EXPECT_EQ(error, "cannot open " + w.Temp("missing.pgn") + ": No such file or directory");
}

TEST(GameFiles, WhatCannotBeOpenedOrIsNotTextIsRefusedByName) {
    EnsureApplication();
    TWindow w;
    QString error;
    // A folder, and (when the test does not run with every right) a file without read access.
    EXPECT_FALSE(w.Files->OpenFile(w.Home.ConfigPath(), error));
    EXPECT_TRUE(error.startsWith("cannot open " + w.Home.ConfigPath() + ": ")) << error.toStdString();
    ASSERT_TRUE(w.Write("locked.pgn", "1. e4 *\n"));
    QFile::setPermissions(w.Temp("locked.pgn"), QFile::WriteOwner);
    if (!QFile(w.Temp("locked.pgn")).open(QIODevice::ReadOnly)) {
        EXPECT_FALSE(w.Files->OpenFile(w.Temp("locked.pgn"), error));
        EXPECT_TRUE(error.startsWith("cannot open " + w.Temp("locked.pgn") + ": "));
    }
    // A megabyte of random bytes holds no games, though a search may find some.
    QByteArray noise(1 << 20, '\0');
    std::uint32_t seed = 17;
    for (char& c : noise) {
        seed = seed * 1664525u + 1013904223u;
        c = char(seed >> 24);
    }
    ASSERT_TRUE(w.Write("noise.pgn", noise));
    bool asked = false;
    w.Files->ChooseGame = [&asked](const QStringList&) {
        asked = true;
        return 0;
    };
    EXPECT_FALSE(w.Files->OpenFile(w.Temp("noise.pgn"), error));
    EXPECT_FALSE(asked);
    EXPECT_EQ(error, w.Temp("noise.pgn") + " is not a PGN file: it does not hold text.");

    // Named on the command line: a missing file and a folder are reported as files.
    for (const QString& named : {w.Temp("missing.pgn"), w.Temp("missing"), w.Home.ConfigPath()}) {
        TTempHome home;
        TRecordingSound sound;
        TMessageRecorder messages;
        TForm1 form(&sound);
        InstallGameFiles(form, GameOption(named));
        ASSERT_TRUE(PumpUntil([&] { return !messages.Messages.empty(); }, 5000));
        EXPECT_TRUE(messages.Messages[0].startsWith("cannot open " + named + ": "))
            << messages.Messages[0].toStdString();
    }
}

TEST(GameFiles, GamesWithoutPlayerNamesAreListedByWhatTheyHold) {
    EnsureApplication();
    TWindow w;
    ASSERT_TRUE(w.Write("unnamed.pgn",
                        "[Event \"Training\"]\n[Date \"2024.03.??\"]\n[ECO \"C20\"]\n"
                        "[White \"?\"]\n[Black \"?\"]\n[Result \"*\"]\n\n1. e4 e5 *\n\n"
                        "[Opening \"Queen's Gambit\"]\n[Variation \"Declined\"]\n\n"
                        "1.d4 d5 2.c4 {the gambit} e6 (2... c6 3. Nf3) 3. Nc3 $1 Nf6 4. Bg5 1/2-1/2\n\n"
                        "1. c4 e5 2. g3 *\n"));
    QStringList offered;
    w.Files->ChooseGame = [&offered](const QStringList& games) {
        offered = games;
        return -1;
    };
    QString error;
    ASSERT_TRUE(w.Files->OpenFile(w.Temp("unnamed.pgn"), error)) << error.toStdString();
    EXPECT_EQ(offered, (QStringList{"1. Training, C20, 2024.03, 1. e4 e5",
                                    "2. Queen's Gambit, Declined, 1. d4 d5 2. c4 e6 3. Nc3 Nf6  1/2-1/2",
                                    "3. 1. c4 e5 2. g3"}));
}

TEST(GameFiles, CommandLineOpensAFileOrAFen) {
    EnsureApplication();
    TWindow w;
    ASSERT_TRUE(w.Write("game.pgn", "1. e4 c5 *\n"));
    TTempHome home;
    TRecordingSound sound;
    TForm1 form(&sound);
    InstallGameFiles(form, GameOption(w.Temp("game.pgn")));
    ASSERT_TRUE(PumpUntil([&] { return form.Board()->PieceAt(C5) == 'p'; }, 5000));
    EXPECT_TRUE(Controls(form).Panel3->isHidden());

    TForm1 second(&sound);
    InstallGameFiles(second, GameOption("4k3/8/8/8/8/8/8/R3K3 w Q - 0 1"));
    ASSERT_TRUE(PumpUntil([&] { return second.Board()->PieceAt(B1) == ' '; }, 5000));
    EXPECT_EQ(second.Board()->PieceAt(H1), ' ');
}

TEST(GameFiles, TheProgressWindowOfALongReadAppearsAfterAMoment) {
    EnsureApplication();
    TWindow w;
    w.Form.show();
    std::atomic<bool> release = false;
    std::atomic<bool> cancelled = false;
    QElapsedTimer clock;
    qint64 shownAfter = -1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog*>(window) && window->isVisible() && shownAfter < 0)
                shownAfter = clock.elapsed();
        if (shownAfter >= 0 || clock.elapsed() > 8000) release = true;
    });
    poll.start(10);
    clock.start();
    RunAside(&w.Form, "Reading...", [&release] {
        while (!release)
            QThread::msleep(5);
    }, cancelled);
    EXPECT_GE(shownAfter, kProgressDelayMs - 50);
    EXPECT_LE(shownAfter, kProgressDelayMs + 500);
    EXPECT_FALSE(cancelled);
}

TEST(GameFiles, APositionAlreadyOverEndsAtOnceWhateverBringsIt) {
    EnsureApplication();
    struct Case {
        const char* Text;
        const char* Message;
    };
    const Case cases[] = {
        {"7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", "Checkmate!"},
        {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "The game was a Draw!"},
        {"k7/8/8/8/8/8/8/KB6 w - - 0 1", "The game was a Draw!"},
        {"[FEN \"7k/6Q1/6K1/8/8/8/8/8 b - - 0 1\"]\n\n1-0", "Checkmate!"},
    };
    for (const Case& c : cases) {
        TWindow w;
        Controls(w.Form).ComboBox2->setCurrentText("Computer");
        Controls(w.Form).ComboBox1->setCurrentText("Computer");
        QString error;
        ASSERT_TRUE(w.Files->LoadText(c.Text, error)) << error.toStdString();
        EXPECT_EQ(Controls(w.Form).Label1->text(), c.Message) << c.Text;
        ASSERT_GT(w.Lines(), 2) << c.Text;
        EXPECT_EQ(Controls(w.Form).ListBox1->item(w.Lines() - 2)->text(), c.Message) << c.Text;
        EXPECT_FALSE(Controls(w.Form).Panel1->isEnabled()) << c.Text;
        // Neither computer moves.
        const std::string position = w.B->Position();
        PumpFor(200);
        EXPECT_EQ(w.B->Position(), position) << c.Text;
    }
}

TEST(GameFiles, NoSideMovesAfterTheGameEnds) {
    EnsureApplication();
    TWindow w;
    Controls(w.Form).ComboBox2->setCurrentText("Computer");
    QString error;
    ASSERT_TRUE(w.Files->LoadText("k7/8/8/8/8/8/1r6/KN6 w - - 0 1", error)) << error.toStdString();
    ASSERT_TRUE(w.B->PlayerMove(A1, B2));
    EXPECT_EQ(Controls(w.Form).Label1->text(), "The game was a Draw!");
    PumpFor(300);
    EXPECT_EQ(w.B->PieceAt(A8), 'k');
    EXPECT_FALSE(w.B->WhiteToMove());
    EXPECT_TRUE(w.Files->GamePgn().contains("1. Kxb2 1/2-1/2")) << w.Files->GamePgn().toStdString();

    // The same after a promotion to a knight leaves too little to mate.
    ASSERT_TRUE(w.Files->LoadText("k7/2P5/8/8/8/8/8/K7 w - - 0 1", error)) << error.toStdString();
    w.B->OnPromotion = [](TChessGame*, Square, Square, char& piece) { piece = 'n'; };
    ASSERT_TRUE(w.B->PlayerMove(C7, C8));
    EXPECT_EQ(w.B->PieceAt(C8), 'N');
    PumpFor(300);
    EXPECT_EQ(w.B->PieceAt(A8), 'k');
    EXPECT_FALSE(w.B->WhiteToMove());
}

TEST(GameFiles, AGamePutOnTheBoardStartsOnceAndEndsOnceAtMost) {
    EnsureApplication();
    TWindow w;
    QSignalSpy started(&w.Form, &TForm1::GameStarted);
    QSignalSpy ended(&w.Form, &TForm1::GameEnded);
    QString error;
    // Ended by the rules on its last move: the mate, not the record's result too.
    ASSERT_TRUE(w.Files->LoadText(kOperaGame, error)) << error.toStdString();
    EXPECT_EQ(started.count(), 1);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.front().front().toString(), "Checkmate!");
    // Ended by its record.
    ASSERT_TRUE(w.Files->LoadText("1. e4 e5 0-1", error)) << error.toStdString();
    EXPECT_EQ(started.count(), 2);
    ASSERT_EQ(ended.count(), 2);
    EXPECT_EQ(ended.back().front().toString(), "Black won: 0-1");
    // Still going on: the moves played onto the board end nothing.
    ASSERT_TRUE(w.Files->LoadText("1. f3 e5 2. g4 *", error)) << error.toStdString();
    EXPECT_EQ(started.count(), 3);
    EXPECT_EQ(ended.count(), 2);
}

TEST(GameFiles, ARecordedResultEndsTheGameUntilThePersonPlaysOn) {
    EnsureApplication();
    TWindow w;
    Controls(w.Form).ComboBox2->setCurrentText("Computer");
    QString error;
    // White resigned... as the record says; Black, the computer, is to move.
    ASSERT_TRUE(w.Files->LoadText("[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 1-0", error))
        << error.toStdString();
    EXPECT_EQ(Controls(w.Form).Label1->text(), "White won: 1-0");
    EXPECT_EQ(Controls(w.Form).ListBox1->item(w.Lines() - 1)->text(), "White won: 1-0");
    EXPECT_EQ(w.B->GameOver(), TGameOver::Marked);
    const std::string position = w.B->Position();
    PumpFor(300);
    EXPECT_EQ(w.B->Position(), position);
    EXPECT_TRUE(w.Files->GamePgn().contains("2. Nf3 1-0")) << w.Files->GamePgn().toStdString();
    // The person steps back and plays on: the computer answers.
    w.Form.SpeedButton4Click();
    ASSERT_TRUE(w.B->PlayerMove(B1, C3));
    ASSERT_TRUE(PumpUntil([&] { return w.B->WhiteToMove(); }, 5000));
    EXPECT_TRUE(w.Files->GamePgn().contains("2. Nc3")) << w.Files->GamePgn().toStdString();

    // With the person to move, the person's move goes on at once.
    ASSERT_TRUE(w.Files->LoadText("1. e4 e5 1/2-1/2", error)) << error.toStdString();
    EXPECT_EQ(Controls(w.Form).Label1->text(), "Drawn: 1/2-1/2");
    ASSERT_TRUE(w.B->PlayerMove(G1, F3));
    ASSERT_TRUE(PumpUntil([&] { return w.B->WhiteToMove(); }, 5000));
}
