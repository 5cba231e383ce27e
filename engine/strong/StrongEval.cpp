#include "StrongEval.h"

#include <algorithm>
#include <memory>

#include "StrongEvalTrace.h"
#include "StrongNet.h"
#include "StrongPawnCache.h"
#include "StrongTables.h"

namespace strong {

namespace {

// A middle-game and an end-game score summed together.
struct TScore {
    int Mg = 0, Eg = 0;
    void Add(int mg, int eg) {
        Mg += mg;
        Eg += eg;
    }
};

// The weight set of the given TEvalSet.
template <int Set>
constexpr const TEvalWeights& WeightsOf() {
    return Set == static_cast<int>(TEvalSet::Tuned) ? TunedWeights : ClassicWeights;
}
// The weight of an attacker of the squares around the enemy king.
constexpr int AttackWeight[6] = {0, 2, 2, 3, 5, 0};

// Adds a weight n times to a side's score, and counts it in the trace.
template <class Tr>
inline void Term(TScore& s, const TPair& w, int n, Tr& trace, int colour) {
    s.Add(w.Mg * n, w.Eg * n);
    if constexpr (Tr::On) trace.Count(&w, colour, n);
}

Bitboard ForwardFiles(int colour, int sq) {
    const int f = FileOfSq(sq);
    Bitboard files = FileBB(f);
    if (f > 0) files |= FileBB(f - 1);
    if (f < 7) files |= FileBB(f + 1);
    const int r = RankOfSq(sq);
    const Bitboard ahead = colour == White ? (r == 7 ? 0 : ~Bitboard{0} << (8 * (r + 1)))
                                           : (r == 0 ? 0 : ~Bitboard{0} >> (8 * (8 - r)));
    return files & ahead;
}

// The squares the given pawns of one colour attack.
Bitboard PawnAttacks(Bitboard p, int colour) {
    const Bitboard notA = ~FileBB(0), notH = ~FileBB(7);
    return colour == White ? ((p & notA) << 7) | ((p & notH) << 9)
                           : ((p & notA) >> 9) | ((p & notH) >> 7);
}

Bitboard PawnAttacksOf(const TPosition& pos, int colour) {
    return PawnAttacks(pos.Pieces(colour, Pawn), colour);
}

int Distance(int a, int b) {
    return std::max(std::abs(FileOfSq(a) - FileOfSq(b)), std::abs(RankOfSq(a) - RankOfSq(b)));
}

// The terms of one side's pawns that depend on the pawns alone; returns the passed pawns.
template <int Set, class Tr>
Bitboard PawnStructure(Bitboard own, Bitboard enemy, int us, TScore& s, Tr& trace) {
    constexpr const TEvalWeights& W = WeightsOf<Set>();
    const Bitboard ownAttacks = PawnAttacks(own, us);
    Bitboard passed = 0;
    Bitboard b = own;
    while (b) {
        const int sq = PopLsb(b);
        const int f = FileOfSq(sq);
        const int advanced = us == White ? RankOfSq(sq) : 7 - RankOfSq(sq);
        Bitboard neighbours = 0;
        if (f > 0) neighbours |= FileBB(f - 1);
        if (f < 7) neighbours |= FileBB(f + 1);
        if (!(own & neighbours)) Term(s, W.Isolated, 1, trace, us);
        const Bitboard beside = own & neighbours & RankBB(RankOfSq(sq));
        if (beside || (ownAttacks & SqBit(sq))) Term(s, W.Connected[advanced], 1, trace, us);
        if (Count(own & FileBB(f)) > 1) Term(s, W.Doubled, 1, trace, us);
        if (ForwardFiles(us, sq) & enemy) continue;
        if (ForwardFiles(us, sq) & FileBB(f) & own) continue; // the rear one of a doubled pair
        Term(s, W.Passed[advanced], 1, trace, us);
        passed |= SqBit(sq);
    }
    return passed;
}

// A passed pawn is worth more with its path free and the enemy king far.
template <int Set, class Tr>
void PassedPawns(const TPosition& pos, int us, Bitboard passed, TScore& s, Tr& trace) {
    constexpr const TEvalWeights& W = WeightsOf<Set>();
    const int ownKing = pos.KingSq(us), enemyKing = pos.KingSq(us ^ 1);
    while (passed) {
        const int sq = PopLsb(passed);
        const int advanced = us == White ? RankOfSq(sq) : 7 - RankOfSq(sq);
        const int stop = sq + (us == White ? 8 : -8);
        if (advanced >= 3 && stop >= 0 && stop < 64) {
            Term(s, W.PassedEnemyKing, Distance(enemyKing, stop) * (advanced - 2), trace, us);
            Term(s, W.PassedOwnKing, Distance(ownKing, stop) * (advanced - 2), trace, us);
            if (pos.Board[stop] == NoPiece) Term(s, W.PassedFreeStop, advanced, trace, us);
        }
    }
}

// Each thread that evaluates has its own cache, made when it first evaluates.
TPawnCache& ThisThreadsPawnCache() {
    thread_local std::unique_ptr<TPawnCache> cache;
    if (!cache) cache = std::make_unique<TPawnCache>();
    return *cache;
}

// Both sides' pawns; the search finds the structure's part in the pawn cache, and gets its
// entry back (nullptr when traced).
template <int Set, class Tr>
TPawnEntry* Pawns(const TPosition& pos, TScore& w, TScore& b, Tr& trace) {
    const Bitboard white = pos.Pieces(White, Pawn), black = pos.Pieces(Black, Pawn);
    Bitboard passed[2];
    TPawnEntry* entry = nullptr;
    if constexpr (Tr::On) {
        passed[White] = PawnStructure<Set>(white, black, White, w, trace);
        passed[Black] = PawnStructure<Set>(black, white, Black, b, trace);
    } else {
        bool found = false;
        TPawnEntry& e = ThisThreadsPawnCache().Slot(white, black, Set, found);
        if (!found) {
            TScore side[2];
            e.Passed[White] = PawnStructure<Set>(white, black, White, side[White], trace);
            e.Passed[Black] = PawnStructure<Set>(black, white, Black, side[Black], trace);
            for (int c = White; c <= Black; ++c) {
                e.Mg[c] = static_cast<std::int16_t>(side[c].Mg);
                e.Eg[c] = static_cast<std::int16_t>(side[c].Eg);
            }
            e.Pawns[White] = white;
            e.Pawns[Black] = black;
            e.Set = Set;
            e.ShelterKing[White] = e.ShelterKing[Black] = -1;
        }
        entry = &e;
        w.Add(e.Mg[White], e.Eg[White]);
        b.Add(e.Mg[Black], e.Eg[Black]);
        passed[White] = e.Passed[White];
        passed[Black] = e.Passed[Black];
    }
    PassedPawns<Set>(pos, White, passed[White], w, trace);
    PassedPawns<Set>(pos, Black, passed[Black], b, trace);
    return entry;
}

// The squares one side's pieces attack: by pawns, by knights and bishops, by rooks, by all.
struct TAttacked {
    Bitboard Pawns = 0, Minors = 0, Rooks = 0, All = 0;
    Bitboard ByType[6] = {}; // knight to queen
};

// Mobility and the attack on the enemy king of one side's pieces.
template <int Set, class Tr>
void Pieces(const TPosition& pos, int us, TScore& s, TAttacked& attacked, Tr& trace) {
    constexpr const TEvalWeights& W = WeightsOf<Set>();
    const int them = us ^ 1;
    const Bitboard occ = pos.Occupied();
    const Bitboard safe = ~pos.ByColour[us] & ~PawnAttacksOf(pos, them);
    const int enemyKing = pos.KingSq(them);
    const Bitboard zone = Attacks.King[enemyKing] | SqBit(enemyKing);
    const Bitboard ownPawnAttacks = PawnAttacksOf(pos, us);
    int attackers = 0, weight = 0;
    for (int type = Knight; type <= Queen; ++type) {
        Bitboard b = pos.Pieces(us, type);
        while (b) {
            const int sq = PopLsb(b);
            const Bitboard att = PieceAttacks(type, sq, occ);
            attacked.All |= att;
            attacked.ByType[type] |= att;
            if (type <= Bishop) attacked.Minors |= att;
            else if (type == Rook) attacked.Rooks |= att;
            Term(s, W.Mobility[type - Knight][Count(att & safe)], 1, trace, us);
            if (att & zone) {
                ++attackers;
                weight += AttackWeight[type] * Count(att & zone);
            }
            if (type <= Bishop) {
                const int advanced = us == White ? RankOfSq(sq) : 7 - RankOfSq(sq);
                if (advanced >= 3 && advanced <= 5 && (ownPawnAttacks & SqBit(sq)) &&
                    !(ForwardFiles(us, sq) & ~FileBB(FileOfSq(sq)) & pos.Pieces(them, Pawn)))
                    Term(s, W.Outpost[type - Knight], 1, trace, us);
            }
            if (type == Rook) {
                const Bitboard file = FileBB(FileOfSq(sq));
                if (!(file & pos.ByType[Pawn]))
                    Term(s, W.RookOpen, 1, trace, us);
                else if (!(file & pos.Pieces(us, Pawn)))
                    Term(s, W.RookHalfOpen, 1, trace, us);
            }
        }
    }
    attacked.Pawns = ownPawnAttacks;
    Term(s, W.KingZone, weight, trace, us);
    attacked.All |= attacked.Pawns | Attacks.King[pos.KingSq(us)];
    if (Count(pos.Pieces(us, Bishop)) >= 2) Term(s, W.BishopPair, 1, trace, us);
    // The attack counts only with the queen among the attackers' side and two attackers.
    if (attackers >= 2 && pos.Pieces(us, Queen)) {
        const int danger = weight * attackers;
        const int value = std::min(danger * danger / 40, 500);
        s.Add(value * W.KingAttack.Mg / 100, value * W.KingAttack.Eg / 100);
        if constexpr (Tr::On) trace.Count(&W.KingAttack, us, value / 100.0);
    }
}

// Enemy pieces attacked by something worth less, or attacked and not defended.
template <int Set, class Tr>
void Threats(const TPosition& pos, int us, const TAttacked& ours, const TAttacked& theirs,
             TScore& s, Tr& trace) {
    constexpr const TEvalWeights& W = WeightsOf<Set>();
    const int them = us ^ 1;
    const Bitboard pieces = pos.ByColour[them] & ~pos.ByType[Pawn] & ~pos.ByType[King];
    const Bitboard majors = pos.Pieces(them, Rook) | pos.Pieces(them, Queen);
    const int byPawn = Count(pieces & ours.Pawns);
    const int byMinor = Count(majors & ours.Minors);
    const int byRook = Count(pos.Pieces(them, Queen) & ours.Rooks);
    const int hanging = Count(pos.ByColour[them] & ~pos.ByType[King] & ours.All & ~theirs.All);
    Term(s, W.ThreatByPawn, byPawn, trace, us);
    Term(s, W.ThreatByMinor, byMinor, trace, us);
    Term(s, W.ThreatByRook, byRook, trace, us);
    Term(s, W.Hanging, hanging, trace, us);
    // Checks the enemy king cannot stop from squares nothing of theirs attacks; a set that
    // does not weigh them does not look for them.
    constexpr bool weighed = [] {
        for (const TPair& p : W.SafeCheck)
            if (p.Mg || p.Eg) return true;
        return false;
    }();
    if constexpr (!weighed && !Tr::On) return;
    const int king = pos.KingSq(them);
    const Bitboard occ = pos.Occupied();
    const Bitboard safe = ~theirs.All & ~pos.ByColour[us];
    const Bitboard diagonal = BishopAttacks(king, occ), straight = RookAttacks(king, occ);
    const Bitboard from[4] = {Attacks.Knight[king], diagonal, straight, diagonal | straight};
    for (int t = 0; t < 4; ++t)
        if (const Bitboard checks = from[t] & ours.ByType[Knight + t] & safe)
            Term(s, W.SafeCheck[t], Count(checks), trace, us);
}

// The pawns in front of the king, in the middle game.
template <int Set, class Tr>
void Shelter(const TPosition& pos, int us, TScore& s, Tr& trace) {
    constexpr const TEvalWeights& W = WeightsOf<Set>();
    const int king = pos.KingSq(us);
    const int f = std::clamp(FileOfSq(king), 1, 6);
    const Bitboard own = pos.Pieces(us, Pawn);
    for (int file = f - 1; file <= f + 1; ++file) {
        const Bitboard ahead = ForwardFiles(us, king) & FileBB(file) & own;
        if (!ahead) {
            Term(s, W.ShelterMissing, 1, trace, us);
            if (!(FileBB(file) & pos.ByType[Pawn])) Term(s, W.ShelterOpenFile, 1, trace, us);
            continue;
        }
        const int nearest = us == White ? Lsb(ahead) : Msb(ahead);
        const int dist = std::abs(RankOfSq(nearest) - RankOfSq(king));
        if (dist == 2) Term(s, W.ShelterFar2, 1, trace, us);
        else if (dist > 2) Term(s, W.ShelterFar3, 1, trace, us);
    }
}

// The shelter, kept in the pawn entry for the king's square it was found with.
template <int Set, class Tr>
void KingShelter(const TPosition& pos, int us, TPawnEntry* entry, TScore& s, Tr& trace) {
    if (!entry) {
        Shelter<Set>(pos, us, s, trace);
        return;
    }
    const int king = pos.KingSq(us);
    if (entry->ShelterKing[us] != king) {
        TScore shelter;
        Shelter<Set>(pos, us, shelter, trace);
        entry->ShelterKing[us] = static_cast<std::int8_t>(king);
        entry->ShelterMg[us] = static_cast<std::int16_t>(shelter.Mg);
        entry->ShelterEg[us] = static_cast<std::int16_t>(shelter.Eg);
    }
    s.Add(entry->ShelterMg[us], entry->ShelterEg[us]);
}

// From White's side.
template <int Set, bool WithThreats, class Tr>
int Evaluation(const TPosition& pos, Tr& trace) {
    constexpr const TEvalWeights& W = WeightsOf<Set>();
    TScore w, b;
    w.Add(pos.PsqMg[Set], pos.PsqEg[Set]);
    if constexpr (Tr::On) {
        for (int sq = 0; sq < 64; ++sq) {
            const int piece = pos.Board[sq];
            if (piece == NoPiece) continue;
            const int c = ColourOf(piece), t = TypeOf(piece);
            trace.Count(&W.Material[t], c, 1);
            trace.Count(&W.Square[t][c == White ? sq : sq ^ 56], c, 1);
        }
    }
    TPawnEntry* const pawns = Pawns<Set>(pos, w, b, trace);
    TAttacked white, black;
    Pieces<Set>(pos, White, w, white, trace);
    Pieces<Set>(pos, Black, b, black, trace);
    if constexpr (WithThreats) {
        Threats<Set>(pos, White, white, black, w, trace);
        Threats<Set>(pos, Black, black, white, b, trace);
    }
    KingShelter<Set>(pos, White, pawns, w, trace);
    KingShelter<Set>(pos, Black, pawns, b, trace);
    const int mg = w.Mg - b.Mg, eg = w.Eg - b.Eg;
    const int phase = std::min(pos.Phase, FullPhase);
    int score = (mg * phase + eg * (FullPhase - phase)) / FullPhase;
    if constexpr (Tr::On) trace.Phase = phase;
    // A side without pawns that is ahead by less than a rook rarely wins.
    const int strong = score > 0 ? White : Black;
    if (!pos.Pieces(strong, Pawn)) {
        auto material = [&](int c) {
            int m = 0;
            for (int t = Knight; t <= Queen; ++t)
                m += Count(pos.Pieces(c, t)) * SeeValue[t];
            return m;
        };
        if (material(strong) - material(strong ^ 1) < SeeValue[Rook]) {
            score /= 8;
            if constexpr (Tr::On) trace.Scale = 1;
        }
    }
    // The move in hand.
    score += pos.Side == White ? W.Tempo.Mg : -W.Tempo.Mg;
    if constexpr (Tr::On) trace.Count(&W.Tempo, pos.Side, 1);
    return score;
}

template <int Set, bool WithThreats>
int ForSideToMove(const TPosition& pos) {
    TNoTrace none;
    const int score = Evaluation<Set, WithThreats>(pos, none);
    return pos.Side == White ? score : -score;
}

} // namespace

int Evaluate(const TPosition& pos, TEvalSet set) {
    if (set == TEvalSet::Net)
        return std::clamp(ForSideToMove<0, true>(pos) + EvaluateNet(pos), -MateBound + 1, MateBound - 1);
    return set == TEvalSet::Tuned ? ForSideToMove<1, true>(pos) : ForSideToMove<0, true>(pos);
}

int EvaluateWithoutThreats(const TPosition& pos) {
    return ForSideToMove<0, false>(pos);
}

int EvaluateWhite(const TPosition& pos, TEvalSet set, TEvalTrace& trace) {
    return set == TEvalSet::Tuned ? Evaluation<1, true>(pos, trace) : Evaluation<0, true>(pos, trace);
}

} // namespace strong
