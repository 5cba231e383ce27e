#include "GameLine.h"

#include <algorithm>

#include "ChessGame.h"
#include "GameInput.h"
#include "Text.h"

namespace {

// The position before a recorded half-move, as the engine's input.
TEngineInput InputOf(const MoveInfo& record, bool white) {
    TEngineInput in{};
    std::copy_n(record.Position.begin(), 64, in.Board);
    in.WhiteToMove = white;
    in.CastlingAllowed = static_cast<std::uint8_t>(record.Castling.Bits & 0x0F);
    in.EnPassant = static_cast<std::uint8_t>(record.EnPassant);
    return in;
}

} // namespace

std::string FenOf(const TEngineInput& in) {
    std::string fen;
    for (int rank = 0; rank < 8; ++rank) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            const char c = in.Board[rank * 8 + file];
            if (c == ' ' || c == 0) {
                ++empty;
                continue;
            }
            if (empty) fen += static_cast<char>('0' + empty);
            empty = 0;
            fen += c;
        }
        if (empty) fen += static_cast<char>('0' + empty);
        if (rank < 7) fen += '/';
    }
    fen += in.WhiteToMove ? " w " : " b ";
    std::string castling;
    if (in.CastlingAllowed & 1) castling += 'K';
    if (in.CastlingAllowed & 2) castling += 'Q';
    if (in.CastlingAllowed & 4) castling += 'k';
    if (in.CastlingAllowed & 8) castling += 'q';
    fen += castling.empty() ? "-" : castling;
    return fen + ' ' + SquareText(in.EnPassant) + " 0 1";
}

TGameLine GameLineOf(const TChessGame& game) {
    TGameLine line;
    line.Now = EngineInputOf(game);
    int n = game.HistoryFirstMove();
    bool white = game.HistoryFirstWhite();
    // The half-moves from the first record up to the one the board shows (which may lie
    // before the last after stepping back).
    while (n < game.CurrentMove() || (n == game.CurrentMove() && white && !game.WhiteToMove())) {
        const MoveInfo& record = game.MoveHistory(n, white);
        if (record.Position.size() != 64 || record.OldSq == None || record.NewSq == None) {
            line.Moves.clear();
            line.StartFen.clear();
            return line;
        }
        if (line.StartFen.empty()) line.StartFen = FenOf(InputOf(record, white));
        std::string move = SquareText(record.OldSq) + SquareText(record.NewSq);
        // A pawn reaching the last rank: the piece it became stands there a half-move later.
        const char mover = record.Position[static_cast<std::size_t>(record.OldSq - 1)];
        const int lastRank = white ? 8 : 1;
        if ((mover == 'P' || mover == 'p') && RankOf(record.NewSq) == lastRank) {
            const bool nextWhite = !white;
            const int next = white ? n : n + 1;
            const MoveInfo& after = game.MoveHistory(next, nextWhite);
            const std::string position = after.Position.size() == 64 ? after.Position : game.Position();
            const char piece = position[static_cast<std::size_t>(record.NewSq - 1)];
            move += static_cast<char>(piece | 0x20);
        }
        line.Moves.push_back(move);
        if (!white) ++n;
        white = !white;
    }
    return line;
}

bool PositionOf(const TGameLine& line, strong::TPosition& pos) {
    const std::string now = FenOf(line.Now);
    if (!line.StartFen.empty() && pos.SetFen(line.StartFen)) {
        bool played = true;
        for (const std::string& text : line.Moves) {
            const strong::Move m = pos.ParseMove(text);
            if (m == strong::NoMove) {
                played = false;
                break;
            }
            pos.DoMove(m);
        }
        // The same position: the pieces and the side. Castling and en passant are left out:
        // the rules keep rights that no king or rook could use any more, which a position
        // read from FEN drops, and the moves played give the true ones.
        const auto fields = [](const std::string& fen) {
            std::size_t end = 0;
            for (int field = 0; field < 2 && end != std::string::npos; ++field)
                end = fen.find(' ', end + 1);
            return fen.substr(0, end);
        };
        if (played && fields(pos.Fen()) == fields(now)) return true;
    }
    return pos.SetFen(now);
}
