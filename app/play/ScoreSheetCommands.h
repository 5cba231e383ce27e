#pragma once
// The score sheet's commands on the main window: "Print score sheet..." shows the sheet of
// the game on the board in a print preview, from which the desktop's print dialog prints
// it, and "Export score sheet as PDF..." writes it to a file the user names.

#include <QObject>
#include <QString>

#include <functional>

#include "ScoreSheet.h"

class QAction;
class TForm1;
class TGameFiles;

class TScoreSheetCommands : public QObject {
  public:
    TScoreSheetCommands(TForm1& form, const TGameFiles& files);

    // The sheet of the game on the board, with the window's level line.
    TScoreSheet Sheet() const;

    void PrintWithPreview();
    void ExportPdf();

    // Where the file dialog is bypassed in tests: returns the chosen path or an empty one.
    std::function<QString()> ChoosePath;

    QAction* PrintAction = nullptr;
    QAction* ExportAction = nullptr;

  private:
    TForm1& FForm;
    const TGameFiles& FFiles;
};

// Creates the commands, placed after the window's "Print" command when it has one.
TScoreSheetCommands* InstallScoreSheet(TForm1& form, const TGameFiles& files);
