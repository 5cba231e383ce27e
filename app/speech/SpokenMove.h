#pragma once
// A move as it is said aloud: "Knight g1 takes e5, check", "Castles king side",
// "Pawn e7 to e8 promotes to queen", and the end of the game after it ("Queen h5 takes f7,
// checkmate. White wins."). The colour of the side that moved is left out: the sides take
// turns and the squares tell whose piece it was, so every phrase gets to the piece and its
// squares at once; the colour is said where it is news, with the winner.

#include <QString>

enum class TGameEnd { None, Checkmate, Stalemate, NoMatingMaterial, Repetition };

struct TSpokenMove {
    // The letter of the piece that moved, as it stood before the move (a promoted pawn is
    // 'P' or 'p'), and its squares (1 = a8 .. 64 = h1).
    char Piece = ' ';
    int From = 0;
    int To = 0;
    bool Capture = false;
    bool Castle = false;
    bool Check = false;
    // The letter of the piece a pawn became, or 0.
    char Promotion = 0;
    TGameEnd End = TGameEnd::None;
};

QString SpokenMoveText(const TSpokenMove& move);
