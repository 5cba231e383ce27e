#include "Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "ChessBrdAccessible.h"

namespace {

class TAnnouncerAccessible : public QAccessibleWidget {
  public:
    explicit TAnnouncerAccessible(TAnnouncer* w)
        : QAccessibleWidget(w, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return static_cast<TAnnouncer*>(widget())->Text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* AnnouncerFactory(const QString& key, QObject* object) {
    if (key == QLatin1String("TAnnouncer") && object != nullptr && object->isWidgetType())
        return new TAnnouncerAccessible(static_cast<TAnnouncer*>(object));
    return nullptr;
}

} // namespace

TAnnouncer::TAnnouncer(QWidget* window) : QWidget(window) {
    static const bool installed = (QAccessible::installFactory(&AnnouncerFactory), true);
    (void)installed;
    setObjectName(QStringLiteral("Announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
    show();
}

TAnnouncer* TAnnouncer::Of(QWidget* window) {
    if (window == nullptr) return nullptr;
    auto* a = window->findChild<TAnnouncer*>(QString(), Qt::FindDirectChildrenOnly);
    return a != nullptr ? a : new TAnnouncer(window);
}

void TAnnouncer::Say(QWidget* from, const QString& text) {
    if (from == nullptr || text.isEmpty()) return;
    if (TAnnouncer* a = Of(from->window())) a->Tell(text);
}

void TAnnouncer::Tell(const QString& text) {
    // Hidden and shown again: a screen reader speaks a notice as it appears, also when its
    // phrase is the same as the last one.
    FText = text;
    if (!TChessBrdAccessible::Listened()) return;
    hide();
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    TChessBrdAccessible::Tell(renamed);
    show();
}
