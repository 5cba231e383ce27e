#pragma once
// TInfoLine is one of the main window's text lines (the message line, the result and game
// time, the players or level, the clock). Assistive technology reads it under its role and
// its name followed by what it shows ("Message: Check!"); the name is the line's
// accessibleName. A live line also says each new text to the screen reader as it is shown,
// without taking the focus from anything.
//
// setText hides QLabel's: the window sets its lines through the TInfoLine pointers its
// description makes, and so every change is heard.

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

// Assistive technology's view of the program's controls where the toolkit's falls short:
// the text lines above, and combo boxes named after what they choose (accessibleName)
// rather than after the entry they show. Installed once; windows made after it use it.
void InstallAccessibleControls();
