#include "GameFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>

#include "ChessBrd.h"
#include "GameListLine.h"
#include "PgnReader.h"
#include "PgnWriter.h"
#include "RunAside.h"
#include "ScreenFit.h"
#include "StartOptions.h"
#include "TextBytes.h"
#include "TextEncoding.h"
#include "Unit1.h"

namespace {

constexpr const char* kPgnMime = "application/x-chess-pgn";
constexpr const char* kFenMime = "application/x-chess-fen";

std::string Utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

QString Text(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

bool StartsWith(const GameRecord& game, const GameRecord& prefix) {
    if (WriteFen(game.Start) != WriteFen(prefix.Start)) return false;
    if (prefix.Moves.size() > game.Moves.size()) return false;
    return std::equal(prefix.Moves.begin(), prefix.Moves.end(), game.Moves.begin());
}

} // namespace

TGameFiles::TGameFiles(TForm1& form) : QObject(&form), FForm(form) {
    const auto command = [&form, this](const QString& text, const QKeySequence& keys,
                                       std::function<void()> handler) {
        auto* action = new QAction(text, &form);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        form.AddCommand(action);
        return action;
    };
    CopyAction = command("Copy game", QKeySequence::Copy, [this] { CopyGame(); });
    PasteAction = command("Paste game or position", QKeySequence::Paste, [this] { PasteGame(); });
    SaveAction = command("Save game as PGN...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                         [this] { SaveGameAs(); });
    OpenAction = command("Open PGN...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
                         [this] { OpenGame(); });
    ChooseGame = [this](const QStringList& games) { return ChooseFromList(games); };
}

void TGameFiles::Tell(const QString& text) const {
    if (TForm1::ShowMessage) TForm1::ShowMessage(&FForm, text);
}

// --- Out ------------------------------------------------------------------------------------

GameRecord TGameFiles::CurrentRecord() const {
    const TChessBrd* board = FForm.Board();
    const FenPosition* known = FLoaded ? &FLoaded->Start : nullptr;
    GameRecord record = RecordFromHistory(*board, known);
    if (FLoaded && !FLoaded->Tags.empty() && StartsWith(record, *FLoaded)) {
        record.Tags = FLoaded->Tags;
    } else {
        const auto player = [this](bool white) {
            const TChessBrd* b = FForm.Board();
            const bool computer = white ? b->ComputerPlaysWhite() : b->ComputerPlaysBlack();
            if (!computer) return std::string("Player");
            if (!EngineName.isEmpty() && b->CustomEngine()) return Utf8(EngineName);
            return std::string("Chess Zel");
        };
        record.SetTag("Event", "Casual game");
        record.SetTag("Site", "Chess Zel");
        record.SetTag("Date", Utf8(QDate::currentDate().toString("yyyy.MM.dd")));
        record.SetTag("Round", "-");
        record.SetTag("White", player(true));
        record.SetTag("Black", player(false));
    }
    // A game still ended by its record keeps the record's result.
    const bool marked = board->GameOver() == TGameOver::Marked && FLoaded;
    record.Result = marked ? FLoaded->Result : ResultByRules(record);
    record.SetTag("Result", record.Result);
    for (const auto& annotate : FAnnotators)
        annotate(record);
    return record;
}

void TGameFiles::AddAnnotator(std::function<void(GameRecord&)> annotator) {
    FAnnotators.push_back(std::move(annotator));
}

QString TGameFiles::GamePgn() const {
    return Text(WritePgn(CurrentRecord()));
}

QString TGameFiles::PositionFen() const {
    // The counters come from the game's own replay, up to the half-move the board shows
    // (an earlier one after stepping back); the rules keep neither counter.
    const TChessBrd* board = FForm.Board();
    const GameRecord record = CurrentRecord();
    const int start = record.Start.WhiteToMove ? 0 : 1;
    const int shown = (board->CurrentMove() - 1) * 2 + (board->WhiteToMove() ? 0 : 1);
    GameRecord upTo = record;
    upTo.Moves.resize(size_t(std::clamp(shown - start, 0, int(record.Moves.size()))));
    TReplayGame game;
    Replay(upTo, game);
    return Text(WriteFen(game.Fen()));
}

void TGameFiles::CopyGame() const {
    auto* data = new QMimeData;
    const QString pgn = GamePgn();
    data->setText(pgn);
    data->setData(kPgnMime, pgn.toUtf8());
    data->setData(kFenMime, PositionFen().toUtf8());
    QApplication::clipboard()->setMimeData(data);
}

bool TGameFiles::SaveFile(const QString& path, QString& error) const {
    QFile file(path);
    const QByteArray bytes = GamePgn().toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        error = file.errorString();
        return false;
    }
    return true;
}

void TGameFiles::SaveGameAs() {
    QString path = ChoosePath ? ChoosePath(true)
                              : QFileDialog::getSaveFileName(&FForm, "Save game as PGN", QString(),
                                                             "PGN games (*.pgn);;All files (*)");
    if (path.isEmpty()) return;
    // A name typed without an ending gets the one of its kind.
    if (QFileInfo(path).suffix().isEmpty()) path += ".pgn";
    QString error;
    if (!SaveFile(path, error))
        Tell("The game could not be saved in " + QFileInfo(path).fileName() + ": " + error);
}

// --- In -------------------------------------------------------------------------------------

void TGameFiles::LoadRecord(const GameRecord& record) {
    TChessBrd* board = FForm.Board();
    // The window's game start: the game-in-progress state with the Play panel's players and
    // level, on a new game. Everything after it is the board's own operations.
    FForm.StartGame();
    board->StopThinking();
    const bool animate = board->AnimateMoves();
    board->SetAnimateMoves(false);
    // The record may go on past a threefold repetition (the draw must be claimed): it is
    // played whole, and play on the board ends at the next one.
    board->SetRepetitionEndsGame(false);
    if (record.IsSetUp()) {
        board->SetPosition(record.Start.Board);
        board->SetWhiteToMove(record.Start.WhiteToMove);
        board->SetCastlingAllowed(record.Start.Castling);
        if (record.Start.EnPassant != None) board->SetEnPassant(record.Start.EnPassant);
    }
    // Every move quietly but the last, which raises the board's events as if just played:
    // its sound, its message, the move list and the end of the game.
    for (size_t i = 0; i < record.Moves.size(); ++i) {
        const GameMove& m = record.Moves[i];
        const bool last = i + 1 == record.Moves.size();
        board->PlayRecordedMove(m.From, m.To, m.Promotion, !last);
    }
    board->SetRepetitionEndsGame(true);
    board->SetAnimateMoves(animate);
    board->PaintBoard();
    // A position set up without moves is announced as a move into it would be: one that is
    // already over ends the game at once. A result the rules do not reach (a resignation,
    // an agreed draw) ends it too, until the person plays on.
    if (record.Moves.empty()) {
        FForm.RefreshMoveList();
        board->AnnouncePosition();
    }
    if (board->GameOver() == TGameOver::None && record.Result != "*") {
        board->MarkGameOver();
        FForm.ShowRecordedResult(Text(record.Result));
    }
    FLoaded = record;
    emit GameLoaded();
    board->StartComputerMove();
}

bool TGameFiles::LoadText(const QString& text, QString& error) {
    const std::string utf8 = Utf8(text);
    FenPosition position;
    std::string reason;
    // A FEN is one line of six fields with the ranks parted by slashes.
    const QString trimmed = text.trimmed();
    if (!trimmed.contains('\n') && trimmed.count('/') == 7 && !trimmed.startsWith('[')) {
        if (!ReadFen(utf8, position, reason)) {
            error = "This position cannot be played: " + Text(reason) + ".";
            return false;
        }
        GameRecord record;
        record.Start = position;
        LoadRecord(record);
        return true;
    }
    GameRecord record;
    if (!ReadPgn(utf8, record, reason)) {
        error = "This game cannot be read: " + Text(reason) + ".";
        return false;
    }
    LoadRecord(record);
    return true;
}

void TGameFiles::PasteGame() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data) return;
    QString text;
    if (data->hasFormat(kPgnMime))
        text = Text(TextToUtf8(data->data(kPgnMime).toStdString()));
    else if (data->hasText())
        text = data->text();
    if (text.trimmed().isEmpty()) {
        Tell("The clipboard holds no game and no position.");
        return;
    }
    QString error;
    if (!LoadText(text, error)) Tell(error);
}

