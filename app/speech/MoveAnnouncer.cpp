#include "MoveAnnouncer.h"

#include "ChessBrd.h"
#include "Speech.h"
#include "SpokenMove.h"

void AnnounceMoves(TChessBrd& board, std::shared_ptr<TSpeaker> speaker,
                   std::function<bool()> speaking) {
    board.OnMoveReport = [speaker = std::move(speaker), speaking = std::move(speaking),
                          before = board.OnMoveReport](TChessGame* g, const TMoveReport& move) {
        if (speaking()) speaker->Say(SpokenMoveText(move));
        if (before) before(g, move);
    };
}
