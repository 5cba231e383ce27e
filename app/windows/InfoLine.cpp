#include "InfoLine.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

#include "Announcer.h"
#include "ChessBrdAccessible.h"

namespace {

class TInfoLineAccessible : public QAccessibleWidget {
  public:
    explicit TInfoLineAccessible(TInfoLine* w)
        : QAccessibleWidget(w, QAccessible::Role(w->AccessibleRole())) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return static_cast<TInfoLine*>(widget())->SpokenName();
        return QAccessibleWidget::text(t);
    }
};

// A combo box whose name is its accessibleName (or its buddy label's text), its value the
// entry it shows, and its one child the list it drops down.
class TNamedComboAccessible : public QAccessibleWidget {
  public:
    explicit TNamedComboAccessible(QComboBox* w) : QAccessibleWidget(w, QAccessible::ComboBox) {}
    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Combo()->currentText();
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(Combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == Combo()->view() ? 0 : -1;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = Combo()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction())
            Combo()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* Factory(const QString& key, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) return nullptr;
    if (key == QLatin1String("TInfoLine"))
        return new TInfoLineAccessible(static_cast<TInfoLine*>(object));
    if (key == QLatin1String("TChoiceBox"))
        return new TNamedComboAccessible(static_cast<QComboBox*>(object));
    return nullptr;
}

} // namespace

TInfoLine::TInfoLine(QWidget* parent) : QLabel(parent), FRole(QAccessible::StaticText) {
    InstallAccessibleControls();
}

TChoiceBox::TChoiceBox(QWidget* parent) : QComboBox(parent) {
    InstallAccessibleControls();
}

QString TInfoLine::SpokenName() const {
    const QString name = accessibleName();
    if (text().isEmpty()) return name;
    // A text that says what it is ("Level: Novice") is not named twice.
    if (name.isEmpty() || text().startsWith(name, Qt::CaseInsensitive)) return text();
    return name + QStringLiteral(": ") + text();
}

void TInfoLine::setText(const QString& text) {
    if (text == QLabel::text()) return;
    QLabel::setText(text);
    if (!TChessBrdAccessible::Listened()) return;
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    TChessBrdAccessible::Tell(renamed);
    if (FLive) TAnnouncer::Say(this, text);
}

void InstallAccessibleControls() {
    static const bool installed = (QAccessible::installFactory(&Factory), true);
    (void)installed;
}
