// The program as a screen reader reads it through the toolkit's accessibility interfaces:
// every control of every window named, and distinctly; combo boxes named after what they
// choose with their labels as buddies; Tab in the order of the layout; the message and game
// time lines heard as they change, while the keyboard stays on the board.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <QTextEdit>

#include <memory>

#include "Announcer.h"
#include "AskTheBoard.h"
#include "ChessBrd.h"
#include "ChessBrdAccessible.h"
#include "HelpWindow.h"
#include "InfoLine.h"
#include "MainWindowSupport.h"
#include "PlayOptions.h"
#include "PromotionChooser.h"
#include "Text.h"
#include "TimeFormat.h"
#include "UnSobre.h"
#include "Unit2.h"
#include "Unit3.h"

namespace {

QAccessibleInterface* Face(QObject* o) {
    return QAccessible::queryAccessibleInterface(o);
}

QString Name(QObject* o) {
    QAccessibleInterface* i = Face(o);
    return i != nullptr ? i->text(QAccessible::Name) : QString();
}

bool InsideComboBox(QWidget* w) {
    for (QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget())
        if (qobject_cast<QComboBox*>(p)) return true;
    return false;
}

// The controls a person works or reads in window: buttons, check and radio boxes, combo
// boxes, lists, text areas and the text lines; not the combo boxes' own parts.
QList<QWidget*> Controls(QWidget* window) {
    QList<QWidget*> found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (InsideComboBox(w)) continue;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QAbstractItemView*>(w) || qobject_cast<QTextEdit*>(w) ||
            qobject_cast<TInfoLine*>(w) || qobject_cast<TChessBrd*>(w))
            found << w;
    }
    return found;
}

void ExpectNamedDistinctly(QWidget* window) {
    const QList<QWidget*> controls = Controls(window);
    EXPECT_FALSE(controls.isEmpty()) << window->metaObject()->className();
    QMap<QString, QString> seen;
    for (QWidget* w : controls) {
        const QString what = QString(window->metaObject()->className()) + "/" + w->objectName() +
                             " (" + w->metaObject()->className() + ")";
        const QString name = Name(w);
        EXPECT_FALSE(name.trimmed().isEmpty()) << what.toStdString();
        if (seen.contains(name))
            ADD_FAILURE() << what.toStdString() << " has the name of " << seen[name].toStdString()
                          << ": " << name.toStdString();
        seen[name] = what;
    }
}

// The names of the widgets in window that Tab reaches, in the order Tab reaches them,
// starting from first.
QStringList TabOrder(QWidget* first) {
    QStringList order;
    QWidget* w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->isHidden() && !w->objectName().isEmpty() &&
            !w->objectName().startsWith("qt_"))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first);
    return order;
}

struct TWindow {
    bool App = (EnsureApplication(), true);
    TTempHome Home;
    TRecordingSound Sound;
    TForm1 Form{&Sound};
    // The window's controls, found by their names and typed as the window makes them.
    template <class T> T* Named(const char* name) { return Form.findChild<T*>(name); }
    struct TControls {
        TChessBrd* ChessBrd1;
        QAbstractButton *SpeedButton4, *SpeedButton12, *SpeedButton18;
        QComboBox *ComboBox1, *ComboBox2, *ComboBox4;
        TInfoLine *Label1, *Label2, *Label3, *Label4;
        QLabel *Label5, *Label6;
        QListWidget* ListBox1;
    } ui{Named<TChessBrd>("ChessBrd1"), Named<QAbstractButton>("SpeedButton4"),
         Named<QAbstractButton>("SpeedButton12"), Named<QAbstractButton>("SpeedButton18"),
         Named<QComboBox>("ComboBox1"), Named<QComboBox>("ComboBox2"),
         Named<QComboBox>("ComboBox4"), Named<TInfoLine>("Label1"), Named<TInfoLine>("Label2"),
         Named<TInfoLine>("Label3"), Named<TInfoLine>("Label4"), Named<QLabel>("Label5"),
         Named<QLabel>("Label6"), Named<QListWidget>("ListBox1")};
    TChessBrd* B = ui.ChessBrd1;
    TWindow() {
        InstallPlayOptions(Form);
        B->SetAnimateMoves(false);
    }
    // A new game, White a person and Black the given player, shown with the keyboard on the
    // board.
    bool PlayFromTheBoard(const QString& black) {
        ui.ComboBox1->setCurrentText("Player");
        ui.ComboBox2->setCurrentText(black);
        Form.ComboBox1Change();
        Form.SpeedButton1Click();
        Form.show();
        Form.activateWindow();
        if (!QTest::qWaitForWindowActive(&Form)) return false;
        B->setFocus();
        return true;
    }
};

