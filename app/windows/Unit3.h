#pragma once
// TFrmAbrir, the open window: lists the used places of the saved positions file, previews
// the chosen position on a small board of its own, opens it onto the main board as a fresh
// game, or deletes it. Borderless, modal and draggable by nearly its whole surface above the
// buttons; the main window hands it the skin picture before each showing.

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SavedGames.h"

class QLabel;
class QListWidget;
class QPixmap;
class QShowEvent;
class TChessBrd;

namespace Ui {
class TFrmAbrir;
}

class TFrmAbrir : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmAbrir(QWidget* parent = nullptr);
    ~TFrmAbrir() override;

    // The skin picture, stretched over the whole window.
    void SetBackground(const QPixmap& picture);
    // The board a game is opened onto.
    void SetMainBoard(TChessBrd* board) { FMainBoard = board; }
    // The main window's move list, emptied when a game is opened.
    void SetMoveList(QListWidget* list) { FMoveList = list; }
    // The main window's message line, which says when a position opens with Black to move.
    void SetMessageLine(QLabel* label) { FMessageLine = label; }

    // Tells the user that the file could not be written. By default a message box.
    std::function<void(const QString& text)> ShowMessage;

    // Handlers, named after their components and events.
    void FormShow();          // each showing and after a deletion: the used places
    void ListBox1Click();     // a line selected: preview it
    void SpeedButton1Click(); // "&Open", or a double-click on the list
    void SpeedButton2Click(); // "&Cancel"
    void SpeedButton3Click(); // "&Delete"

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    std::unique_ptr<Ui::TFrmAbrir> ui;
    TChessBrd* FMainBoard = nullptr;
    QListWidget* FMoveList = nullptr;
    QLabel* FMessageLine = nullptr;
    // The place and name each line stands for; a line's index is not its place number.
    std::vector<saved::TSavedGames::TUsedPlace> FLines;

    const saved::TSavedGames::TUsedPlace* SelectedLine() const;
    void OpenPosition(const std::string& position);
};
