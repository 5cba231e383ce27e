#include "MoveAnnouncer.h"

#include "ChessBrd.h"
#include "Speech.h"
#include "SpokenMove.h"

namespace {

// The move being made, gathered from the board's events in their order.
struct TMoveInProgress {
    bool Open = false;
    TSpokenMove Move;
};

// The game is past the move's last event: the record of the position after a move is
// cleared as the turn passes and written again only after check, mate and stalemate are
// known, so an empty one means the move is still under way.
bool MoveComplete(const TChessGame& g) {
    return g.MoveHistory(g.CurrentMove(), g.WhiteToMove()).Position.size() == 64;
}

template <typename Event, typename Mine>
void Join(Event& event, Mine mine) {
    event = [mine = std::move(mine), before = event](auto... args) {
        mine(args...);
        if (before) before(args...);
    };
}

} // namespace

void AnnounceMoves(TChessBrd& board, std::shared_ptr<TSpeaker> speaker,
                   std::function<bool()> speaking) {
    auto move = std::make_shared<TMoveInProgress>();
    Join(board.OnLegalMove, [move, speaking](TChessGame* g, Square from, Square to) {
        move->Open = speaking();
        move->Move = TSpokenMove{};
        move->Move.Piece = g->PieceAt(to);
        move->Move.From = from;
        move->Move.To = to;
    });
    Join(board.OnCapture, [move](TChessGame*, Square, Square, char) { move->Move.Capture = true; });
    Join(board.OnCastle, [move](TChessGame*, Square, Square) { move->Move.Castle = true; });
    Join(board.OnCheck, [move](TChessGame*, Square, Square) { move->Move.Check = true; });
    Join(board.OnMate, [move](TChessGame*, Square, Square) { move->Move.End = TGameEnd::Checkmate; });
    const auto ends = [move](TGameEnd end) {
        // A move that ends the game more than one way is told by the first.
        if (move->Move.End == TGameEnd::None) move->Move.End = end;
    };
    Join(board.OnStaleMate, [ends](TChessGame*, Square, Square) { ends(TGameEnd::Stalemate); });
    Join(board.OnNoMatingMaterial, [ends](TChessGame*) { ends(TGameEnd::NoMatingMaterial); });
    Join(board.OnThreefoldPosition, [ends](TChessGame*) { ends(TGameEnd::Repetition); });
    // The board's last event of a move; the board also raises it for other repaints.
    Join(board.OnPaint, [move, speaker](TChessGame* g) {
        if (!move->Open || !MoveComplete(*g)) return;
        move->Open = false;
        TSpokenMove& m = move->Move;
        const char now = g->PieceAt(m.To);
        if ((m.Piece == 'P' || m.Piece == 'p') && now != m.Piece) m.Promotion = now;
        speaker->Say(SpokenMoveText(m));
    });
}
