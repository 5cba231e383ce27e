#include "StrongEval.h"

#include <algorithm>

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

// Per attacked square not held by an own piece or an enemy pawn, after the first few.
constexpr int MobilityMg[6] = {0, 4, 5, 2, 1, 0};
constexpr int MobilityEg[6] = {0, 4, 5, 4, 2, 0};
constexpr int MobilityBase[6] = {0, 4, 6, 6, 12, 0};
// The weight of an attacker of the squares around the enemy king.
constexpr int AttackWeight[6] = {0, 2, 2, 3, 5, 0};
// The middle-game bonus of a passed pawn and its end-game bonus, by ranks advanced.
constexpr int PassedMg[8] = {0, 2, 5, 12, 25, 45, 75, 0};
constexpr int PassedEg[8] = {0, 8, 12, 25, 45, 80, 130, 0};

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

Bitboard PawnAttacksOf(const TPosition& pos, int colour) {
    const Bitboard p = pos.Pieces(colour, Pawn);
    const Bitboard notA = ~FileBB(0), notH = ~FileBB(7);
    return colour == White ? ((p & notA) << 7) | ((p & notH) << 9)
                           : ((p & notA) >> 9) | ((p & notH) >> 7);
}

int Distance(int a, int b) {
    return std::max(std::abs(FileOfSq(a) - FileOfSq(b)), std::abs(RankOfSq(a) - RankOfSq(b)));
}

void Pawns(const TPosition& pos, int us, TScore& s) {
    const int them = us ^ 1;
    const Bitboard own = pos.Pieces(us, Pawn), enemy = pos.Pieces(them, Pawn);
    const int ownKing = pos.KingSq(us), enemyKing = pos.KingSq(them);
    Bitboard b = own;
    while (b) {
        const int sq = PopLsb(b);
        const int f = FileOfSq(sq);
        const int advanced = us == White ? RankOfSq(sq) : 7 - RankOfSq(sq);
        Bitboard neighbours = 0;
        if (f > 0) neighbours |= FileBB(f - 1);
        if (f < 7) neighbours |= FileBB(f + 1);
        if (!(own & neighbours)) s.Add(-10, -15);
        if (Count(own & FileBB(f)) > 1) s.Add(-8, -18);
        if (ForwardFiles(us, sq) & enemy) continue;
        if (ForwardFiles(us, sq) & FileBB(f) & own) continue; // the rear one of a doubled pair
        // A passed pawn: more as it advances, more with its path free and the enemy king far.
        int mg = PassedMg[advanced], eg = PassedEg[advanced];
        const int stop = sq + (us == White ? 8 : -8);
        if (advanced >= 3 && stop >= 0 && stop < 64) {
            eg += (Distance(enemyKing, stop) * 5 - Distance(ownKing, stop) * 2) * (advanced - 2);
            if (pos.Board[stop] == NoPiece) eg += advanced * 3;
        }
        s.Add(mg, eg);
    }
}

// The squares one side's pieces attack: by pawns, by knights and bishops, by rooks, by all.
struct TAttacked {
    Bitboard Pawns = 0, Minors = 0, Rooks = 0, All = 0;
};

// Mobility and the attack on the enemy king of one side's pieces.
void Pieces(const TPosition& pos, int us, TScore& s, TAttacked& attacked) {
    const int them = us ^ 1;
    const Bitboard occ = pos.Occupied();
    const Bitboard safe = ~pos.ByColour[us] & ~PawnAttacksOf(pos, them);
    const int enemyKing = pos.KingSq(them);
    const Bitboard zone = Attacks.King[enemyKing] | SqBit(enemyKing);
    int attackers = 0, weight = 0;
    for (int type = Knight; type <= Queen; ++type) {
        Bitboard b = pos.Pieces(us, type);
        while (b) {
            const int sq = PopLsb(b);
            const Bitboard att = PieceAttacks(type, sq, occ);
            attacked.All |= att;
            if (type <= Bishop) attacked.Minors |= att;
            else if (type == Rook) attacked.Rooks |= att;
            const int n = Count(att & safe) - MobilityBase[type];
            s.Add(n * MobilityMg[type], n * MobilityEg[type]);
            if (att & zone) {
                ++attackers;
                weight += AttackWeight[type] * Count(att & zone);
            }
            if (type == Rook) {
                const Bitboard file = FileBB(FileOfSq(sq));
                if (!(file & pos.ByType[Pawn]))
                    s.Add(25, 10);
                else if (!(file & pos.Pieces(us, Pawn)))
                    s.Add(12, 5);
            }
        }
    }
    attacked.Pawns = PawnAttacksOf(pos, us);
    attacked.All |= attacked.Pawns | Attacks.King[pos.KingSq(us)];
    if (Count(pos.Pieces(us, Bishop)) >= 2) s.Add(30, 50);
    // The attack counts only with the queen among the attackers' side and two attackers.
    if (attackers >= 2 && pos.Pieces(us, Queen)) {
        const int danger = weight * attackers;
        s.Add(std::min(danger * danger / 40, 500), 0);
    }
}

