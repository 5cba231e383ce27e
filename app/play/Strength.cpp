#include "Strength.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPointer>

#include "ChessBrd.h"
#include "LadderPlayer.h"
#include "ProgramSettings.h"
#include "UciEngine.h"
#include "Unit1.h"

namespace {

constexpr const char* kLevelKey = "Strength/Level";

bool Strong(int level) {
    return level >= 0 && level < static_cast<int>(strong::Ladder().size()) &&
           strong::Ladder()[level].PlainDepth == 0;
}

QString LevelLineOf(int level) {
    return QString("Level: ") + strong::Ladder()[level].Name;
}

// The window's state of one choice: which player plays, and the level line.
class TStrength : public QObject {
  public:
    TStrength(TForm1& form, TUciPlayer* program)
        : QObject(&form), FForm(form), FBoard(form.Board()), FProgram(program),
          FPlayer(std::make_unique<TLadderPlayer>(*form.Board())) {
        // A new game's level line tells the ladder's level, unless a program or no computer
        // plays.
        connect(&form, &TForm1::GameStarted, this, [this] { ShowLevel(); });
    }
    ~TStrength() override {
        if (FBoard && FBoard->HostPlayer() == FPlayer.get()) {
            FBoard->StopThinking();
            FBoard->SetCustomEngine(false);
            FBoard->SetHostPlayer(FProgram);
        }
    }

    void Choose(int level) {
        FLevel = Strong(level) ? level : -1;
        TChessBrd* board = FBoard;
        if (board == nullptr) return;
        if (FLevel >= 0) FPlayer->SetLevel(FLevel);
        TComputerPlayer* standIn = FLevel >= 0 ? FPlayer.get() : nullptr;
        if (FProgram) {
            FProgram->SetStandIn(standIn);
        } else if (!board->CustomEngine() || board->HostPlayer() == FPlayer.get()) {
            board->StopThinking();
            board->SetHostPlayer(standIn);
            board->SetCustomEngine(standIn != nullptr);
            board->StartComputerMove();
        }
        ShowLevel();
    }
    int Level() const { return FLevel; }
    TLadderPlayer* Player() const { return FPlayer.get(); }

  private:
    void ShowLevel() {
        if (FLevel < 0 || (FProgram && FProgram->ProgramPlays())) return;
        if (FForm.LevelLine().startsWith("Level: ")) FForm.SetLevelLine(LevelLineOf(FLevel));
    }

    TForm1& FForm;
    QPointer<TChessBrd> FBoard;
    QPointer<TUciPlayer> FProgram;
    std::unique_ptr<TLadderPlayer> FPlayer;
    int FLevel = -1;
};

} // namespace

int ReadStrengthLevel() {
    const QString name = OpenProgramSettings()->value(kLevelKey).toString();
    const int level = strong::LevelByName(name.toStdString());
    return Strong(level) ? level : -1;
}

void WriteStrengthLevel(int level) {
    const auto settings = OpenProgramSettings();
    if (Strong(level))
        settings->setValue(kLevelKey, QString(strong::Ladder()[level].Name));
    else
        settings->remove(kLevelKey);
    settings->sync();
}

TLadderPlayer* InstallStrength(TForm1& form, TUciPlayer* program) {
    if (form.Board() == nullptr) return nullptr;
    auto* strength = new TStrength(form, program);
    TChessBrd* board = form.Board();

    auto* menu = new QMenu("Strength", &form);
    menu->setObjectName("StrengthMenu");
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    auto* asDifficulty = menu->addAction("As Difficulty");
    asDifficulty->setObjectName("Strength");
    asDifficulty->setCheckable(true);
    group->addAction(asDifficulty);
    menu->addSeparator();
    QList<QAction*> levels;
    for (int i = 0; i < static_cast<int>(strong::Ladder().size()); ++i) {
        const strong::TLevel& l = strong::Ladder()[i];
        auto* a = menu->addAction(l.Name);
        a->setObjectName(QString("Strength:") + l.Name);
        a->setCheckable(true);
        group->addAction(a);
        levels.append(a);
        QObject::connect(a, &QAction::triggered, &form, [&form, strength, i] {
            const strong::TLevel& level = strong::Ladder()[i];
            // A plain level is the Difficulty of the same depth.
            if (level.PlainDepth > 0) form.SetDifficulty(level.PlainDepth - 1);
            strength->Choose(i);
            WriteStrengthLevel(strength->Level());
        });
    }
    QObject::connect(asDifficulty, &QAction::triggered, &form, [strength] {
        strength->Choose(-1);
        WriteStrengthLevel(-1);
    });
    // The check: the strong level chosen, else the plain level of the board's depth, else
    // "As Difficulty".
    QObject::connect(menu, &QMenu::aboutToShow, &form, [strength, board, asDifficulty, levels] {
        QAction* checked = asDifficulty;
        for (int i = 0; i < levels.size(); ++i) {
            const strong::TLevel& l = strong::Ladder()[i];
            if (strength->Level() >= 0 ? i == strength->Level()
                                       : l.PlainDepth > 0 && l.PlainDepth == board->SearchDepth())
                checked = levels[i];
        }
        checked->setChecked(true);
    });
    auto* entry = menu->menuAction();
    entry->setObjectName("StrengthMenu");
    form.AddCommand(entry);

    strength->Choose(ReadStrengthLevel());
    return strength->Player();
}