std::vector<std::pair<QAccessible::Event, QString>> Heard;

void Record(QAccessibleEvent* e) {
    QAccessibleInterface* i = e->accessibleInterface();
    if (i == nullptr) return;
    const QString who =
        i->role() == QAccessible::Notification ? QStringLiteral("notice: ") : QString();
    Heard.emplace_back(e->type(), who + i->text(QAccessible::Name));
}

} // namespace

TEST(Accessibility, EveryControlOfEveryWindowHasItsOwnName) {
    EnsureApplication();
    TWindow main;
    ExpectNamedDistinctly(&main.Form);
    TFrmSalvar save;
    ExpectNamedDistinctly(&save);
    TFrmAbrir open;
    ExpectNamedDistinctly(&open);
    TFrmSobre about;
    ExpectNamedDistinctly(&about);
    HelpWindow help;
    ExpectNamedDistinctly(&help);
    TPromotionChooser chooser(main.B, E8, true);
    ExpectNamedDistinctly(&chooser);

    // The picture buttons are named after their tool tips, the combo boxes after what they
    // choose, whatever entry they show.
    auto& ui = main.ui;
    EXPECT_EQ(Name(ui.SpeedButton4), "Move back");
    EXPECT_EQ(Name(ui.SpeedButton12), "Load a saved game");
    EXPECT_EQ(Face(ui.SpeedButton4)->text(QAccessible::Description),
              "Takes back one half-move (Ctrl+Z)");
    ui.ComboBox2->setCurrentText("Computer");
    ui.ComboBox1->setCurrentText("Computer");
    EXPECT_EQ(Name(ui.ComboBox2), "Black player");
    EXPECT_EQ(Name(ui.ComboBox1), "White player");
    EXPECT_EQ(Face(ui.ComboBox2)->text(QAccessible::Value), "Computer");
    EXPECT_EQ(Face(ui.ComboBox2)->role(), QAccessible::ComboBox);
    ASSERT_EQ(Face(ui.ComboBox2)->childCount(), 1);
    EXPECT_EQ(Face(ui.ComboBox2)->child(0)->object(), ui.ComboBox2->view());
    EXPECT_EQ(Name(ui.ComboBox4), "Difficulty");

    // The lines play their parts: the clock, the message line, the level.
    EXPECT_EQ(Face(ui.Label4)->role(), QAccessible::StaticText);
    EXPECT_EQ(Face(ui.Label1)->role(), QAccessible::StatusBar);
    EXPECT_EQ(Face(ui.Label2)->role(), QAccessible::StaticText);
    EXPECT_EQ(Name(ui.Label1), "Message");
    ui.Label1->setText("Check!");
    EXPECT_EQ(Name(ui.Label1), "Message: Check!");
    EXPECT_EQ(Face(ui.ListBox1)->role(), QAccessible::List);
    EXPECT_EQ(Name(ui.ListBox1), "Moves");
    // A line whose text says what it is is not named twice.
    ui.Label2->setText("Level: Novice");
    EXPECT_EQ(Name(ui.Label2), "Level: Novice");
}

TEST(Accessibility, LabelsAreTheBuddiesOfTheirComboBoxes) {
    TWindow w;
    EXPECT_EQ(w.ui.Label5->buddy(), w.ui.ComboBox2);
    EXPECT_EQ(w.ui.Label6->buddy(), w.ui.ComboBox1);
    const auto labelledBy = [](QWidget* combo) {
        QStringList labels;
        for (const auto& [other, relation] : Face(combo)->relations(QAccessible::Label))
            labels << other->text(QAccessible::Name);
        return labels;
    };
    EXPECT_TRUE(labelledBy(w.ui.ComboBox2).contains("Black"));
    EXPECT_TRUE(labelledBy(w.ui.ComboBox1).contains("White"));
}

