#pragma once
// TChessGame holds one game of chess: the 64 squares, side to move, castling rights,
// en-passant square, move number and the history of every half-move played. It judges
// moves, makes them with all their side effects, detects the ends of a game and raises the
// rules events in their fixed order.
//
// The board control derives from this class. The calls the rules make out of themselves
// (halting and starting the computer player, drawing, animation) are virtual hooks that do
// nothing here; the board control overrides them. The rules depend on none of their effects.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "CastleSet.h"
#include "GameOver.h"
#include "MoveInfo.h"
#include "MoveReport.h"
#include "Square.h"

class TChessGame;

// Event types. The first argument is always the game (for the board control, the control
// itself); an event is raised only when a handler is assigned.
using TMoveEvent = std::function<void(TChessGame* Sender, Square oldSq, Square newSq)>;
using TCaptureEvent =
    std::function<void(TChessGame* Sender, Square oldSq, Square newSq, char CapturedPiece)>;
using TPromotionEvent =
    std::function<void(TChessGame* Sender, Square oldSq, Square newSq, char& NewPiece)>;
using TOneSquareEvent = std::function<void(TChessGame* Sender, Square square)>;
using TNotifyEvent = std::function<void(TChessGame* Sender)>;
using TMoveReportEvent = std::function<void(TChessGame* Sender, const TMoveReport& Report)>;

class TChessGame {
  public:
    TChessGame();
    virtual ~TChessGame() = default;
    TChessGame(const TChessGame&) = delete;
    TChessGame& operator=(const TChessGame&) = delete;

    // --- Position and game state ---------------------------------------------------------

    // 64 letters, square 1 (a8) first; a space for an empty square.
    std::string Position() const;
    // Halts the computer, empties the board, places the accepted letters of the value
    // (" PNBRQKpnbrqk"; a NUL ends the reading), or the start position for "init" /
    // "newgame" in any case, then repaints. Nothing else of the game changes.
    void SetPosition(std::string_view value);

    // The letter on a square (1..64), a space for an empty one; a space outside the board.
    char PieceAt(int sq) const { return (sq >= 1 && sq <= 64) ? FBoard[sq] : ' '; }
    // 1 for a letter in 'B'..'R', 0 for one in 'b'..'r', -1 otherwise (space included).
    int PieceColor(int sq) const {
        const char c = PieceAt(sq);
        return (c >= 'B' && c <= 'R') ? 1 : (c >= 'b' && c <= 'r') ? 0 : -1;
    }

    bool WhiteToMove() const { return FWhiteToMove; }
    void SetWhiteToMove(bool value);

    int CurrentMove() const { return FCurrentMove; }
    void SetCurrentMove(int) {} // read-only in effect

    CastleSet CastlingAllowed() const { return FCastlingAllowed; }
    void SetCastlingAllowed(CastleSet value) { FCastlingAllowed = value; }

    Square EnPassant() const { return FEnPassant; }
    // Accepts only a6..h6 (17..24) and a3..h3 (41..48); anything else is ignored.
    void SetEnPassant(int value);

    char PromotionPiece() const { return FPromotionPiece; }
    void SetPromotionPiece(char value) { FPromotionPiece = value; }

    // The record of (move number, side); an empty record for a number never reached.
    const MoveInfo& MoveHistory(int move, bool white) const;
    int HistoryFirstMove() const { return FHistoryFirstMove; }
    bool HistoryFirstWhite() const { return FHistoryFirstWhite; }
    int HistoryLastMove() const { return FHistoryLastMove; }
    bool HistoryLastWhite() const { return FHistoryLastWhite; }

    bool GameEnded() const { return FGameEnded; }
    // Whether a threefold repetition ends the game (true, as in play). A recorded game that
    // went on past one is replayed with false; the draw must be claimed in real chess.
    bool RepetitionEndsGame() const { return FRepetitionEndsGame; }
    void SetRepetitionEndsGame(bool value) { FRepetitionEndsGame = value; }
    bool EngineHalted() const { return FEngineHalted; }