// Enemy pieces attacked by something worth less, or attacked and not defended.
void Threats(const TPosition& pos, int us, const TAttacked& ours, const TAttacked& theirs,
             TScore& s) {
    const int them = us ^ 1;
    const Bitboard pieces = pos.ByColour[them] & ~pos.ByType[Pawn] & ~pos.ByType[King];
    const Bitboard majors = pos.Pieces(them, Rook) | pos.Pieces(them, Queen);
    const int byPawn = Count(pieces & ours.Pawns);
    const int byMinor = Count(majors & ours.Minors);
    const int byRook = Count(pos.Pieces(them, Queen) & ours.Rooks);
    const int hanging = Count(pos.ByColour[them] & ~pos.ByType[King] & ours.All & ~theirs.All);
    s.Add(byPawn * 60 + byMinor * 40 + byRook * 40 + hanging * 30,
          byPawn * 40 + byMinor * 35 + byRook * 35 + hanging * 20);
}

// The pawns in front of the king, in the middle game.
void Shelter(const TPosition& pos, int us, TScore& s) {
    const int king = pos.KingSq(us);
    const int f = std::clamp(FileOfSq(king), 1, 6);
    const Bitboard own = pos.Pieces(us, Pawn);
    int score = 0;
    for (int file = f - 1; file <= f + 1; ++file) {
        const Bitboard ahead = ForwardFiles(us, king) & FileBB(file) & own;
        if (!ahead) {
            score -= 20;
            if (!(FileBB(file) & pos.ByType[Pawn])) score -= 15;
            continue;
        }
        const int nearest = us == White ? Lsb(ahead) : Msb(ahead);
        const int dist = std::abs(RankOfSq(nearest) - RankOfSq(king));
        score -= dist <= 1 ? 0 : dist == 2 ? 8 : 15;
    }
    s.Add(score, 0);
}

int Evaluation(const TPosition& pos, bool threats) {
    TScore w, b;
    w.Add(pos.PsqMg, pos.PsqEg);
    Pawns(pos, White, w);
    Pawns(pos, Black, b);
    TAttacked white, black;
    Pieces(pos, White, w, white);
    Pieces(pos, Black, b, black);
    if (threats) {
        Threats(pos, White, white, black, w);
        Threats(pos, Black, black, white, b);
    }
    Shelter(pos, White, w);
    Shelter(pos, Black, b);
    const int mg = w.Mg - b.Mg, eg = w.Eg - b.Eg;
    const int phase = std::min(pos.Phase, FullPhase);
    int score = (mg * phase + eg * (FullPhase - phase)) / FullPhase;
    // A side without pawns that is ahead by less than a rook rarely wins.
    const int strong = score > 0 ? White : Black;
    if (!pos.Pieces(strong, Pawn)) {
        auto material = [&](int c) {
            int m = 0;
            for (int t = Knight; t <= Queen; ++t)
                m += Count(pos.Pieces(c, t)) * SeeValue[t];
            return m;
        };
        if (material(strong) - material(strong ^ 1) < SeeValue[Rook]) score /= 8;
    }
    score += pos.Side == White ? 10 : -10; // the move in hand
    return pos.Side == White ? score : -score;
}

} // namespace

int Evaluate(const TPosition& pos) {
    return Evaluation(pos, true);
}

int EvaluateWithoutThreats(const TPosition& pos) {
    return Evaluation(pos, false);
}

} // namespace strong
