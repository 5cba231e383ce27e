#pragma once
// Answers, in words, to what a player who cannot see the board asks about it: whose turn it
// is, the last move, where the pieces of one kind stand, what stands on a rank or a file,
// which pieces attack or defend a square, and where a piece may go. Free of Qt: it reads
// only the game, so the answers can be checked on known positions.

#include <string>

#include "ChessGame.h"

// The questions a board answers; the board maps its keys to them.
enum class TBoardQuestion {
    LastMove,  // the half-move that led to the position shown
    Turn,      // whose turn it is, with check and the end of the game
    Clock,     // the game's time; the board's host knows it
    Pieces,    // where the pieces of one kind and colour stand
    Rank,      // what stands on one rank
    File,      // what stands on one file
    Attackers, // the pieces that attack and defend a square
    Moves,     // the legal moves of the piece on a square
};

// "white knight", "black pawn"; "piece" stands for a letter that is none.
std::string PieceInWords(char letter);
// Whether the piece on from reaches to as a capture would, whatever stands on to and
// whoever is to move (pins and the king's safety aside).
bool Reaches(const TChessGame& g, int from, int to);

// "White to move, move 12", ", in check", or how the game ended.
std::string TurnAnswer(const TChessGame& g);
// "White knight g1 to f3", "Black pawn e5 takes d4, check", "White castles king side";
// "No move yet" when the position shown was reached by no recorded move.
std::string LastMoveAnswer(const TChessGame& g);
// "white knights: b1, g1", "black queen: d8", "white rooks: none"; the letter's case gives
// the colour. Squares from rank 1 up, each rank from a to h.
std::string PiecesAnswer(const TChessGame& g, char letter);
// "rank 1: a1 white rook, e1 white king", "rank 4: empty"; rank 1..8.
std::string RankAnswer(const TChessGame& g, int rank);
// "file e: e1 white king, e8 black king", "file c: empty"; file 1..8 for a..h.
std::string FileAnswer(const TChessGame& g, int file);
// For a piece: "e4, white pawn, attacked by black knight f6, defended by white pawn d3"
// ("none" where there is none); for an empty square: "e4, empty, reached by white: ...,
// by black: ...".
std::string AttackersAnswer(const TChessGame& g, int q);
// "white knight g1: f3, h3", "white pawn e5: d6 takes black pawn", "white king e1: g1
// castles"; "white bishop c1 has no legal move"; for the side not to move, "black pawn e7,
// not black's turn"; "e4, empty".
std::string MovesAnswer(const TChessGame& g, int q);