bool TGameFiles::OpenFile(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot open " + path + ": " + file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    // Checking, converting and listing a large file runs aside, so the window keeps painting.
    const std::string_view raw(bytes.constData(), size_t(bytes.size()));
    bool isText = true;
    std::string text;
    std::vector<PgnGameEntry> games;
    QStringList lines;
    std::atomic<bool> cancelled = false;
    RunAside(
        &FForm, "Reading " + QFileInfo(path).fileName() + "...",
        [&] {
            isText = LooksLikeText(raw);
            if (!isText) return;
            text = TextToUtf8(raw);
            games = ListPgnGames(text, [&cancelled](size_t) { return !cancelled.load(); });
            if (games.size() < 2) return;
            lines.reserve(qsizetype(games.size()));
            for (size_t i = 0; i < games.size() && !cancelled; ++i)
                lines << GameListLine(text, games, i);
        },
        cancelled);
    if (!isText) {
        error = path + " is not a PGN file: it does not hold text.";
        return false;
    }
    if (cancelled) return true;
    PgnGameEntry chosen;
    if (games.size() > 1) {
        const int index = ChooseGame ? ChooseGame(lines) : 0;
        if (index < 0 || size_t(index) >= games.size()) return true;
        chosen = games[size_t(index)];
    }
    GameRecord record;
    std::string reason;
    if (!ReadPgnGame(text, chosen, record, reason)) {
        error = QFileInfo(path).fileName() + " cannot be read: " + Text(reason) + ".";
        return false;
    }
    LoadRecord(record);
    return true;
}

