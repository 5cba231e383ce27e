// Making a move: its side effects, the history records, the game-end tests and the rules
// events in their fixed order.
#include "ChessGame.h"

#include <cctype>

namespace {

// Material points for the mating-material test: pawns, rooks and queens 5, bishops 3,
// knights 2, everything else 0.
int MaterialPoints(char c) {
    switch (std::tolower(static_cast<unsigned char>(c))) {
    case 'p':
    case 'r':
    case 'q':
        return 5;
    case 'b':
        return 3;
    case 'n':
        return 2;
    default:
        return 0;
    }
}

} // namespace

bool TChessGame::MakeMove(Square oldSq, Square newSq, char promotion) {
    // 1. No move has ended the game yet.
    FGameEnded = false;
    // 2. An illegal move changes nothing.
    if (!IsLegalMove(oldSq, newSq)) return false;
    // 3. A game marked over goes on with this move.
    FMarkedOver = false;
    // What the move does, gathered step by step for its report.
    TMoveReport report;
    report.White = FWhiteToMove;
    report.Piece = FBoard[oldSq];
    report.From = oldSq;
    report.To = newSq;
    // 4. The record of the position the half-move is played from.
    RecordHalfMove(oldSq, newSq);
    // 5. oldSq shows empty; a move the user did not drop is animated.
    ShowDeparture(oldSq, newSq);
    // 6. The piece goes to newSq.
    const char captured = FBoard[newSq];
    if (captured != ' ') report.Captured = captured, report.CapturedOn = newSq;
    PlacePiece(oldSq, newSq);
    // 7. The other side moves next; the end of the history follows.
    HandOverTurn();
    // 8. The move is announced.
    if (Heard(OnLegalMove)) OnLegalMove(this, oldSq, newSq);
    // 9. An ordinary capture.
    if (captured != ' ' && Heard(OnCapture)) OnCapture(this, oldSq, newSq, captured);
    // 10. Promotion.
    PromoteIfDue(oldSq, newSq, promotion, report);
    // 11. The pawn taken en passant.
    CaptureEnPassant(oldSq, newSq, report);
    // 12. The en-passant square of this move.
    UpdateEnPassant(oldSq, newSq);
    // 13. The castling rook.
    MoveCastlingRook(oldSq, newSq, report);
    // 14. Castling rights, by the square left.
    UpdateCastlingRights(oldSq);
    // 15..21. Check, the ends of the game and the draw.
    AnnounceEnd(oldSq, newSq, true, report);
    // 22. The board is shown anew.
    if (Heard(OnPaint)) OnPaint(this);
    // The move is complete: its report (a move played quietly has none).
    if (!FQuiet) ReportMove(report);
    return true;
}

void TChessGame::ReportMove(const TMoveReport& report) {
    if (OnMoveReport) OnMoveReport(this, report);
}

bool TChessGame::PlayerMove(Square oldSq, Square newSq) {
    StopThinking();
    // A game the rules have ended takes no further move; a marked one goes on.
    const TGameOver over = GameOver();
    FPersonsMove = true;
    const bool result =
        (over == TGameOver::None || over == TGameOver::Marked) && MakeMove(oldSq, newSq);
    FPersonsMove = false;
    FEngineHalted = false;
    StartComputerMove();
    return result;
}

bool TChessGame::PlayRecordedMove(Square oldSq, Square newSq, char promotion, bool quietly) {
    const bool wasQuiet = FQuiet;
    FQuiet = quietly;
    const bool ok = MakeMove(oldSq, newSq, promotion);
    FQuiet = wasQuiet;
    return ok;
}

void TChessGame::RecordHalfMove(Square oldSq, Square newSq) {
    // Black playing at (n, Black) while the history ends at (n, White): the side to move
    // was written over, and White's record of n has no half-move of its own. When it is
    // the very first record it was never written in this game at all (a game Black
    // began), so it is cleared whole and nothing of an earlier game survives there.
    const bool pastEnd = !FWhiteToMove && FCurrentMove == FHistoryLastMove && FHistoryLastWhite;
    if (pastEnd) {
        MoveInfo& end = Record(FHistoryLastMove, FHistoryLastWhite);
        if (FHistoryLastMove == FHistoryFirstMove && FHistoryLastWhite == FHistoryFirstWhite)
            end = MoveInfo{};
        end.OldSq = None;
        end.NewSq = None;
    }
    MoveInfo& info = Record(FCurrentMove, FWhiteToMove);
    info.Position = Position();
    info.Castling = FCastlingAllowed;
    info.EnPassant = FEnPassant;
    info.OldSq = oldSq;
    info.NewSq = newSq;
}

