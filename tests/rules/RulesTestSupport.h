#pragma once
// Helpers shared by the rules tests: squares by name, positions drawn as eight ranks, and a
// recorder that logs every rules event a game raises.

#include <string>
#include <vector>

#include "ChessGame.h"

// "e2" -> E2; fails the calling test on a bad name.
inline Square Sq(const char* name) {
    Square sq = None;
    SquareFromName(name, sq);
    return sq;
}

// Eight ranks of eight letters, rank 8 first, joined into a position text.
inline std::string Board(std::initializer_list<const char*> ranks) {
    std::string text;
    for (const char* r : ranks)
        text += r;
    return text;
}

// Plays a list of moves written "e2e4"; answers false at the first refused one.
inline bool Play(TChessGame& game, std::initializer_list<const char*> moves) {
    for (const char* m : moves) {
        const std::string s(m);
        if (!game.MakeMove(Sq(s.substr(0, 2).c_str()), Sq(s.substr(2, 2).c_str()))) return false;
    }
    return true;
}

// Logs every rules event as a short line ("LegalMove 53 37", "Capture 29 20 p", "Draw").
struct EventLog {
    std::vector<std::string> Lines;

    void Attach(TChessGame& game) {
        auto move = [this](const char* name) {
            return [this, name](TChessGame*, Square a, Square b) {
                Lines.push_back(std::string(name) + " " + std::to_string(a) + " " +
                                std::to_string(b));
            };
        };
        auto notify = [this](const char* name) {
            return [this, name](TChessGame*) { Lines.emplace_back(name); };
        };
        game.OnLegalMove = move("LegalMove");
        game.OnCastle = move("Castle");
        game.OnCheck = move("Check");
        game.OnMate = move("Mate");
        game.OnStaleMate = move("StaleMate");
        game.OnCapture = [this](TChessGame*, Square a, Square b, char piece) {
            Lines.push_back("Capture " + std::to_string(a) + " " + std::to_string(b) + " " +
                            std::string(1, piece));
        };
        game.OnPromotion = [this](TChessGame*, Square a, Square b, char& piece) {
            Lines.push_back("Promotion " + std::to_string(a) + " " + std::to_string(b) + " " +
                            std::string(1, piece));
        };
        game.OnNoMatingMaterial = notify("NoMatingMaterial");
        game.OnThreefoldPosition = notify("Threefold");
        game.OnDraw = notify("Draw");
        game.OnPaint = notify("Paint");
    }

    // The names only, without arguments.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& l : Lines)
            names.push_back(l.substr(0, l.find(' ')));
        return names;
    }

    void Clear() { Lines.clear(); }
};
