// The command line: each start option read into its place, the ways a FEN can be written,
// help and the version (the about window's), and a refusal (with a message) for what the
// program does not know.

#include <gtest/gtest.h>

#include <QLabel>

#include "AppTestSupport.h"
#include "StartOptions.h"
#include "UnSobre.h"

namespace {

struct TRead {
    TStartAction Action;
    TStartOptions Options;
    QString Text;
};

TRead Read(const QStringList& arguments) {
    EnsureApplication();
    TRead r;
    r.Options.Game = "left over";
    r.Action = ReadStartOptions(arguments, r.Options, r.Text);
    return r;
}

TEST(StartOptions, EachOptionGoesToItsPlace) {
    const QString fen = "4k3/8/8/8/8/8/8/R3K3 w Q - 0 1";
    struct TCase {
        QStringList Arguments;
        QString Game;
        QString Engine;
        bool SelfTest;
    };
    const TCase cases[] = {
        {{"chesszel"}, "", "", false},
        {{"chesszel", "game.pgn"}, "game.pgn", "", false},
        {{"chesszel", fen}, fen, "", false},
        // A FEN the shell split into its fields, en-passant dash included.
        {{"chesszel", "4k3/8/8/8/8/8/8/R3K3", "w", "Q", "-", "0", "1"}, fen, "", false},
        {{"chesszel", "--engine", "/usr/games/stockfish", "game.pgn"},
         "game.pgn",
         "/usr/games/stockfish",
         false},
        {{"chesszel", "game.pgn", "--engine=/opt/e"}, "game.pgn", "/opt/e", false},
        {{"chesszel", "--self-test-data"}, "", "", true},
        // After "--" everything is the game, even what looks like an option.
        {{"chesszel", "--", "--odd name.pgn"}, "--odd name.pgn", "", false},
    };
    for (const TCase& c : cases) {
        const TRead r = Read(c.Arguments);
        const std::string line = c.Arguments.join(' ').toStdString();
        ASSERT_EQ(r.Action, TStartAction::Run) << line << ": " << r.Text.toStdString();
        EXPECT_EQ(r.Options.Game, c.Game) << line;
        EXPECT_EQ(r.Options.EnginePath, c.Engine) << line;
        EXPECT_EQ(r.Options.SelfTestData, c.SelfTest) << line;
    }
}

TEST(StartOptions, HelpAndVersionAreTextsToPrint) {
    for (const char* option : {"--help", "-h"}) {
        const TRead r = Read({"/usr/bin/chesszel", option});
        EXPECT_EQ(r.Action, TStartAction::Help) << option;
        EXPECT_TRUE(r.Text.startsWith("Usage: chesszel [options] [FILE.pgn | \"FEN\"]\n"))
            << r.Text.toStdString();
        EXPECT_TRUE(r.Text.contains("--engine")) << r.Text.toStdString();
        EXPECT_TRUE(r.Text.contains("FEN")) << r.Text.toStdString();
    }
    // The version is the one the about window shows.
    const TRead v = Read({"chesszel", "--version", "game.pgn"});
    EXPECT_EQ(v.Action, TStartAction::Version);
    const TFrmSobre about;
    const QLabel* line = about.findChild<QLabel*>("Label10");
    ASSERT_NE(line, nullptr);
    ASSERT_TRUE(line->text().startsWith("Product version ")) << line->text().toStdString();
    EXPECT_EQ(v.Text.toStdString(), "Chess Zel " + line->text().mid(16).toStdString());
}

TEST(StartOptions, WhatIsNotKnownIsRefusedWithAMessage) {
    const QStringList refused[] = {
        {"chesszel", "--colour", "white"},
        {"chesszel", "game.pgn", "-x"},
        {"chesszel", "--engine"},    // the path is missing
        {"chesszel", "--engine="},   // an empty path
        {"chesszel", "--help=yes"},  // a switch takes no value
    };
    for (const QStringList& arguments : refused) {
        const TRead r = Read(arguments);
        const std::string line = arguments.join(' ').toStdString();
        EXPECT_EQ(r.Action, TStartAction::Refuse) << line;
        EXPECT_TRUE(r.Text.startsWith("chesszel: ")) << line << ": " << r.Text.toStdString();
        EXPECT_TRUE(r.Text.contains("--help")) << line;
        // Nothing of a refused line is taken.
        EXPECT_TRUE(r.Options.Game.isEmpty()) << line;
        EXPECT_TRUE(r.Options.EnginePath.isEmpty()) << line;
    }
    // An unknown option is named in the message.
    EXPECT_TRUE(Read({"chesszel", "--colour"}).Text.contains("colour"));
}

} // namespace