void TChessGame::ShowDeparture(Square oldSq, Square newSq) {
    RepaintSquare(oldSq);
    if (AnimateMoves() && !FQuiet && !IsDroppedMove(oldSq, newSq)) {
        DrawGridLines();
        AnimateMove(oldSq, newSq, AnimationDelay());
    }
}

void TChessGame::PlacePiece(Square oldSq, Square newSq) {
    FBoard[newSq] = FBoard[oldSq];
    FBoard[oldSq] = ' ';
    RepaintSquare(newSq);
    DrawPieceAt(newSq, FBoard[newSq]);
    DrawGridLines();
}

void TChessGame::HandOverTurn() {
    if (!FWhiteToMove) ++FCurrentMove;
    FWhiteToMove = !FWhiteToMove;
    FHistoryLastMove = FCurrentMove;
    FHistoryLastWhite = FWhiteToMove;
    // Whatever the new end's record still holds (an earlier game, an abandoned line) is
    // not this game's position; left there, the game-end tests below would compare it.
    Record(FCurrentMove, FWhiteToMove).Position.clear();
}

void TChessGame::PromoteIfDue(Square oldSq, Square newSq, char promotion, TMoveReport& report) {
    const char c = FBoard[newSq];
    const int rank = RankOf(newSq);
    if ((c != 'P' && c != 'p') || (rank != 8 && rank != 1)) return;
    // A person's move without a piece of its own asks the person.
    if (promotion == 0 && FPersonsMove) promotion = ChoosePromotion(oldSq, newSq);
    if (promotion == 0) {
        // The handler's choice stays in PromotionPiece for later promotions.
        if (Heard(OnPromotion)) OnPromotion(this, oldSq, newSq, FPromotionPiece);
        ApplyPromotion(newSq, FPromotionPiece);
    } else {
        // A piece that came with the move, or that the person chose, is this move's alone
        // and stands: the handler hears it, but a letter it leaves is not taken.
        char heard = promotion;
        if (Heard(OnPromotion)) OnPromotion(this, oldSq, newSq, heard);
        ApplyPromotion(newSq, promotion);
    }
    report.Promotion = FBoard[newSq];
}

void TChessGame::ApplyPromotion(Square sq) {
    ApplyPromotion(sq, FPromotionPiece);
}

void TChessGame::ApplyPromotion(Square sq, char piece) {
    if (sq < A8 || sq > H1) return;
    const auto upper = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(piece)));
    // The letter is taken as it is; rank 1 gets the upper-case form plus 32.
    if (RankOf(sq) == 8) FBoard[sq] = static_cast<char>(upper);
    if (RankOf(sq) == 1) FBoard[sq] = static_cast<char>(upper + 32);
    RepaintSquare(sq);
    DrawPieceAt(sq, FBoard[sq]);
    DrawGridLines();
}

void TChessGame::CaptureEnPassant(Square oldSq, Square newSq, TMoveReport& report) {
    const Square victim = EnPassantVictim(newSq, FBoard[newSq]);
    if (victim == None) return;
    if (Heard(OnCapture)) OnCapture(this, oldSq, newSq, FBoard[victim]);
    // A set-up position may have put a piece on the passed square too; the report keeps
    // the piece taken on the square moved to.
    if (!report.Capture()) {
        report.Captured = FBoard[victim];
        report.CapturedOn = victim;
        report.EnPassant = true;
    }
    FBoard[victim] = ' ';
    RepaintSquare(victim);
    DrawGridLines();
}

void TChessGame::UpdateEnPassant(Square oldSq, Square newSq) {
    const char c = FBoard[newSq];
    const int from = RankOf(oldSq);
    const int to = RankOf(newSq);
    const bool doubleStep =
        (c == 'P' && from == 2 && to == 4) || (c == 'p' && from == 7 && to == 5);
    FEnPassant = doubleStep ? static_cast<Square>((oldSq + newSq) / 2) : None;
}

void TChessGame::MoveCastlingRook(Square oldSq, Square newSq, TMoveReport& report) {
    Square corner = None;
    Square rookTo = None;
    if (FBoard[newSq] == 'K' && oldSq == E1) {
        if (newSq == G1) corner = H1, rookTo = F1;
        if (newSq == C1) corner = A1, rookTo = D1;
    }
    if (FBoard[newSq] == 'k' && oldSq == E8) {
        if (newSq == G8) corner = H8, rookTo = F8;
        if (newSq == C8) corner = A8, rookTo = D8;
    }
    if (corner == None) return;
    FBoard[rookTo] = FBoard[newSq] == 'K' ? 'R' : 'r';
    FBoard[corner] = ' ';
    RepaintSquare(corner);
    DrawPieceAt(rookTo, FBoard[rookTo]);
    DrawGridLines();
    report.RookFrom = corner;
    report.RookTo = rookTo;
    if (Heard(OnCastle)) OnCastle(this, oldSq, newSq);
}

