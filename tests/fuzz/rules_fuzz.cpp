// Drives the rules with arbitrary bytes: a written position first, then a stream of
// operations (moves between any squares, legal moves picked by index, stepping, setters,
// new games, odd promotion letters) with their arguments decoded from the bytes. After
// every operation the game must still hold 64 letters and a readable history.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ChessGame.h"

namespace {

// Hands out the input bytes one at a time; zero once they are used up.
class ByteReader {
  public:
    ByteReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    bool Empty() const { return FPos >= FSize; }
    std::uint8_t Next() { return FPos < FSize ? FData[FPos++] : 0; }
    Square NextSquare() { return static_cast<Square>(Next()); }
    std::string_view NextText(std::size_t length) {
        const std::size_t n = length < FSize - FPos ? length : FSize - FPos;
        const auto* start = reinterpret_cast<const char*>(FData + FPos);
        FPos += n;
        return {start, n};
    }

  private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

void CheckInvariants(const TChessGame& game) {
    Require(game.Position().size() == 64);
    Require(game.CurrentMove() >= 1);
    Require(game.HistoryLastMove() >= 1);
    const MoveInfo& current = game.MoveHistory(game.CurrentMove(), game.WhiteToMove());
    Require(current.Position.empty() || current.Position.size() == 64);
    std::vector<std::string> list;
    game.GetMoveList(list);
    Require(list.size() <= 2u * static_cast<unsigned>(game.HistoryLastMove()));
}

// Plays the index-th legal move, if there is any, so that inputs reach deep into real games.
void PlayLegalMove(TChessGame& game, std::uint8_t index) {
    std::vector<std::pair<Square, Square>> moves;
    for (int from = 1; from <= 64; ++from)
        for (int to = 1; to <= 64; ++to)
            if (game.IsLegalMove(static_cast<Square>(from), static_cast<Square>(to)))
                moves.emplace_back(static_cast<Square>(from), static_cast<Square>(to));
    Require(moves.empty() != game.HasLegalMove());
    if (moves.empty()) return;
    const auto [from, to] = moves[index % moves.size()];
    Require(game.MakeMove(from, to));
}

void RunOperation(TChessGame& game, ByteReader& in) {
    switch (in.Next() % 20) {
    case 0:
        game.MakeMove(in.NextSquare(), in.NextSquare());
        break;
    case 1:
        game.PlayerMove(in.NextSquare(), in.NextSquare());
        break;
    case 2:
        PlayLegalMove(game, in.Next());
        break;
    case 3:
        PlayLegalMove(game, in.Next());
        break;
    case 4:
        game.StepBack();
        break;
    case 5:
        game.StepForward();
        break;
    case 6:
        game.GotoHalfMove(static_cast<std::int8_t>(in.Next()), in.Next() & 1);
        break;
    case 7:
        game.IsLegalMove(in.NextSquare(), in.NextSquare());
        break;
    case 8:
        game.SetWhiteToMove(in.Next() & 1);
        break;
    case 9:
        game.SetEnPassant(static_cast<std::int8_t>(in.Next()));
        break;
    case 10:
        game.SetCastlingAllowed(CastleSet{in.Next()});
        break;
    case 11:
        game.SetPromotionPiece(static_cast<char>(in.Next()));
        break;
    case 12:
        game.NewGame();
        break;
    case 13:
        game.SetPosition(in.NextText(in.Next() % 72));
        break;
    case 14: {
        const Square a = in.NextSquare();
        const Square b = in.NextSquare();
        game.WhiteKingInCheck(a, b);
        game.BlackKingInCheck(a, b);
        game.PawnCanMove(a, b);
        game.KnightCanMove(a, b);
        game.QueenCanMove(a, b);
        game.KingCanMove(a, b);
        break;
    }
    case 15:
        game.ApplyPromotion(in.NextSquare());
        break;
    case 16:
        game.ResetGame();
        break;
    case 17:
        game.HasLegalMove();
        break;
    case 18:
        game.IsThreefoldRepetition();
        break;
    default: {
        std::vector<std::string> list;
        game.GetMoveList(list);
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    TChessGame game;
    // Promotions take a letter from the input, whatever it is.
    game.OnPromotion = [&in](TChessGame*, Square, Square, char& piece) {
        if (in.Next() & 1) piece = static_cast<char>(in.Next());
    };
    game.SetPosition(in.NextText(in.Next() % 72));
    for (int ops = 0; !in.Empty() && ops < 400; ++ops) {
        RunOperation(game, in);
        CheckInvariants(game);
    }
    return 0;
}