TEST(Accessibility, TabFollowsTheLayout) {
    TWindow w;
    EXPECT_EQ(TabOrder(w.ui.SpeedButton18).join(' ').toStdString(),
              QStringList({"SpeedButton18", "SpeedButton6",  "SpeedButton7",  "ChessBrd1",
                           "ComboBox2",     "ComboBox1",     "ComboBox4",     "ComboBox5",
                           "SpeedButton1",  "SpeedButton2",  "SpeedButton3",  "SpeedButton4",
                           "SpeedButton5",  "SpeedButton9",  "SpeedButton15", "SpeedButton16",
                           "ListBox1",      "SpeedButton13", "SpeedButton14", "SpeedButton10",
                           "SpeedButton12", "SpeedButton17", "CheckBox1",     "CheckBox5",
                           "ComboBox3",     "CheckBox3",     "CheckBox4",     "RadioButton1",
                           "RadioButton2",  "SpeedButton11"})
                  .join(' ')
                  .toStdString());
    // Buttons that Tab reaches do not take the focus from the board when clicked.
    EXPECT_EQ(w.ui.SpeedButton4->focusPolicy(), Qt::TabFocus);
    TFrmSalvar save;
    EXPECT_EQ(TabOrder(save.findChild<QWidget*>("ListBox1")),
              QStringList({"ListBox1", "SpeedButton2", "SpeedButton1"}));
    TFrmAbrir open;
    EXPECT_EQ(TabOrder(open.findChild<QWidget*>("ListBox1")),
              QStringList({"ListBox1", "SpeedButton3", "SpeedButton2", "SpeedButton1"}));
}

// A check on the board: the message line says so under its name, the window's notice says it
// to the screen reader, and the keyboard stays on the board. A quiet move after it empties
// the line, which is not announced.
TEST(Accessibility, TheMessageLineIsHeardAsItChanges) {
    TWindow w;
    ASSERT_TRUE(w.PlayFromTheBoard("Player"));
    Heard.clear();
    QStringList focused;
    QObject::connect(qApp, &QApplication::focusChanged, &w.Form,
                     [&focused](QWidget*, QWidget* now) {
                         focused << (now != nullptr ? now->objectName() : QString());
                     });
    TChessBrdAccessible::Listener = &Record;
    for (const char* m : {"e2e4", "f7f5", "d1h5"}) {
        w.B->ActivateSquare(SquareFromText(std::string(m, 2)));
        w.B->ActivateSquare(SquareFromText(std::string(m + 2, 2)));
    }
    TChessBrdAccessible::Listener = nullptr;
    EXPECT_EQ(w.ui.Label1->text(), "Check!");
    const auto heard = [](QAccessible::Event type, const QString& name) {
        for (const auto& [t, n] : Heard)
            if (t == type && n == name) return true;
        return false;
    };
    EXPECT_TRUE(heard(QAccessible::NameChanged, "Message: Check!"));
    EXPECT_TRUE(heard(QAccessible::NameChanged, "notice: Check!"));
    EXPECT_TRUE(w.B->hasFocus());
    EXPECT_EQ(focused, QStringList()) << "the focus went away from the board and back";
    // The last line is selected, not made current: the list would tell assistive technology
    // that its current line has the focus.
    ASSERT_EQ(w.ui.ListBox1->selectedItems().size(), 1);
    EXPECT_EQ(w.ui.ListBox1->selectedItems()[0], w.ui.ListBox1->item(w.ui.ListBox1->count() - 1));
    EXPECT_EQ(w.ui.ListBox1->currentRow(), -1);
    Heard.clear();
    TChessBrdAccessible::Listener = &Record;
    w.B->ActivateSquare(SquareFromText("g7"));
    w.B->ActivateSquare(SquareFromText("g6"));
    TChessBrdAccessible::Listener = nullptr;
    EXPECT_EQ(w.ui.Label1->text(), "");
    EXPECT_TRUE(heard(QAccessible::NameChanged, "Message"));
    EXPECT_FALSE(heard(QAccessible::NameChanged, "notice: "));

    // A mate: the message and the game time at the end, both heard.
    w.Form.SpeedButton14Click();
    w.B->setFocus();
    Heard.clear();
    TChessBrdAccessible::Listener = &Record;
    for (const char* m : {"f2f3", "e7e5", "g2g4", "d8h4"}) {
        w.B->ActivateSquare(SquareFromText(std::string(m, 2)));
        w.B->ActivateSquare(SquareFromText(std::string(m + 2, 2)));
    }
    TChessBrdAccessible::Listener = nullptr;
    EXPECT_EQ(w.ui.Label1->text(), "Checkmate!");
    EXPECT_TRUE(heard(QAccessible::NameChanged, "notice: Checkmate!"));
    EXPECT_TRUE(heard(QAccessible::NameChanged, "notice: " + w.ui.Label3->text()));
    EXPECT_TRUE(w.ui.Label3->text().startsWith("Timer: "));
}