    // Whether the position shown ends the game, and how: mate, stalemate, a threefold
    // repetition, too little material, or a mark set by MarkGameOver. Neither the computer
    // player nor PlayerMove moves in an ended game (a marked one takes the person's move).
    TGameOver GameOver() const;
    // Ends the game where it stands although the rules would let it go on. The mark goes
    // with the next move made, the next step through the history and a new game.
    void MarkGameOver() { FMarkedOver = true; }
    // For a position put on the board by code rather than by a move (a set-up, a saved
    // position): raises what a move into it would raise after its own events, in the same
    // order and with None for both squares (OnCheck, then OnMate or OnStaleMate,
    // OnNoMatingMaterial, OnThreefoldPosition, OnDraw), so a game already over ends at once.
    void AnnouncePosition();

    // --- Move legality ---------------------------------------------------------------------

    bool IsLegalMove(Square oldSq, Square newSq) const;
    bool HasLegalMove() const;
    bool WhiteKingInCheck(Square oldSq, Square newSq) const;
    bool BlackKingInCheck(Square oldSq, Square newSq) const;
    bool PawnCanMove(Square oldSq, Square newSq) const;
    bool KnightCanMove(Square oldSq, Square newSq) const;
    bool BishopCanMove(Square oldSq, Square newSq) const;
    bool RookCanMove(Square oldSq, Square newSq) const;
    bool QueenCanMove(Square oldSq, Square newSq) const;
    bool KingCanMove(Square oldSq, Square newSq) const;
    // The position of the current half-move has occurred at least twice before: the same
    // letters on the same squares, the same side to move, the same castling rights and the
    // same en-passant capture (a passed square counts only while a pawn can take on it).
    bool IsThreefoldRepetition() const;
    // Neither side has the material to mate (each under 5 points: pawns, rooks and queens 5,
    // a bishop 3, a knight 2).
    bool LacksMatingMaterial() const;
    // The one side's part of that test: its men come to under 5 points (a lone king, a king
    // with one minor piece or with two knights).
    bool SideLacksMatingMaterial(bool white) const;

    // --- Making moves, game end and history ------------------------------------------------

    // Plays a half-move. A pawn reaching the last rank becomes promotion when one is given
    // (for this move only: PromotionPiece stays, and OnPromotion hears the piece but cannot
    // replace it), otherwise PromotionPiece as OnPromotion leaves it.
    virtual bool MakeMove(Square oldSq, Square newSq, char promotion = 0);
    // A person's move: halts the computer, makes the move (a promotion asks the person
    // through ChoosePromotion) and lets the computer go on.
    bool PlayerMove(Square oldSq, Square newSq);
    // A half-move of a recorded game with its promotion piece. Quietly, it raises no event
    // and slides nothing; the game changes as by MakeMove.
    bool PlayRecordedMove(Square oldSq, Square newSq, char promotion, bool quietly);
    void ApplyPromotion(Square sq);
    bool StepBack();
    bool StepForward();
    bool GotoHalfMove(int n, bool white);
    void ResetGame();
    void NewGame();
    // Appends one line per half-move of the history; does not clear the list.
    void GetMoveList(std::vector<std::string>& list) const;

    // --- Calls out of the rules: the computer player ----------------------------------------

    // Halts the computer player; here it only sets EngineHalted.
    virtual void StopThinking();
    // Lets the computer move if it is its turn; nothing here.
    virtual void StartComputerMove() {}

    // --- Events ------------------------------------------------------------------------------

    TMoveEvent OnLegalMove;
    TCaptureEvent OnCapture;
    TPromotionEvent OnPromotion;
    TMoveEvent OnCastle;
    TMoveEvent OnCheck;
    TMoveEvent OnMate;
    TMoveEvent OnStaleMate;
    TNotifyEvent OnNoMatingMaterial;
    TNotifyEvent OnThreefoldPosition;
    TNotifyEvent OnDraw;
    TNotifyEvent OnPaint;
    TOneSquareEvent OnIllegalMove; // raised by the board control when a drag is refused
    // Once per move MakeMove plays, after all the events above: the whole move in one
    // record. Stepping through the history and a position put on the board raise none.
    TMoveReportEvent OnMoveReport;

  protected:
    // --- Calls out of the rules: drawing and animation (nothing here) ------------------------

