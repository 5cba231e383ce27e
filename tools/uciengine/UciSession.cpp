#include "UciSession.h"

#include <algorithm>
#include <charconv>
#include <new>
#include <sstream>

using namespace strong;

namespace {

std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> out;
    std::string word;
    for (const char c : line) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (!word.empty()) out.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) out.push_back(std::move(word));
    return out;
}

// A number clamped to [low, high]; the fallback when the text is not a number.
std::int64_t Number(const std::string& text, std::int64_t fallback, std::int64_t low,
                    std::int64_t high) {
    std::int64_t v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc::result_out_of_range) v = text[0] == '-' ? low : high;
    else if (ec != std::errc() || end != text.data() + text.size()) return fallback;
    return std::clamp(v, low, high);
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

constexpr int MinElo = 500, MaxElo = 2300;
// The longest time in milliseconds the front takes from a command: a day.
constexpr std::int64_t Day = 86400000;

} // namespace

TUciSession::TUciSession(std::ostream& out, TUciOptions options)
    : Out(out), Options(options), TT(static_cast<std::size_t>(options.HashMegabytes)), Player(TT),
      Level(static_cast<int>(Ladder().size()) - 1) {}

TUciSession::~TUciSession() {
    StopSearch();
}

void TUciSession::Send(const std::string& text) {
    std::lock_guard lock(OutMutex);
    Out << text << '\n' << std::flush;
}

void TUciSession::Run(std::istream& in) {
    std::string line;
    while (std::getline(in, line))
        if (!Handle(line)) break;
    StopSearch();
}

bool TUciSession::Handle(std::string_view line) {
    const std::vector<std::string> words = Words(line);
    if (words.empty()) return true;
    const std::string& cmd = words[0];
    if (cmd == "quit") {
        StopSearch();
        return false;
    }
    if (cmd == "stop") {
        StopSearch();
    } else if (cmd == "isready") {
        Send("readyok");
    } else if (cmd == "uci") {
        Uci();
    } else if (cmd == "ponderhit" || cmd == "debug" || cmd == "register") {
        // Nothing to do: no pondering, no debug output, no registration.
    } else {
        // Every other command changes what a search reads: the running one ends first.
        StopSearch();
        if (cmd == "ucinewgame") {
            Player.NewGame();
            Pos.SetStart();
        } else if (cmd == "setoption") {
            SetOption(words);
        } else if (cmd == "position") {
            Position(words);
        } else if (cmd == "go") {
            Go(words);
        } else {
            Send("info string unknown command " + cmd.substr(0, 40));
        }
    }
    return true;
}

void TUciSession::Uci() {
    std::string levels;
    for (const TLevel& l : Ladder())
        levels += std::string(" var ") + l.Name;
    Send("id name Chess Zel");
    Send("id author The Chess Zel team");
    Send("option name Hash type spin default 16 min 1 max 1024");
    Send("option name Threads type spin default 0 min 0 max 64");
    Send(std::string("option name Level type combo default ") + Ladder().back().Name + levels);
    Send("option name MoveTimeMax type spin default 0 min 0 max " + std::to_string(Day));
    Send("option name UCI_LimitStrength type check default false");
    Send("option name UCI_Elo type spin default 2300 min " + std::to_string(MinElo) + " max " +
         std::to_string(MaxElo));
    Send("uciok");
}

void TUciSession::SetOption(const std::vector<std::string>& words) {
    // setoption name <words...> [value <words...>]
    std::string name, value;
    bool inValue = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] == "name" && !inValue && name.empty()) continue;
        if (words[i] == "value" && !inValue) {
            inValue = true;
            continue;
        }
        std::string& target = inValue ? value : name;
        if (!target.empty()) target += ' ';
        target += words[i];
    }
    name = Lower(name);
    if (name == "hash") {
        try {
            TT.Resize(static_cast<std::size_t>(Number(value, 16, 1, 1024)));
        } catch (const std::bad_alloc&) {
            TT.Resize(1);
            Send("info string not enough memory for that table");
        }
    } else if (name == "threads") {
        Player.Threads = static_cast<int>(Number(value, 0, 0, 64));
    } else if (name == "level") {
        const int l = LevelByName(value);
        if (l >= 0)
            Level = l;
        else
            Send("info string no level " + value.substr(0, 40));
    } else if (name == "movetimemax") {
        MoveTimeMax = static_cast<int>(Number(value, 0, 0, Day));
    } else if (name == "uci_limitstrength") {
        LimitStrength = Lower(value) == "true";
    } else if (name == "uci_elo") {
        Elo = static_cast<int>(Number(value, Elo, MinElo, MaxElo));
    } else {
        Send("info string no option " + name.substr(0, 40));
    }
}

