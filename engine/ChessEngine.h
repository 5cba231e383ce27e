#pragma once
// TChessEngine is the computer player without its thread: its own board, pseudo-legal move
// generation, make and take back with the check test, the evaluation with its per-search
// piece-square tables, and the iterative-deepening alpha-beta search. Everything lives in
// fixed arrays inside the object; nothing is allocated while searching. AbortSearch may be
// set from another thread at any time.
//
// Besides the square arrays Colour and Piece the board keeps one bit set per colour and
// piece and the sum of the pieces' table entries, updated as pieces are placed and removed;
// the generators, the attack test and the evaluation read those instead of all 64 squares.
// PlayMove judges most moves from the king's checkers and pinned pieces before playing
// them, and the pawn terms are kept per pawn placement. The lists, scores, nodes and lines
// are the same as the plain square-by-square algorithms give.

#include <atomic>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "EngineMove.h"

// What the side to move's king has to fear at one ply, worked out when first asked for and
// valid until a move is played from that ply's position (taking it back restores it).
struct TKingSafety {
    bool Known = false;
    // Exactly one king: only then is a move judged without playing it.
    bool OneKing = false;
    bool Check = false;
    std::int32_t King = -1;
    std::uint64_t Checkers = 0;
    // Own pieces that alone stand between the king and an enemy slider on its line.
    std::uint64_t Pinned = 0;
    // Where a piece other than the king may go: anywhere when not in check, onto the checker
    // or between it and the king in single check, nowhere in double check.
    std::uint64_t Evasions = 0;
};

// The pawn-structure terms of one placement of the pawns, and the files holding them.
struct TPawnEntry {
    std::uint64_t Pawns[2] = {0, 0};
    std::int32_t Score[2] = {0, 0};
    std::uint8_t Files[2] = {0, 0};
};

class TChessEngine {
  public:
    static constexpr int MaxPly = 64;
    static constexpr int MoveStackSize = 4096;

    // Colour codes and piece codes of the board arrays.
    static constexpr std::int32_t White = 0, Black = 1, NoColour = 6;
    static constexpr std::int32_t Pawn = 0, Knight = 1, Bishop = 2, Rook = 3, Queen = 4, King = 5,
                                  NoPiece = 6;
    // Scores: a side mated at ply p scores p - Infinity.
    static constexpr std::int32_t Infinity = 10000;
    // Ordering: captures and promotions score from CaptureOrder up, above any history count.
    static constexpr std::int32_t CaptureOrder = 1000000;

    // What PlayMove needs to take a move back.
    struct TUndoRecord {
        TEngineMove Move;
        std::int32_t Captured = NoPiece; // the piece that stood on the to-square
        std::int32_t CastleRights = 0;
        std::int32_t EnPassantSq = -1;
    };

    TChessEngine(); // runs InitTables

    // --- Board and move generation --------------------------------------------------------

    // Loads the engine board from the game's state (first step of Think). Castling rights
    // whose king or rook is missing from its square, and an en-passant square that no pawn
    // just passed, are dropped; unknown letters load as empty squares.
    void LoadPosition(const TEngineInput& in);
    void InitTables();

    void GenerateMoves();
    void GenerateCaptures();
    void AddMove(int from, int to, int flags);
    void AddPromotions(int from, int to, int flags);
    bool Attacked(int sq, int side) const;
    bool InCheck(int side) const;
    // False (board unchanged) when the move leaves the mover's king attacked, or castles out
    // of check, through an attacked square or over an occupied one.
    bool PlayMove(TEngineMove m);
    void UndoMove();
    // True when the bit sets and the table sums agree with Colour and Piece (checked in
    // builds with assertions after every PlayMove and UndoMove).
    bool BoardConsistent() const;

    // --- Evaluation -----------------------------------------------------------------------

    // Also sums the entries of the pieces on the board into TableSum.
    void BuildPieceSquareTables();
    // Centipawns from the point of view of Side.
    std::int32_t Evaluate() const;

    // --- Search ---------------------------------------------------------------------------

    // Loads the position, builds the tables, clears History and deepens to
    // in.SearchDepth (clamped 1..8); leaves the chosen move in PV[0][0].
    void Think(const TEngineInput& in);
    std::int32_t Search(std::int32_t alpha, std::int32_t beta, int depth);
    std::int32_t Quiesce(std::int32_t alpha, std::int32_t beta);
    void MarkPVMove();
    void PickMove(int start);
    // Called after every finished iteration (not during one), when assigned.
    std::function<void(int depth, int score, std::int64_t nodes)> OnIteration;

