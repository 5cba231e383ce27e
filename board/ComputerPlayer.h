#pragma once
// TComputerPlayer is whatever plays the computer's side of a board: the built-in search on
// its own thread, or a program outside. The board alone decides when it is the computer's
// turn. It then asks its player to think about the position on the board under a request
// number; the player answers, later and on the window thread, through the board's
// ComputerMoveReady with that number, the squares and the promotion piece. A request ends
// with every halt of the board (every change of the game), so a late answer is dropped
// there.

#include "Square.h"

class TChessBrd;

// A move as a computer player hands it over: the squares and, for a pawn reaching the last
// rank, the piece it becomes ("nbrq" in either case; 0 for a move that does not promote).
struct TComputerMove {
    Square From = None;
    Square To = None;
    char Promotion = 0;
};

class TComputerPlayer {
  public:
    virtual ~TComputerPlayer() = default;

    // The board lets the computer go on: when board.ComputersTurn() holds, work on a move
    // for request (the built-in engine also looks again after every move, see MoveMade). Asked
    // again, with the same or a newer request, whenever the board lets the computer go on; a player
    // already at work on the same position only takes the newer number.
    virtual void Think(TChessBrd& board, unsigned request) = 0;
    // The board halts: the game is about to change, and no answer to the request asked so
    // far is wanted.
    virtual void Halt() = 0;
    // A move has been made on the board by any path; a player that waits for its turn may
    // look again.
    virtual void MoveMade() {}
    // Searching now.
    virtual bool Thinking() const = 0;
    // Asked and not yet answered: searching or about to.
    virtual bool Engaged() const = 0;
};
