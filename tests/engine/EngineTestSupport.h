#pragma once
// Helpers for the engine tests: positions from FEN text, moves by their squares, random
// positions, and the plain transcription RefEngine the engine is checked against.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ChessEngine.h"
#include "EngineFen.h"
#include "RefEngine.h"

namespace enginetest {

inline TEngineInput Fen(const char* fen, int depth = 1) {
    TEngineInput in{};
    EXPECT_TRUE(EngineInputFromFen(fen, in)) << fen;
    in.SearchDepth = depth;
    return in;
}

// Engine square of a name such as "e2".
inline int Sq(const char* name) {
    return (8 - (name[1] - '0')) * 8 + (name[0] - 'a');
}

// The engine is large (its move stack and tables): keep it off the test's stack.
inline std::unique_ptr<TChessEngine> Loaded(const char* fen) {
    auto e = std::make_unique<TChessEngine>();
    e->LoadPosition(Fen(fen));
    return e;
}

inline std::vector<TGenMove> PlyList(const TChessEngine& e) {
    return {e.MoveStack + e.FirstMove[e.Ply], e.MoveStack + e.MoveEnd[e.Ply]};
}

inline std::vector<std::string> Texts(const std::vector<TGenMove>& list) {
    std::vector<std::string> out;
    for (const TGenMove& g : list)
        out.push_back(EngineMoveText(g.Move));
    return out;
}

// Positions from play: seeded random games from the start and from a few rich positions.
// Each entry is a FEN-less engine input snapshot taken with the engine's own board.
inline TEngineInput InputOf(const TChessEngine& e) {
    TEngineInput in{};
    for (int s = 0; s < 64; ++s)
        in.Board[s] = e.Colour[s] == 6 ? ' ' : (e.Colour[s] == 0 ? "PNBRQK" : "pnbrqk")[e.Piece[s]];
    in.WhiteToMove = e.Side == 0;
    in.CastlingAllowed = static_cast<std::uint8_t>(e.CastleRights);
    in.EnPassant = static_cast<std::uint8_t>(e.EnPassantSq + 1);
    return in;
}

// A board of random pieces anywhere, with random rights and en-passant square: the kind of
// position a hand-edited game can hand over. Squares are filled with a chance of
// (1 + rng() % maxDensity) / 16.
inline TEngineInput RandomJunk(std::mt19937& rng, unsigned maxDensity = 15) {
    TEngineInput in{};
    const char letters[] = "PNBRQKpnbrqkCMdoX. ";
    const int density = 1 + static_cast<int>(rng() % maxDensity);
    for (char& c : in.Board)
        c = rng() % 16 < static_cast<unsigned>(density) ? letters[rng() % (sizeof letters - 1)]
                                                        : ' ';
    in.WhiteToMove = rng() % 2;
    in.CastlingAllowed = static_cast<std::uint8_t>(rng() % 256);
    in.EnPassant = static_cast<std::uint8_t>(rng() % 80);
    return in;
}

// Plays up to `plies` random legal moves on the engine from its loaded position and leaves
// the engine there (Ply counts them).
inline void RandomWalk(TChessEngine& e, std::mt19937& rng, int plies) {
    for (int k = 0; k < plies; ++k) {
        e.GenerateMoves();
        std::vector<TEngineMove> legal;
        for (const TGenMove& g : PlyList(e)) {
            if (e.PlayMove(g.Move)) {
                legal.push_back(g.Move);
                e.UndoMove();
            }
        }
        if (legal.empty()) return;
        e.PlayMove(legal[rng() % legal.size()]);
    }
}

} // namespace enginetest