void TChessGame::UpdateCastlingRights(Square oldSq) {
    switch (oldSq) {
    case A1:
        FCastlingAllowed.Exclude(WhiteQueenSide);
        break;
    case E1:
        FCastlingAllowed.Exclude(WhiteQueenSide);
        FCastlingAllowed.Exclude(WhiteKingSide);
        break;
    case H1:
        FCastlingAllowed.Exclude(WhiteKingSide);
        break;
    case A8:
        FCastlingAllowed.Exclude(BlackQueenSide);
        break;
    case E8:
        FCastlingAllowed.Exclude(BlackQueenSide);
        FCastlingAllowed.Exclude(BlackKingSide);
        break;
    case H8:
        FCastlingAllowed.Exclude(BlackKingSide);
        break;
    default:
        break;
    }
}

// Steps 15 to 17; the report learns check, mate and stalemate whatever handlers there are.
void TChessGame::AnnounceCheckAndEnd(Square oldSq, Square newSq, TMoveReport& report) {
    // 15. Either king attacked on the board as it now stands.
    const bool check = WhiteKingInCheck(newSq, newSq) || BlackKingInCheck(newSq, newSq);
    // 16. Whether the side now to move can move at all.
    const bool canMove = HasLegalMove();
    report.Check = check;
    report.Mate = check && !canMove;
    report.StaleMate = !check && !canMove;
    // 17. Check, mate or stalemate announced.
    if (check) {
        if (Heard(OnCheck)) OnCheck(this, oldSq, newSq);
        if (!canMove && Heard(OnMate)) {
            FGameEnded = true;
            OnMate(this, oldSq, newSq);
        }
        return;
    }
    if (canMove) return;
    if (Heard(OnStaleMate)) OnStaleMate(this, oldSq, newSq);
}

// Steps 15 to 21 of MakeMove; a placed position has no record of its own to write.
void TChessGame::AnnounceEnd(Square oldSq, Square newSq, bool recordPosition, TMoveReport& report) {
    // 15..17. Check, mate and stalemate.
    AnnounceCheckAndEnd(oldSq, newSq, report);
    // 18. Mating material.
    if (LacksMatingMaterial()) {
        report.NoMatingMaterial = true;
        if (Heard(OnNoMatingMaterial)) OnNoMatingMaterial(this);
    }
    // 19. The record of the new position.
    if (recordPosition) RecordCurrentPosition();
    // 20. Threefold repetition.
    if (IsThreefoldRepetition()) {
        report.Threefold = true;
        if (Heard(OnThreefoldPosition)) OnThreefoldPosition(this);
    }
    // 21. One draw announcement per move.
    if (report.Drawn() && Heard(OnDraw)) {
        FGameEnded = true;
        OnDraw(this);
    }
}

void TChessGame::AnnouncePosition() {
    FGameEnded = false;
    TMoveReport position; // no move: what it learns goes nowhere
    AnnounceEnd(None, None, false, position);
}

TGameOver TChessGame::GameOver() const {
    // A repetition leaves no legal move either, so it is asked first.
    if (FRepetitionEndsGame && IsThreefoldRepetition()) return TGameOver::Threefold;
    if (!HasLegalMove()) {
        const bool check =
            FWhiteToMove ? WhiteKingInCheck(None, None) : BlackKingInCheck(None, None);
        return check ? TGameOver::Mate : TGameOver::StaleMate;
    }
    if (LacksMatingMaterial()) return TGameOver::NoMatingMaterial;
    return FMarkedOver ? TGameOver::Marked : TGameOver::None;
}

bool TChessGame::LacksMatingMaterial() const {
    return SideLacksMatingMaterial(true) && SideLacksMatingMaterial(false);
}

bool TChessGame::SideLacksMatingMaterial(bool white) const {
    int points = 0;
    for (int sq = 1; sq <= 64; ++sq) {
        const char c = FBoard[sq];
        if (white ? (c >= 'A' && c <= 'Z') : (c >= 'a' && c <= 'z')) points += MaterialPoints(c);
    }
    return points < 5;
}

void TChessGame::RecordCurrentPosition() {
    MoveInfo& info = Record(FCurrentMove, FWhiteToMove);
    info.Position = Position();
    info.Castling = FCastlingAllowed;
    info.EnPassant = FEnPassant;
    FHistoryLastMove = FCurrentMove;
    FHistoryLastWhite = FWhiteToMove;
}
