#pragma once
// Says every move made on a board aloud from the board's report of it, once the move and
// all that followed from it (capture, promotion, check, the end of the game) are known.
// Moves made through the board are heard, whoever made them; stepping through the history
// makes no move and is silent.

#include <functional>
#include <memory>

class TChessBrd;
class TSpeaker;

// Listens to the board's move reports, keeping a listener already there. A move is spoken
// only while speaking() answers true.
void AnnounceMoves(TChessBrd& board, std::shared_ptr<TSpeaker> speaker,
                   std::function<bool()> speaking);
