// Feeds arbitrary bytes to the game readers as a PGN file and as a FEN. Whatever the text
// holds, reading ends with a game or a refusal; every game read replays through the rules,
// and written back as PGN it reads back to the same start, moves and notes (clocks,
// evaluations, marks, better lines). A FEN that is read
// writes back to a text that reads again to itself. A refusal quotes no more than a short
// excerpt of the text, however long its tokens.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "PgnReader.h"
#include "PgnWriter.h"
#include "TextEncoding.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckGame(const GameRecord& record) {
    TReplayGame game;
    Check(Replay(record, game) == record.Moves.size());
    const std::string text = WritePgn(record);
    GameRecord back;
    std::string error;
    Check(ReadPgn(text, back, error));
    Check(back.Moves == record.Moves);
    Check(back.Notes == record.Notes);
    Check(WriteFen(back.Start) == WriteFen(record.Start));
    ResultByRules(record);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = TextToUtf8(std::string(reinterpret_cast<const char*>(data), size));
    Check(IsValidUtf8(text));

    const std::vector<PgnGameEntry> games = ListPgnGames(text);
    for (size_t i = 0; i < games.size() && i < 3; ++i) {
        Check(games[i].Offset <= text.size());
        GameRecord record;
        std::string error;
        if (ReadPgnGame(text, games[i], record, error))
            CheckGame(record);
        else
            Check(error.rfind("line ", 0) == 0 && error.size() < 200); // quotes excerpts only
    }

    FenPosition position;
    std::string error;
    const bool fen = ReadFen(text, position, error);
    Check(fen || error.size() < 200);
    if (fen) {
        const std::string written = WriteFen(position);
        FenPosition again;
        Check(ReadFen(written, again, error));
        Check(WriteFen(again) == written);
    }
    return 0;
}