int TUciSession::CurrentLevel() const {
    return LimitStrength ? LevelNearestElo(Elo) : Level;
}

void TUciSession::Position(const std::vector<std::string>& words) {
    // position startpos|fen <fields> [moves <move>...]
    std::size_t i = 1;
    TPosition next;
    if (i < words.size() && words[i] == "startpos") {
        ++i;
    } else if (i < words.size() && words[i] == "fen") {
        std::string fen;
        for (++i; i < words.size() && words[i] != "moves"; ++i)
            fen += words[i] + ' ';
        if (!next.SetFen(fen)) {
            Send("info string invalid position");
            return;
        }
    } else {
        Send("info string position needs startpos or fen");
        return;
    }
    if (i < words.size() && words[i] == "moves") {
        for (++i; i < words.size(); ++i) {
            const Move m = next.ParseMove(words[i]);
            if (m == NoMove) {
                Send("info string illegal move " + words[i].substr(0, 10));
                break;
            }
            next.DoMove(m);
        }
    }
    Pos = next;
}

void TUciSession::Go(const std::vector<std::string>& words) {
    TSearchLimits limits;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        const bool hasValue = i + 1 < words.size();
        auto next = [&](std::int64_t low, std::int64_t high) {
            return hasValue ? Number(words[++i], 0, low, high) : 0;
        };
        if (w == "infinite") limits.Infinite = true;
        else if (w == "depth") limits.Depth = static_cast<int>(next(1, MaxPly));
        else if (w == "nodes") limits.Nodes = next(1, INT64_MAX / 2);
        else if (w == "movetime") limits.MoveTime = static_cast<int>(next(1, Day));
        else if (w == "wtime") limits.Time[White] = static_cast<int>(next(1, Day));
        else if (w == "btime") limits.Time[Black] = static_cast<int>(next(1, Day));
        else if (w == "winc") limits.Inc[White] = static_cast<int>(next(0, Day));
        else if (w == "binc") limits.Inc[Black] = static_cast<int>(next(0, Day));
        else if (w == "movestogo") limits.MovesToGo = static_cast<int>(next(1, 1000));
    }
    limits.MoveTimeMax = MoveTimeMax;
    // Plain "go" with nothing else searches until stopped.
    if (!limits.Depth && !limits.Nodes && !limits.MoveTime && !limits.Time[Pos.Side])
        limits.Infinite = true;
    if (Options.MaxDepth) {
        limits.Depth = limits.Depth ? std::min(limits.Depth, Options.MaxDepth) : Options.MaxDepth;
    }
    if (Options.MaxNodes) limits.Nodes = limits.Nodes ? std::min(limits.Nodes, Options.MaxNodes) : Options.MaxNodes;
    Player.ResetStop();
    {
        std::lock_guard lock(WaitMutex);
        StopRequested = false;
    }
    Worker = std::thread(&TUciSession::Think, this, Pos, limits, CurrentLevel());
}

void TUciSession::Think(TPosition pos, TSearchLimits limits, int level) {
    Player.Search.OnReport = [this](const TSearchReport& r) { Report(r); };
    TSearchLimits run = limits;
    // Under "go infinite" with a depth cap the search ends early but answers only at "stop".
    if (limits.Infinite && (limits.Depth || limits.Nodes)) run.Infinite = false;
    const Move best = Player.Choose(pos, level, run);
    if (limits.Infinite) {
        std::unique_lock lock(WaitMutex);
        WaitChanged.wait(lock, [this] { return StopRequested; });
    }
    Send("bestmove " + TPosition::MoveText(best));
}

void TUciSession::Report(const TSearchReport& r) {
    std::ostringstream s;
    s << "info depth " << r.Depth << " seldepth " << r.SelDepth << " score ";
    if (r.Score >= MateBound)
        s << "mate " << (Mate - r.Score + 1) / 2;
    else if (r.Score <= -MateBound)
        s << "mate " << -(Mate + r.Score) / 2;
    else
        s << "cp " << r.Score;
    s << " nodes " << r.Nodes << " nps " << (r.Millis > 0 ? r.Nodes * 1000 / r.Millis : r.Nodes)
      << " hashfull " << r.Hashfull << " time " << r.Millis << " pv";
    for (const Move m : r.Pv)
        s << ' ' << TPosition::MoveText(m);
    Send(s.str());
}

void TUciSession::StopSearch() {
    if (!Worker.joinable()) return;
    Player.Stop();
    {
        std::lock_guard lock(WaitMutex);
        StopRequested = true;
    }
    WaitChanged.notify_all();
    Worker.join();
}

void TUciSession::WaitForSearch() {
    if (!Worker.joinable()) return;
    Worker.join();
}