void TGameFiles::OpenGame() {
    const QString path = ChoosePath
                             ? ChoosePath(false)
                             : QFileDialog::getOpenFileName(&FForm, "Open PGN", QString(),
                                                            "PGN games (*.pgn);;All files (*)");
    if (path.isEmpty()) return;
    QString error;
    if (!OpenFile(path, error)) Tell(error);
}

int TGameFiles::ChooseFromList(const QStringList& games) const {
    QDialog dialog(&FForm);
    dialog.setWindowTitle("Open PGN");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QString("The file holds %1 games. Which one?").arg(games.size())));
    auto* list = new QListWidget;
    list->setUniformItemSizes(true);
    list->addItems(games);
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    dialog.resize(520, 420);
    FitOnScreen(&dialog, &FForm);
    return dialog.exec() == QDialog::Accepted ? list->currentRow() : -1;
}

// --- The command line -------------------------------------------------------------------------

bool IsGameText(const QString& argument) {
    if (QFileInfo::exists(argument)) return false;
    const QString text = argument.trimmed();
    // A name of a file that is not there is still a name, whatever else it holds.
    if (text.endsWith(".pgn", Qt::CaseInsensitive)) return false;
    if (text.startsWith('[') || text.contains(QRegularExpression("\\s"))) return true;
    // A FEN's board alone: eight ranks parted by slashes.
    static const QRegularExpression board("^[pnbrqkPNBRQK1-8]+(/[pnbrqkPNBRQK1-8]+){7}$");
    return board.match(text).hasMatch();
}

TGameFiles* InstallGameFiles(TForm1& form, const TStartOptions& options) {
    auto* files = new TGameFiles(form);
    const QString named = options.Game;
    if (named.isEmpty()) return files;
    // Opened once the window is up, so that the game replaces the Play panel.
    QTimer::singleShot(0, files, [files, named] {
        QString error;
        const bool ok =
            IsGameText(named) ? files->LoadText(named, error) : files->OpenFile(named, error);
        if (!ok) files->Tell(error);
    });
    return files;
}
