// FEN reading and move text for the engine's tools.

#include "EngineFen.h"

#include <algorithm>

#include "FenFields.h"
#include "Text.h"

bool EngineInputFromFen(std::string_view fen, TEngineInput& in) {
    TFenFields f;
    if (!ReadFenFields(fen, f)) return false;
    std::copy_n(f.Position.begin(), 64, in.Board);
    in.WhiteToMove = f.WhiteToMove;
    in.CastlingAllowed = f.Castling.Bits;
    in.EnPassant = f.EnPassant;
    return true;
}

std::string EngineMoveText(TEngineMove m) {
    std::string text = SquareText(m.From % 64 + 1) + SquareText(m.To % 64 + 1);
    if (m.Flags & mfPromotion && m.Promote >= 1 && m.Promote <= 4) text += " nbrq"[m.Promote];
    return text;
}
