#include "PlayOptions.h"

#include <QAccessible>
#include <QAction>
#include <QKeySequence>

#include <functional>

#include "AskTheBoard.h"
#include "ChessBrd.h"
#include "Hint.h"
#include "MoveAnnouncer.h"
#include "ProgramSettings.h"
#include "PromotionChooser.h"
#include "Speech.h"
#include "Unit1.h"

namespace {

struct TChoiceKey {
    const char* Key;
    const char* Text;
    bool TPlayChoices::*Field;
    bool Default = true;
};

const TChoiceKey kChoices[] = {
    {"ClickToMove", "Move by clicking", &TPlayChoices::ClickToMove},
    {"ShowLegalMoves", "Show where a piece can go", &TPlayChoices::ShowLegalMoves},
    {"HighlightLastMove", "Highlight the last move", &TPlayChoices::HighlightLastMove},
    {"HighlightCheck", "Highlight a king in check", &TPlayChoices::HighlightCheck},
    {"KeyboardPlay", "Play with the keyboard", &TPlayChoices::KeyboardPlay},
    {"ChoosePromotion", "Choose the promotion piece", &TPlayChoices::ChoosePromotion},
    {"SpeakMoves", "Speak moves", &TPlayChoices::SpeakMoves, false},
    {"SpeakWithScreenReader", "Speak also while a screen reader runs",
     &TPlayChoices::SpeakWithScreenReader, false},
};

QAction* Separator(TForm1& form) {
    auto* a = new QAction(&form);
    a->setSeparator(true);
    return a;
}

QAction* Command(TForm1& form, const char* name, const QString& text, const QKeySequence& key,
                 std::function<void()> run) {
    auto* a = new QAction(text, &form);
    a->setObjectName(name);
    a->setShortcut(key);
    a->setShortcutVisibleInContextMenu(true);
    QObject::connect(a, &QAction::triggered, &form, [run = std::move(run)] { run(); });
    form.AddCommand(a);
    return a;
}

} // namespace

TPlayChoices ReadPlayChoices() {
    TPlayChoices c;
    const auto settings = OpenProgramSettings();
    for (const auto& k : kChoices)
        c.*k.Field = settings->value(QStringLiteral("Play/") + k.Key, k.Default).toBool();
    return c;
}

void WritePlayChoices(const TPlayChoices& c) {
    const auto settings = OpenProgramSettings();
    for (const auto& k : kChoices)
        settings->setValue(QStringLiteral("Play/") + k.Key, c.*k.Field);
    settings->sync();
}

void ApplyPlayChoices(TChessBrd& board, const TPlayChoices& c) {
    board.SetClickToMove(c.ClickToMove);
    board.SetShowLegalMoves(c.ShowLegalMoves);
    board.SetHighlightLastMove(c.HighlightLastMove);
    board.SetHighlightCheck(c.HighlightCheck);
    board.SetKeyboardPlay(c.KeyboardPlay);
}

QAction* PlayCommand(TForm1& form, const QString& name) {
    for (QAction* a : form.Commands())
        if (a->objectName() == name) return a;
    return nullptr;
}

void InstallPlayOptions(TForm1& form, std::shared_ptr<TSpeaker> speaker) {
    TChessBrd* board = form.Board();
    if (board == nullptr) return;
    auto choices = std::make_shared<TPlayChoices>(ReadPlayChoices());
    ApplyPlayChoices(*board, *choices);

    // The person's promotions ask for the piece while the choice is on, and make a queen
    // otherwise; the computer's and a loaded game's come with their own.
    board->PromotionChooser = [choices](TChessBrd* b, Square, Square to) {
        if (!choices->ChoosePromotion) return 'q';
        return TPromotionChooser::Choose(b, to, b->PieceAt(to) == 'P');
    };
    // A move sends the focus to the move list; keyboard play keeps it on the board.
    auto moved = board->OnLegalMove;
    board->OnLegalMove = [board, moved](TChessGame* g, Square from, Square to) {
        const bool keep = board->hasFocus();
        if (moved) moved(g, from, to);
        if (keep && board->isEnabled()) board->setFocus(Qt::OtherFocusReason);
    };
    if (choices->KeyboardPlay) board->setFocus(Qt::OtherFocusReason);
    // Moves said aloud while the choice is on; the speaker starts its engine with the first.
    if (!speaker) speaker = std::make_shared<TTextToSpeechSpeaker>();
    // The program's voice and a screen reader do not talk over each other.
    const auto speaking = [choices] {
        return choices->SpeakMoves && (!QAccessible::isActive() || choices->SpeakWithScreenReader);
    };
    AnnounceMoves(*board, speaker, speaking);
    InstallBoardQuestions(form, [speaker, speaking](const QString& text) {
        if (speaking()) speaker->Say(text);
    });

    auto* hint = new THint(board, &form);
    Command(form, "Hint", "Hint", QKeySequence(Qt::Key_H), [hint, board] {
        // Only for the person's move, while the game goes on.
        if (!board->ComputersTurn() && board->isEnabled()) hint->Request();
    });
    form.AddCommand(Separator(form));

    for (const auto& k : kChoices) {
        auto* a = new QAction(k.Text, &form);
        a->setObjectName(k.Key);
        a->setCheckable(true);
        a->setChecked(choices.get()->*k.Field);
        const auto field = k.Field;
        QObject::connect(a, &QAction::toggled, &form, [choices, board, field](bool on) {
            choices.get()->*field = on;
            ApplyPlayChoices(*board, *choices);
            WritePlayChoices(*choices);
        });
        form.AddCommand(a);
    }
    form.AddCommand(Separator(form));

    // The side panel's commands under the desktop's usual keys; a command that cannot be
    // run now (its panel is disabled) does nothing for its key either.
    using C = TForm1::TCommand;
    const auto run = [&form](C c) { return [&form, c] { form.Run(c); }; };
    Command(form, "NewGame", "New game", QKeySequence(Qt::CTRL | Qt::Key_N), run(C::NewGame));
    Command(form, "Restart", "Restart game", QKeySequence(Qt::CTRL | Qt::Key_R), run(C::Restart));
    Command(form, "MoveBack", "Move back", QKeySequence(Qt::CTRL | Qt::Key_Z), run(C::MoveBack));
    Command(form, "MoveForward", "Move forward", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
            run(C::MoveForward));
    Command(form, "Flip", "Turn the board round", QKeySequence(Qt::Key_F), [&form] {
        form.SetRadioGroup1Index(form.RadioGroup1Index() == 0 ? 1 : 0);
        form.RadioGroup1Click();
    });
    Command(form, "Save", "Save game", QKeySequence(Qt::CTRL | Qt::Key_S), run(C::Save));
    Command(form, "Open", "Load a saved game", QKeySequence(Qt::CTRL | Qt::Key_O), run(C::Open));
    Command(form, "Print", "Print", QKeySequence(Qt::CTRL | Qt::Key_P), run(C::Print));
    Command(form, "Help", "Help", QKeySequence(Qt::Key_F1), run(C::Help));
    Command(form, "Exit", "Exit", QKeySequence(Qt::CTRL | Qt::Key_Q), run(C::Exit));
}
