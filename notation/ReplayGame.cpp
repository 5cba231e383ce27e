#include "ReplayGame.h"

void TReplayGame::SetUp(const FenPosition& position) {
    ResetGame();
    for (int sq = 1; sq <= 64; ++sq)
        FBoard[sq] = position.Board[sq - 1];
    FWhiteToMove = position.WhiteToMove;
    FCastlingAllowed = position.Castling;
    FEnPassant = position.EnPassant;
    FMoveOffset = position.MoveNumber - 1;
    FHalfMoveClock = position.HalfMoveClock;
}

FenPosition TReplayGame::Fen() const {
    FenPosition p;
    p.Board = Position();
    p.WhiteToMove = WhiteToMove();
    p.Castling = CastlingAllowed();
    p.EnPassant = EnPassant();
    p.HalfMoveClock = FHalfMoveClock;
    p.MoveNumber = FullMoveNumber();
    return p;
}

bool TReplayGame::IsPromotion(Square from, Square to) const {
    const char c = PieceAt(from);
    return (c == 'P' && RankOf(to) == 8) || (c == 'p' && RankOf(to) == 1);
}

std::vector<GameMove> TReplayGame::LegalMoves() const {
    std::vector<GameMove> moves;
    const int side = WhiteToMove() ? 1 : 0;
    for (int from = 1; from <= 64; ++from) {
        if (PieceColor(from) != side) continue;
        for (int to = 1; to <= 64; ++to) {
            const auto f = static_cast<Square>(from);
            const auto t = static_cast<Square>(to);
            if (!IsLegalMove(f, t)) continue;
            if (IsPromotion(f, t)) {
                for (char piece : {'q', 'r', 'b', 'n'})
                    moves.push_back({f, t, piece});
            } else {
                moves.push_back({f, t, 0});
            }
        }
    }
    return moves;
}

bool TReplayGame::Play(const GameMove& move) {
    const bool promotes = IsPromotion(move.From, move.To);
    const bool pieceOk = move.Promotion == 'q' || move.Promotion == 'r' || move.Promotion == 'b' ||
                         move.Promotion == 'n';
    if (promotes != pieceOk) return false;
    const char mover = PieceAt(move.From);
    const bool resets = mover == 'P' || mover == 'p' || PieceAt(move.To) != ' ';
    if (promotes) SetPromotionPiece(move.Promotion);
    if (!MakeMove(move.From, move.To)) return false;
    FHalfMoveClock = resets ? 0 : FHalfMoveClock + 1;
    return true;
}

bool TReplayGame::SideToMoveInCheck() const {
    return WhiteToMove() ? WhiteKingInCheck(A8, A8) : BlackKingInCheck(A8, A8);
}
