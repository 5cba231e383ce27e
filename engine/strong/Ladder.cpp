#include "Ladder.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "ChessEngine.h"
#include "StrongEval.h"
#include "StrongSee.h"

namespace strong {

namespace {

// Name, Elo, plain depth, depth, nodes, candidates, noise, oversight per thousand, evaluation
// and search options (Club expert and Expert search sacrifices to full depth and take the
// table's score for the evaluation where it bounds it; Club expert stops at a node count on one
// thread, Expert searches about a second a move, up to three while its best move keeps changing,
// on two threads where the machine has two processors).
// The Elo numbers are the measurements recorded in bench/README.md. Levels measured within
// about a hundred of a neighbour are left out, so that each step is one a player feels.
const std::vector<TLevel> Levels = {
    {"Beginner 500", 500, 0, 1, 0, 5, 130, 350},
    {"Casual 750", 750, 0, 1, 0, 4, 90, 200},
    {"Learner 1000", 1000, 0, 2, 0, 4, 80, 180},
    {"Novice 1100", 1100, 1, 0, 0, 1, 0, 0},
    {"Middle 1200", 1200, 2, 0, 0, 1, 0, 0},
    {"Intermediate 1400", 1400, 0, 3, 0, 3, 35, 40},
    {"Normal 1500", 1500, 3, 0, 0, 1, 0, 0},
    {"Difficult 1550", 1550, 4, 0, 0, 1, 0, 0},
    {"Master 1650", 1650, 5, 0, 0, 1, 0, 0},
    {"Strong club 1850", 1850, 0, 0, 48000, 1, 0, 0},
    {"Club expert 2100", 2100, 0, 0, 500000, 1, 0, 0, TEvalSet::Net,
     {.FullDepthSacrifices = true, .EvalFromTable = true}},
    {"Expert 2300", 2300, 0, 0, 0, 1, 0, 0, TEvalSet::Net,
     {.FullDepthSacrifices = true, .EvalFromTable = true, .Threads = 2}},
};

// A move that puts the moved piece where it is lost for less than this is one a child would
// notice.
constexpr int ThrownAway = -150;

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

const std::vector<TLevel>& Ladder() {
    return Levels;
}

int LevelNearestElo(int elo) {
    int best = 0;
    for (int i = 1; i < static_cast<int>(Levels.size()); ++i)
        if (std::abs(Levels[i].Elo - elo) < std::abs(Levels[best].Elo - elo)) best = i;
    return best;
}

int LevelByName(const std::string& name) {
    // The space before a label's closing number ("Expert 2300"), npos when it has none.
    const auto numberAfter = [](const std::string& label) {
        const std::size_t space = label.find_last_of(' ');
        const bool numbered = space != std::string::npos && space + 1 < label.size() &&
                              label.find_first_not_of("0123456789", space + 1) == std::string::npos;
        return numbered ? space : std::string::npos;
    };
    // The words before the Elo: a label measured again keeps finding its level.
    const auto words = [&](const std::string& label) { return Lower(label.substr(0, numberAfter(label))); };
    for (int i = 0; i < static_cast<int>(Levels.size()); ++i)
        if (words(Levels[i].Name) == words(name)) return i;
    // A label of a level no longer offered ("Club 1600") finds the level nearest its number.
    const std::size_t space = numberAfter(name);
    if (space == std::string::npos || space == 0 || name.size() - space > 5) return -1;
    return LevelNearestElo(std::atoi(name.c_str() + space + 1));
}

TLevelPlayer::TLevelPlayer(TTranspositionTable& tt)
    : Search(tt), Plain(std::make_unique<TChessEngine>()), Random(std::random_device{}()) {}

TLevelPlayer::~TLevelPlayer() = default;

void TLevelPlayer::Stop() {
    Search.Stop = true;
    Plain->AbortSearch = true;
}

void TLevelPlayer::ResetStop() {
    Search.Stop = false;
    Plain->AbortSearch = false;
}

void TLevelPlayer::NewGame() {
    Search.NewGame();
}

Move TLevelPlayer::Choose(TPosition& pos, int level, const TSearchLimits& limits) {
    const TLevel& l = Levels[std::clamp(level, 0, static_cast<int>(Levels.size()) - 1)];
    if (l.PlainDepth > 0) return ChoosePlain(pos, l);
    Search.UseEval(l.Eval);
    Search.Options = l.Options;
    if (l.Candidates <= 1 && l.OversightPermille == 0) {
        // A level with its own depth or node limit plays the same whatever time a move it is
        // given (it needs well under a second); only a game clock still bounds it.
        TSearchLimits own = limits;
        if (l.Depth || l.Nodes) {
            own.Infinite = false;
            own.MoveTime = 0;
            own.Depth = l.Depth;
            own.Nodes = l.Nodes;
        } else if (Threads > 0) {
            Search.Options.Threads = Threads;
        }
        return Search.Go(pos, own);
    }
    return ChooseWeak(pos, l);
}

Move TLevelPlayer::ChooseWeak(TPosition& pos, const TLevel& level) {
    // 1. Every legal move scored at the level's depth, best first.
    std::vector<TRootScore> moves = Search.ScoreRootMoves(pos, level.Depth);
    if (moves.empty() || Search.Stop) return moves.empty() ? NoMove : moves.front().Played;
    // 2. In a share of positions only the move itself is looked at: what it wins on its
    // square and the position it leaves, not the opponent's answer elsewhere.
    std::uniform_int_distribution<int> permille(0, 999);
    if (permille(Random) < level.OversightPermille) {
        for (TRootScore& r : moves) {
            if (See(pos, r.Played) < 0) continue;
            pos.DoMove(r.Played);
            if (std::abs(r.Score) < MateBound) r.Score = -EvaluateWithoutThreats(pos);
            pos.TakeBack();
        }
        std::stable_sort(moves.begin(), moves.end(),
                         [](const TRootScore& a, const TRootScore& b) { return a.Score > b.Score; });
    }
    // 3. Noise on the best few; a move that throws the moved piece away is never among them
    // unless it is the best there is, and a mate in reach is never missed.
    if (moves.front().Score >= MateBound) return moves.front().Played;
    std::normal_distribution<double> noise(0.0, level.Noise);
    Move chosen = moves.front().Played;
    double best = moves.front().Score + noise(Random);
    const int n = std::min<int>(level.Candidates, static_cast<int>(moves.size()));
    for (int i = 1; i < n; ++i) {
        if (See(pos, moves[i].Played) <= ThrownAway || moves[i].Score <= -MateBound) continue;
        const double s = moves[i].Score + noise(Random);
        if (s > best) {
            best = s;
            chosen = moves[i].Played;
        }
    }
    return chosen;
}

Move TLevelPlayer::ChoosePlain(TPosition& pos, const TLevel& level) {
    // The plain engine numbers squares from a8 and reads the position as letters.
    TEngineInput in;
    for (int sq = 0; sq < 64; ++sq)
        in.Board[sq ^ 56] = pos.Board[sq] == NoPiece ? ' ' : "PNBRQKpnbrqk"[pos.Board[sq]];
    in.WhiteToMove = pos.Side == White;
    in.CastlingAllowed = static_cast<std::uint8_t>(pos.State().Castling);
    in.EnPassant = static_cast<std::uint8_t>(pos.State().EnPassant >= 0 ? (pos.State().EnPassant ^ 56) + 1 : 0);
    in.SearchDepth = level.PlainDepth;
    Plain->Think(in);
    const TEngineMove m = Plain->BestMove();
    TMoveList legal;
    GenerateLegal(pos, legal);
    Move found = NoMove;
    for (const Move l : legal) {
        if (FromSq(l) != (m.From ^ 56) || ToSq(l) != (m.To ^ 56)) continue;
        if (found == NoMove || (KindOf(l) == KindPromotion && PromoType(l) == Queen)) found = l;
    }
    // An aborted plain search may leave no move: any legal one will do.
    return found != NoMove ? found : legal.Size ? legal.Moves[0] : NoMove;
}

} // namespace strong
