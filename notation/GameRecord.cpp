#include "GameRecord.h"

std::string GameRecord::Tag(const std::string& name) const {
    for (const auto& [key, value] : Tags)
        if (key == name) return value;
    return {};
}

void GameRecord::SetTag(const std::string& name, const std::string& value) {
    for (auto& [key, old] : Tags) {
        if (key == name) {
            old = value;
            return;
        }
    }
    Tags.emplace_back(name, value);
}

bool GameRecord::IsSetUp() const {
    const FenPosition s = StartFenPosition();
    return Start.Board != s.Board || Start.WhiteToMove != s.WhiteToMove ||
           !(Start.Castling == s.Castling) || Start.EnPassant != s.EnPassant ||
           Start.MoveNumber != s.MoveNumber || Start.HalfMoveClock != s.HalfMoveClock;
}

const MoveNote& GameRecord::Note(size_t move) const {
    static const MoveNote none;
    return move < Notes.size() ? Notes[move] : none;
}

MoveNote& GameRecord::NoteToWrite(size_t move) {
    if (Notes.size() < Moves.size()) Notes.resize(Moves.size());
    if (Notes.size() <= move) Notes.resize(move + 1);
    return Notes[move];
}

void SetMoveClocks(GameRecord& record, const std::vector<TGameClock::TTimes>& times) {
    bool white = record.Start.WhiteToMove;
    for (size_t i = 0; i < record.Moves.size() && i + 1 < times.size(); ++i) {
        record.NoteToWrite(i).ClockMillis = white ? times[i + 1].White : times[i + 1].Black;
        white = !white;
    }
}

GameRecord RecordFromHistory(const TChessGame& game, const FenPosition* knownStart) {
    GameRecord record;
    int move = game.HistoryFirstMove();
    bool white = game.HistoryFirstWhite();
    const bool played =
        game.HistoryLastMove() != move || game.HistoryLastWhite() != game.HistoryFirstWhite();
    // A game Black began leaves White's first record unwritten.
    if (played && white && game.MoveHistory(move, true).Position.size() != 64) white = false;
    const MoveInfo& first = game.MoveHistory(move, white);
    if (!played || first.Position.size() != 64) {
        // No half-move recorded: the game is the position on the board.
        record.Start.Board = game.Position();
        record.Start.WhiteToMove = game.WhiteToMove();
        record.Start.Castling = game.CastlingAllowed();
        record.Start.EnPassant = game.EnPassant();
        record.Start.MoveNumber = game.CurrentMove();
        if (knownStart && knownStart->Board == record.Start.Board &&
            knownStart->WhiteToMove == record.Start.WhiteToMove) {
            record.Start.HalfMoveClock = knownStart->HalfMoveClock;
            record.Start.MoveNumber = knownStart->MoveNumber;
        }
        return record;
    }
    record.Start.Board = first.Position;
    record.Start.WhiteToMove = white;
    record.Start.Castling = first.Castling;
    record.Start.EnPassant = first.EnPassant;
    if (knownStart && knownStart->Board == first.Position && knownStart->WhiteToMove == white) {
        record.Start.HalfMoveClock = knownStart->HalfMoveClock;
        record.Start.MoveNumber = knownStart->MoveNumber;
    }
    while (move < game.HistoryLastMove() ||
           (move == game.HistoryLastMove() && white && !game.HistoryLastWhite())) {
        const MoveInfo& info = game.MoveHistory(move, white);
        if (!white) ++move;
        white = !white;
        GameMove m{info.OldSq, info.NewSq, 0};
        const char mover = info.Position[info.OldSq - 1];
        const std::string& after = game.MoveHistory(move, white).Position;
        if ((mover == 'P' && RankOf(m.To) == 8) || (mover == 'p' && RankOf(m.To) == 1)) {
            const char piece = after.size() == 64 ? after[m.To - 1] : 'q';
            m.Promotion = static_cast<char>(piece | 0x20);
        }
        record.Moves.push_back(m);
    }
    return record;
}

size_t Replay(const GameRecord& record, TReplayGame& game) {
    game.SetUp(record.Start);
    size_t played = 0;
    for (const GameMove& m : record.Moves) {
        if (!game.Play(m)) break;
        ++played;
    }
    return played;
}

std::string ResultByRules(const GameRecord& record) {
    TReplayGame game;
    Replay(record, game);
    if (game.IsMate()) return game.WhiteToMove() ? "0-1" : "1-0";
    // Stalemate, a third repetition (where play on the board ends) and too little material
    // are draws.
    if (!game.HasLegalMove() || game.IsThreefoldRepetition() || game.LacksMatingMaterial())
        return "1/2-1/2";
    return "*";
}
