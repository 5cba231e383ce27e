#pragma once
// TFrmSalvar, the save window: lists the 20 places of the saved positions file and keeps the
// main board's position in the chosen one under a name the user gives. Borderless and
// modal; the main window hands it the skin picture before each showing.

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QPixmap;
class QShowEvent;
class TChessBrd;

namespace Ui {
class TFrmSalvar;
}

class TFrmSalvar : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmSalvar(QWidget* parent = nullptr);
    ~TFrmSalvar() override;

    // The skin picture, stretched over the whole window.
    void SetBackground(const QPixmap& picture);
    // The board whose position is saved.
    void SetMainBoard(TChessBrd* board) { FMainBoard = board; }

    // Asks for the name to save under, pre-filled with suggestion; none when the user
    // cancels. By default the "Salvar" text-input dialog.
    std::function<std::optional<QString>(const QString& suggestion)> AskName;
    // Asks whether to replace the position kept under a name another place already uses.
    std::function<bool(const QString& name)> AskReplace;
    // Tells the user why a name was refused or that the file could not be written.
    std::function<void(const QString& text)> ShowMessage;

    // Handlers, named after their components and events.
    void FormShow();          // each showing: one line per place
    void SpeedButton1Click(); // "Save", or a double-click on the list
    void SpeedButton2Click(); // "&Cancel"

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    std::unique_ptr<Ui::TFrmSalvar> ui;
    TChessBrd* FMainBoard = nullptr;
    // The name each line stood for when the list was filled; none for "Empty".
    std::array<std::optional<std::string>, 20> FSlots;
};
