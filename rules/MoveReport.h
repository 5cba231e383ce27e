#pragma once
// What one half-move did, as MakeMove played it: who moved which piece from where to where,
// what it took and where that stood, the rook a castling moved, the piece a pawn became,
// and how the game stands after it (check, mate, or a draw and why). MakeMove fills one as
// it goes and hands it on once all the move's events have been raised, so that a listener
// (the spoken moves, the board's accessible description) reads the whole move from one
// record instead of piecing it together again from the events.
//
// The draws are told one flag each, since a move can make more than one; End() names the
// first in the order the events come. The rules know no fifty-move rule, so there is none.

#include "GameOver.h"
#include "Square.h"

struct TMoveReport {
    bool White = true; // the side that moved
    char Piece = ' ';  // the letter that moved, as it stood on From ('P'/'p' promoting)
    Square From = None;
    Square To = None;
    char Captured = ' ';      // the letter taken, a space for none
    Square CapturedOn = None; // where it stood: To, or beside To for en passant
    bool EnPassant = false;
    Square RookFrom = None; // castling: the rook's corner and the square it went to
    Square RookTo = None;
    char Promotion = 0;     // the letter the pawn became, 0 for none
    bool Check = false;     // a king stands attacked after the move
    bool Mate = false;      // check, and the side now to move has no legal move
    bool StaleMate = false; // no check, and the side now to move has no legal move
    bool NoMatingMaterial = false;
    bool Threefold = false; // the position after the move has come for the third time

    bool Capture() const { return Captured != ' '; }
    bool Castle() const { return RookFrom != None; }
    bool Drawn() const { return StaleMate || NoMatingMaterial || Threefold; }
    // How the move ended the game: Mate, or the first draw it made, or None.
    TGameOver End() const {
        if (Mate) return TGameOver::Mate;
        if (StaleMate) return TGameOver::StaleMate;
        if (NoMatingMaterial) return TGameOver::NoMatingMaterial;
        if (Threefold) return TGameOver::Threefold;
        return TGameOver::None;
    }
};
