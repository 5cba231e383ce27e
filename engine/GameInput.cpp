#include "GameInput.h"

#include <algorithm>
#include <string>

TEngineInput EngineInputOf(const TChessGame& game, int searchDepth) {
    TEngineInput in{};
    const std::string position = game.Position();
    std::copy_n(position.begin(), std::min<std::size_t>(position.size(), 64), in.Board);
    in.WhiteToMove = game.WhiteToMove();
    in.CastlingAllowed = static_cast<std::uint8_t>(game.CastlingAllowed().Bits & 0x0F);
    in.EnPassant = static_cast<std::uint8_t>(game.EnPassant());
    in.SearchDepth = searchDepth;
    return in;
}