    // The move the search chose: PV[0][0].
    TEngineMove BestMove() const;

    // --- Counting -------------------------------------------------------------------------

    // Counts legal move sequences of the given depth from the loaded position.
    std::uint64_t Perft(int depth);
    // Perft split by the legal root moves, in generation order (not for use while
    // searching: it fills a vector).
    void Divide(int depth, std::vector<std::pair<TEngineMove, std::uint64_t>>& out);

    // --- Board state ----------------------------------------------------------------------

    std::int32_t Colour[64];
    std::int32_t Piece[64];
    std::int32_t Side = White;
    std::int32_t XSide = Black;
    std::int32_t CastleRights = 0;
    std::int32_t EnPassantSq = -1;
    std::int32_t Ply = 0;
    // Bit s of Bits[c][p] is set when a piece p of colour c stands on square s.
    std::uint64_t Bits[2][6];
    std::uint64_t Occupied[2];
    // The PieceSquare entries of each colour's pieces, summed.
    std::int32_t TableSum[2];

    // --- Move lists -----------------------------------------------------------------------

    TGenMove MoveStack[MoveStackSize];
    // One entry more than there are plies: the generators write the next ply's start.
    std::int32_t FirstMove[MaxPly + 1];
    std::int32_t MoveEnd[MaxPly];
    std::int32_t History[64][64];
    TUndoRecord UndoStack[MaxPly];
    TKingSafety Safety[MaxPly + 1];

    // --- Constant tables ------------------------------------------------------------------

    std::int32_t CastleMask[64];
    std::int32_t PieceValue[6];
    std::int32_t FlipSquare[64];
    std::int32_t PawnTable[64];
    std::int32_t KingsideShelter[64];
    std::int32_t QueensideShelter[64];
    std::int32_t MinorTable[64];
    std::int32_t KingMiddleTable[64];
    std::int32_t KingEndTable[64];
    std::int32_t PieceSquare[2][6][64];

    static constexpr int PawnCacheBits = 12;
    mutable TPawnEntry PawnCache[1 << PawnCacheBits];

    // --- Search state ---------------------------------------------------------------------

    TEngineMove PV[MaxPly][MaxPly];
    std::int32_t PVLength[MaxPly];
    bool FollowPV = false;
    std::atomic<bool> AbortSearch{false};
    // Moves accepted by PlayMove in Search and Quiesce since the last iteration began.
    std::int64_t Nodes = 0;
    // The score the last finished iteration returned.
    std::int32_t LastScore = 0;

  private:
    void ClearBoard();
    void SumTables();
    const TPawnEntry& PawnStructure() const;
    void PutPiece(int sq, int colour, int piece);
    void RemovePiece(int sq);
    void DropImpossibleRights();
    void DropImpossibleEnPassant();
    void Generate(bool capturesOnly);
    void GeneratePawn(int s, bool capturesOnly);
    void GenerateSteps(int s, std::uint64_t targets, bool capturesOnly);
    void GenerateSlides(int s, const int* dirs, int count, bool capturesOnly);
    // Most valuable victim first, then least valuable attacker.
    std::int32_t CaptureScore(int to, int from) const {
        return CaptureOrder + 10 * Piece[to] - Piece[from];
    }
    void AddQuiet(int from, int to);
    void AddCapture(int from, int to);
    void GenerateCastling();
    void GenerateEnPassant();
    bool CastlingPathClear(int to) const;
    void MoveCastlingRook(int to, bool back);
    bool Aborted() const { return AbortSearch.load(std::memory_order_relaxed); }
    void RecordLine(TEngineMove m);
    std::int32_t LeafScore();

    std::uint64_t PerftNode(int depth);
    std::uint64_t CountLegalMoves();
    bool FastCountApplies() const;
    std::uint64_t FastCountLegal() const;
    bool SafeAfter(int kingSq, std::uint64_t occupied, std::uint64_t removedEnemy) const;

    // The side to move's king at the current ply (KingSafety.cpp).
    const TKingSafety& Checks();
    bool SideInCheck() { return Checks().Check; }
    enum class TVerdict { Legal, Illegal, PlayToSee };
    TVerdict Judge(TEngineMove m);
};
