// Construction, the position and game-state properties, new games, history stepping and
// the move list. Legality lives in ChessGameLegality.cpp, MakeMove in ChessGameMoves.cpp.
#include "ChessGame.h"

#include <algorithm>
#include <cctype>

#include "Text.h"

namespace {

constexpr std::string_view kStartPosition = "rnbqkbnrpppppppp"
                                            "                                "
                                            "PPPPPPPPRNBQKBNR";

// The characters a written position may place; anything else leaves the square empty.
constexpr std::string_view kAcceptedLetters = " PNBRQKpnbrqk";

int HistoryIndex(int move, bool white) {
    return (move - 1) * 2 + (white ? 0 : 1);
}

// A record with no half-move of its own (the unplayed first White move of a game Black
// began, or a record never written) lists as three dots.
std::string MoveText(const MoveInfo& info) {
    if (info.Position.empty() || info.OldSq == None || info.NewSq == None || info.OldSq > H1 ||
        info.NewSq > H1)
        return "...";
    return std::string(SquareName(info.OldSq)) + "-" + SquareName(info.NewSq);
}

} // namespace

TChessGame::TChessGame() {
    std::fill(std::begin(FBoard), std::end(FBoard), ' ');
    FPromotionPiece = 'q';
    ResetGame();
}

// --- Position and game state -----------------------------------------------------------

std::string TChessGame::Position() const {
    return std::string(FBoard + 1, 64);
}

void TChessGame::SetPosition(std::string_view value) {
    StopThinking();
    std::fill(FBoard + 1, FBoard + 65, ' ');
    const std::size_t count = std::min<std::size_t>(value.size(), 64);
    for (std::size_t i = 0; i < count; ++i) {
        const char c = value[i];
        if (c == '\0') break;
        if (kAcceptedLetters.find(c) != std::string_view::npos) FBoard[i + 1] = c;
    }
    // The keywords are compared on the whole value, so a longer text never matches.
    if (EqualIgnoringCase(value, "init") || EqualIgnoringCase(value, "newgame"))
        PlaceStartPosition();
    PaintBoard();
}

void TChessGame::SetWhiteToMove(bool value) {
    StopThinking();
    FWhiteToMove = value;
}

void TChessGame::SetEnPassant(int value) {
    if ((value >= A6 && value <= H6) || (value >= A3 && value <= H3)) {
        StopThinking();
        FEnPassant = static_cast<Square>(value);
    }
}

const MoveInfo& TChessGame::MoveHistory(int move, bool white) const {
    static const MoveInfo kNeverWritten;
    if (move < 1) return kNeverWritten;
    const auto index = static_cast<std::size_t>(HistoryIndex(move, white));
    return index < FHistory.size() ? FHistory[index] : kNeverWritten;
}

MoveInfo& TChessGame::Record(int move, bool white) {
    const auto index = static_cast<std::size_t>(HistoryIndex(std::max(move, 1), white));
    if (index >= FHistory.size()) FHistory.resize(index + 1);
    ++FHistoryVersion;
    return FHistory[index];
}

void TChessGame::PlaceStartPosition() {
    std::copy(kStartPosition.begin(), kStartPosition.end(), FBoard + 1);
}

void TChessGame::StopThinking() {
    FEngineHalted = true;
}

void TChessGame::PaintBoard() {
    if (OnPaint) OnPaint(this);
}

// --- New game ----------------------------------------------------------------------------

void TChessGame::ResetGame() {
    StopThinking();
    PlaceStartPosition();
    FWhiteToMove = true;
    FCurrentMove = 1;
    FHistoryFirstMove = 1;
    FHistoryFirstWhite = true;
    FHistoryLastMove = 1;
    FHistoryLastWhite = true;
    FEnPassant = None;
    FMarkedOver = false;
    for (auto c : {WhiteKingSide, WhiteQueenSide, BlackKingSide, BlackQueenSide})
        FCastlingAllowed.Include(c);
}

void TChessGame::NewGame() {
    ResetGame();
    PaintBoard();
}

// --- History stepping --------------------------------------------------------------------

bool TChessGame::StepBack() {
    return FWhiteToMove ? GotoHalfMove(FCurrentMove - 1, false) : GotoHalfMove(FCurrentMove, true);
}

bool TChessGame::StepForward() {
    return FWhiteToMove ? GotoHalfMove(FCurrentMove, false) : GotoHalfMove(FCurrentMove + 1, true);
}

bool TChessGame::GotoHalfMove(int n, bool white) {
    // 1. Halt the computer player.
    StopThinking();
    // 2. Refuse targets outside the history, and records that hold no position (the
    //    unplayed first White move of a game Black began) so nothing empty reaches the board.
    if (n > FHistoryLastMove || (n == FHistoryLastMove && FHistoryLastWhite && !white) ||
        n < FHistoryFirstMove || (n == FHistoryFirstMove && !FHistoryFirstWhite && white))
        return false;
    const MoveInfo& target = MoveHistory(n, white);
    if (target.Position.size() != 64) return false;
    // 3. The target becomes the current half-move.
    FCurrentMove = n;
    FWhiteToMove = white;
    FMarkedOver = false;
    // 4. Its position, en-passant square and castling rights go onto the board.
    const std::string old = Position();
    std::copy(target.Position.begin(), target.Position.end(), FBoard + 1);
    FEnPassant = target.EnPassant;
    FCastlingAllowed = target.Castling;
    // 5. Repaint what changed.
    RedrawChanged(old);
    return true;
}

// --- Move list ---------------------------------------------------------------------------

void TChessGame::GetMoveList(std::vector<std::string>& list) const {
    for (int n = FHistoryFirstMove; n <= FHistoryLastMove; ++n) {
        if (n == FHistoryLastMove && FHistoryLastWhite) return;
        list.push_back(std::to_string(n) + ". " + MoveText(MoveHistory(n, true)));
        if (n == FHistoryLastMove) return;
        list.push_back(std::string(14, ' ') + MoveText(MoveHistory(n, false)));
    }
}
