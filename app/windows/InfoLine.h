#pragma once
// The main window's controls as assistive technology sees them, where the toolkit's view
// falls short.
//
// TInfoLine is one of the main window's text lines (the message line, the result and game
// time, the players or level, the clock). Assistive technology reads it under its role and
// its name followed by what it shows ("Message: Check!"); the name is the line's
// accessibleName. A live line also says each new text to the screen reader as it is shown,
// without taking the focus from anything.
//
// setText and clear hide QLabel's: the window sets its lines through the TInfoLine pointers
// its description makes, and so every change is heard.

#include <QComboBox>
#include <QLabel>

class TInfoLine : public QLabel {
    Q_OBJECT
    // Whether each new text is announced.
    Q_PROPERTY(bool Live READ Live WRITE SetLive)
    // The accessible role the line plays (QAccessible::Role), StaticText by default.
    Q_PROPERTY(int AccessibleRole READ AccessibleRole WRITE SetAccessibleRole)

  public:
    explicit TInfoLine(QWidget* parent = nullptr);
    void setText(const QString& text);
    void clear() { setText(QString()); }
    bool Live() const { return FLive; }
    void SetLive(bool v) { FLive = v; }
    int AccessibleRole() const { return FRole; }
    void SetAccessibleRole(int v) { FRole = v; }
    // What assistive technology hears as the line's name.
    QString SpokenName() const;

  private:
    bool FLive = false;
    int FRole;
};

// A combo box that assistive technology names after what it chooses (its accessibleName,
// else its buddy label), with the entry it shows as its value. The toolkit's own view
// names a combo box after the entry it shows.
class TChoiceBox : public QComboBox {
    Q_OBJECT

  public:
    explicit TChoiceBox(QWidget* parent = nullptr);
};

// Assistive technology's view of the two kinds above; installed once, by the first of them.
void InstallAccessibleControls();