    // The full repaint; here it only raises OnPaint.
    virtual void PaintBoard();
    virtual void RepaintSquare(Square) {}
    virtual void DrawPieceAt(Square, char) {}
    virtual void DrawGridLines() {}
    virtual void RedrawChanged(const std::string& /*old*/) {}
    virtual void AnimateMove(Square, Square, int /*delay*/) {}
    // The view's animation settings, which MakeMove reads: whether moves slide, and the
    // pause of each step in milliseconds. Here every move slides without a pause.
    virtual bool AnimateMoves() const { return true; }
    virtual int AnimationDelay() const { return 0; }
    // Whether the move is the one the user has just dropped on its square, which needs no
    // sliding; here nothing is ever dropped.
    virtual bool IsDroppedMove(Square /*from*/, Square /*to*/) const { return false; }
    // The last step of a move that was played: raises OnMoveReport. A view that shows the
    // move itself does so first and then calls this.
    virtual void ReportMove(const TMoveReport& report);
    // The piece a person's promoting move makes, asked when the pawn has reached the last
    // rank; 0 leaves it to PromotionPiece and OnPromotion. Here nobody is asked.
    virtual char ChoosePromotion(Square /*oldSq*/, Square /*newSq*/) { return 0; }

    bool FGameEnded = false;
    bool FEngineHalted = false;
    // While set, no move is legal once a threefold repetition stands.
    bool FRepetitionEndsGame = true;
    bool FMarkedOver = false;
    bool FPersonsMove = false; // PlayerMove's move is being made
    bool FQuiet = false;       // PlayRecordedMove's quiet move is being made

    // The board letters, index 1..64 (index 0 unused).
    char FBoard[65];
    bool FWhiteToMove = true;
    int FCurrentMove = 1;
    CastleSet FCastlingAllowed = CastleSet::All();
    Square FEnPassant = None;
    char FPromotionPiece = 'q';

  private:
    // The record of (move, side) for writing; the history grows to hold it. Every write
    // to the history goes through here, which is what keeps the repetition cache honest.
    MoveInfo& Record(int move, bool white);
    void PlaceStartPosition();

    // Legality helpers.
    bool PassesMoveRules(Square oldSq, Square newSq) const;
    bool SlideReaches(Square oldSq, Square newSq, bool diagonals, bool lines) const;
    bool CanCastle(Square oldSq, Square newSq) const;
    bool KingAttackedAfter(Square oldSq, Square newSq, bool whiteKing) const;
    Square EnPassantVictim(Square newSq, char moving) const;

    // The steps of MakeMove.
    void RecordHalfMove(Square oldSq, Square newSq);
    void ShowDeparture(Square oldSq, Square newSq);
    void PlacePiece(Square oldSq, Square newSq);
    void HandOverTurn();
    void PromoteIfDue(Square oldSq, Square newSq, char promotion, TMoveReport& report);
    void ApplyPromotion(Square sq, char piece);
    // An event is raised only when it has a handler and the move is not played quietly.
    template <class F> bool Heard(const F& handler) const { return handler && !FQuiet; }
    void CaptureEnPassant(Square oldSq, Square newSq, TMoveReport& report);
    void UpdateEnPassant(Square oldSq, Square newSq);
    void MoveCastlingRook(Square oldSq, Square newSq, TMoveReport& report);
    void UpdateCastlingRights(Square oldSq);
    void AnnounceCheckAndEnd(Square oldSq, Square newSq, TMoveReport& report);
    void AnnounceEnd(Square oldSq, Square newSq, bool recordPosition, TMoveReport& report);
    void RecordCurrentPosition();

    std::vector<MoveInfo> FHistory; // two records per move number: White's, then Black's
    int FHistoryFirstMove = 1;
    bool FHistoryFirstWhite = true;
    int FHistoryLastMove = 1;
    bool FHistoryLastWhite = true;

    // IsLegalMove asks the repetition test for every pair it judges, and the answer only
    // depends on the current half-move and the records; it is kept until either changes.
    struct RepetitionCache {
        int Move = 0;
        bool White = true;
        unsigned Version = 0;
        bool Valid = false;
        bool Answer = false;
    };
    unsigned FHistoryVersion = 0;
    mutable RepetitionCache FRepetition;
};
