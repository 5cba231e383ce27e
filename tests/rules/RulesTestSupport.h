#pragma once
// Helpers shared by the rules tests: squares by name, positions written as piece lists, and
// a recorder of every rules event a game raises.

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ChessGame.h"

inline Square Sq(const std::string& name) {
    Square sq = None;
    SquareFromName(name.c_str(), sq);
    return sq;
}

// "Ke1 Rh1 ke8": a letter and a square per piece, everything else empty.
inline void Place(TChessGame& game, const std::string& pieces, bool whiteToMove = true) {
    std::string text(64, ' ');
    std::istringstream in(pieces);
    for (std::string p; in >> p;)
        text[Sq(p.substr(1)) - 1] = p[0];
    game.SetPosition(text);
    game.SetWhiteToMove(whiteToMove);
}

// Plays moves written "e2e4"; false at the first refused one.
inline bool Play(TChessGame& game, std::initializer_list<const char*> moves) {
    for (std::string m : moves)
        if (!game.MakeMove(Sq(m.substr(0, 2)), Sq(m.substr(2, 2)))) return false;
    return true;
}

// Logs each event as a line: its name, then its arguments ("Capture 29 20 p"). The lines
// live as long as the handlers that write them, so a game may outlive its log.
struct EventLog {
    std::shared_ptr<std::vector<std::string>> Sink = std::make_shared<std::vector<std::string>>();
    std::vector<std::string>& Lines = *Sink;

    void Attach(TChessGame& game) {
        auto log = [sink = Sink](std::string line) { sink->push_back(std::move(line)); };
        auto move = [log](std::string name) {
            return [log, name](TChessGame*, Square a, Square b) {
                log(name + " " + std::to_string(a) + " " + std::to_string(b));
            };
        };
        auto notify = [log](std::string name) { return [log, name](TChessGame*) { log(name); }; };
        game.OnLegalMove = move("LegalMove");
        game.OnCastle = move("Castle");
        game.OnCheck = move("Check");
        game.OnMate = move("Mate");
        game.OnStaleMate = move("StaleMate");
        game.OnCapture = [log](TChessGame*, Square a, Square b, char piece) {
            log("Capture " + std::to_string(a) + " " + std::to_string(b) + " " + piece);
        };
        game.OnPromotion = [log](TChessGame*, Square a, Square b, char& piece) {
            log("Promotion " + std::to_string(a) + " " + std::to_string(b) + " " + piece);
        };
        game.OnNoMatingMaterial = notify("NoMatingMaterial");
        game.OnThreefoldPosition = notify("Threefold");
        game.OnDraw = notify("Draw");
        game.OnPaint = notify("Paint");
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& l : Lines)
            names.push_back(l.substr(0, l.find(' ')));
        return names;
    }
};

using Lines = std::vector<std::string>;