// The computer's move is said to the screen reader as it is made; the person's own move is
// not (the board's description tells it), and neither takes the keyboard from the board.
TEST(Accessibility, TheComputersMoveIsSaidAsItIsMade) {
    TWindow w;
    ASSERT_TRUE(w.PlayFromTheBoard("Computer"));
    Heard.clear();
    TChessBrdAccessible::Listener = &Record;
    w.B->ActivateSquare(SquareFromText("e2"));
    w.B->ActivateSquare(SquareFromText("e4"));
    ASSERT_TRUE(PumpUntil([&] { return w.B->WhiteToMove(); }, 20000));
    TChessBrdAccessible::Listener = nullptr;
    QStringList notices;
    for (const auto& [t, n] : Heard)
        if (t == QAccessible::NameChanged && n.startsWith("notice: ")) notices << n.mid(8);
    ASSERT_EQ(notices.size(), 1) << notices.join(" | ").toStdString();
    EXPECT_EQ(notices[0], w.B->LastMoveInWords());
    EXPECT_TRUE(notices[0].startsWith("Black ")) << notices[0].toStdString();
    EXPECT_TRUE(w.B->hasFocus());
}

TEST(Accessibility, TheBoardsQuestionsAreInTheMenuAndTheClockIsTheGames) {
    TWindow w;
    QAction* ask = PlayCommand(w.Form, "AskTheBoard");
    ASSERT_NE(ask, nullptr);
    ASSERT_NE(ask->menu(), nullptr);
    QStringList said;
    auto before = w.B->OnAnnounce;
    w.B->OnAnnounce = [&said](TChessBrd*, const QString& text) { said << text; };
    QAction* knights = nullptr;
    for (QAction* group : ask->menu()->actions())
        if (group->menu() != nullptr)
            for (QAction* a : group->menu()->actions())
                if (a->text().startsWith("White knights\t")) knights = a;
    ASSERT_NE(knights, nullptr);
    EXPECT_EQ(knights->text(), "White knights\tN");
    knights->trigger();
    EXPECT_EQ(said, QStringList{"white knights: b1, g1"});

    EXPECT_TRUE(w.B->Answer(TBoardQuestion::Clock).startsWith("No game yet"));
    const QString ten = QLocale().toString(QTime(10, 0, 0), LongTimeFormat());
    EXPECT_EQ(GameTimeInWords(ten, QTime(10, 3, 12)), "3 minutes 12 seconds");
    EXPECT_EQ(GameTimeInWords(ten, QTime(11, 0, 1)), "1 hour 0 minutes 1 second");
    const QString late = QLocale().toString(QTime(23, 59, 0), LongTimeFormat());
    EXPECT_EQ(GameTimeInWords(late, QTime(0, 1, 0)), "2 minutes 0 seconds");
    w.Form.GameStartTime = QLocale().toString(QTime::currentTime(), LongTimeFormat());
    EXPECT_TRUE(w.B->Answer(TBoardQuestion::Clock).startsWith("Game time 0 minutes"))
        << w.B->Answer(TBoardQuestion::Clock).toStdString();
}
