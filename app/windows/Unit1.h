#pragma once
// TForm1 is the program's game window. It holds the board ChessBrd1 and wraps it with the
// game flow: the Play panel (players, difficulty, skin), the side panel (commands and the
// move list), the options panel, and four text lines for messages, players or level, game
// time and a clock. It turns the board's events into messages, sounds and move-list lines,
// reads the settings when it is created and writes them when it closes.
//
// The implementation is split by concern: Unit1.cpp (creation, showing, activation,
// closing, the clock), Unit1Flow.cpp (the commands), Unit1Events.cpp (the board's events,
// sounds and music), Unit1Settings.cpp (the settings file), Unit1Skin.cpp (skins and
// button pictures).

#include <QDateTime>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

#include "ui_Unit1.h"

class QAction;
class QDialog;
class TChessBrd;
class TSoundDevice;
class TFrmSobre;
class TFrmSalvar;
class TFrmAbrir;
class TMoveListWalk;

class TForm1 : public QWidget {
    Q_OBJECT

  public:
    // The window plays its sounds on sound (the system's device when null). Creating the
    // window runs FormCreate.
    explicit TForm1(TSoundDevice* sound = nullptr, QWidget* parent = nullptr);
    ~TForm1() override;

    // The other windows of the program, created after this one and kept until the end.
    void SetWindows(TFrmSobre* about, TFrmSalvar* save, TFrmAbrir* open);
    // Called once, when the window is first shown (destroys the splash window).
    std::function<void()> OnFirstShow;
    // Adds a command to the window's context menu (right-click outside the board, or the
    // Menu key); its shortcut works anywhere in the window. A separator action separates.
    // It goes after the command `after` when that is one of the menu's, else at the end.
    void AddCommand(QAction* action, QAction* after = nullptr);
    const QList<QAction*>& Commands() const { return FCommands; }
    // Shows a message to the user; tests put a recorder in its place.
    static std::function<void(QWidget* parent, const QString& text)> ShowMessage;

    // --- What the window offers the rest of the program ------------------------------------
    // The main board; null once the window has closed.
    TChessBrd* Board() const { return ui.ChessBrd1; }
    // Starts a game with the Play panel's players and level, as "&Play" does.
    void StartGame();
    // The commands of the side panel.
    enum class TCommand {
        NewGame,
        Restart,
        MoveBack,
        MoveForward,
        Print,
        Options,
        About,
        Save,
        Open,
        Help,
        Exit,
    };
    // Whether the command's button can be pressed now (the side panel is enabled and the
    // board is there).
    bool CanRun(TCommand command) const;
    // Runs the command as its button does, only when it can be run; false when it could not.
    bool Run(TCommand command);
    // The message line: what it says, and a new text for it.
    QString MessageLine() const;
    void SetMessageLine(const QString& text);
    // The level line ("Level: Novice", "Player1 x Player2"), and a new text for it.
    QString LevelLine() const;
    void SetLevelLine(const QString& text);
    // Puts the position of (move, whiteToMove) of the game's history on the board, as Move
    // back and Move forward do (a position before the end reopens a finished game); false
    // when the history has no such position. The move list's walk goes through it.
    bool GoToPosition(int move, bool whiteToMove);
    // Chooses the difficulty by its index (0 "Novice" ... 4 "Master"), as the Play panel's
    // list and Play do: the list, the board's depth and, while the computer plays, the level
    // line.
    void SetDifficulty(int index);

    // The time of day at which the current game started, in the long time format; empty
    // until the first game starts.
    QString GameStartTime;

    // --- Commands (Unit1Flow.cpp) ---------------------------------------------------------
    void SpeedButton1Click();  // "&Play"
    void SpeedButton2Click();  // "&Cancel"
    void SpeedButton3Click();  // "&Exit" of the Play panel
    void SpeedButton4Click();  // "Move back"
    void SpeedButton5Click();  // "Move forward"
    void SpeedButton6Click();  // "-"
    void SpeedButton7Click();  // "X"
    void SpeedButton9Click();  // "Print"
    void SpeedButton10Click(); // "Save game"
    void SpeedButton11Click(); // options "OK"
    void SpeedButton12Click(); // "load a saved game"
    void SpeedButton13Click(); // "New game"
    void SpeedButton14Click(); // "Restart game"
    void SpeedButton15Click(); // "Options"
    void SpeedButton16Click(); // "About the program"
    void SpeedButton17Click(); // "Exit" of the side panel
    void SpeedButton18Click(); // "Help"
    void ComboBox1Change();
    void ComboBox2Change();
    void ComboBox3Change();
    void ComboBox5Change();
    void CheckBox1Click();
    void CheckBox4Click();
    void CheckBox5Click();
    void RadioGroup1Click();
    void Timer1Timer();
    void RefreshMoveList();

    // --- Skins (Unit1Skin.cpp) -------------------------------------------------------------
    void AplicaSkin(int index);

    // --- Board events (Unit1Events.cpp) ----------------------------------------------------
    void ChessBrd1LegalMove();
    void ChessBrd1Capture();
    void ChessBrd1Promotion();
    void ChessBrd1Check();
    void ChessBrd1Mate();
    void ChessBrd1Draw();
    void ChessBrd1IllegalMove();
    // A game that ended by its record, not by the rules: the result on the message line and
    // at the end of the move list ("1-0", "0-1" or "1/2-1/2").
    void ShowRecordedResult(const QString& result);
    // Disables the board panel, as at the end of a game: no move is made on the board until
    // Move back, Restart game or Play.
    void FreezeBoard();
    // The music: action "Play" or "Stop".
    void MIDI(const std::string& file, const std::string& action);
    std::string MusicFile() const;

    // --- Window life (Unit1.cpp) -------------------------------------------------------------
    void FormCreate();
    void FormShow();
    void FormActivate();
    // Writes the settings, destroys the board, hides the window and shows the about window;
    // the close then completes.
    void FormClose();
    // The window's place on a screen of the given size.
    static QPoint PlaceOnScreen(QSize screen, QSize window);

    // --- Settings (Unit1Settings.cpp) ------------------------------------------------------
    bool ReadSettings();  // FormCreate's steps 1 to 8; false when a value was not a number
    bool WriteSettings(); // false when the file could not be written (reported)

    // The radio group's selected index (-1 for none) and its setter.
    int RadioGroup1Index() const;
    void SetRadioGroup1Index(int index);

  signals:
    // A new game has begun on the board (Play, Restart game, or a game put on the board).
    void GameStarted();
    // The game on the board has ended: the result as the move list shows it ("Checkmate!",
    // "The game was a Draw!", or a recorded result such as "White won: 1-0").
    void GameEnded(const QString& result);

  protected:
    void closeEvent(QCloseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

  private:
    void ConnectControls();
    void ConnectBoard();
    void StyleControls();
    void LoadButtonPictures();
    void PlaySound(const char* file, bool synchronous);
    void GameOverSummary(const QString& result);
    void ShowDialog(QDialog* dialog);
    QString LongTime(const QTime& t) const;

    // The components, under their layout names.
    Ui::TForm1 ui;
    TSoundDevice* FSound;
    QPointer<TFrmSobre> FAbout;
    QPointer<TFrmSalvar> FSave;
    QPointer<TFrmAbrir> FOpen;
    QTimer* FTimer1 = nullptr;
    TMoveListWalk* FMoveListWalk = nullptr;
    QList<QAction*> FCommands;
    bool FShown = false;
    bool FActivatedOnce = false;
    bool FClosing = false;
    int FStoredLevel = 1; // "Nivel" as read, given to the board after the reading
};
