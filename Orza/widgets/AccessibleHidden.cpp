#include "Orza/widgets/AccessibleHidden.h"

#include "Orza/platform/AccessibleOwnInterface.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace Orza {

namespace {

constexpr const char* hiddenProperty = "orzaAccessibleHidden";

/// Reports the widget as invisible and nameless, which screen readers skip.
class HiddenInterface final : public QAccessibleWidget {
public:
    explicit HiddenInterface(QWidget* widget) : QAccessibleWidget(widget, QAccessible::NoRole) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        state.focusable = false;
        return state;
    }
    QString text(QAccessible::Text) const override { return {}; }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
};

QAccessibleInterface* hiddenFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->property(hiddenProperty).toBool()) return nullptr;
    return new HiddenInterface(widget);
}

} // namespace

void hideFromAccessibility(QWidget* widget, bool hidden) {
    if (widget->property(hiddenProperty).toBool() == hidden) return;
    widget->setProperty(hiddenProperty, hidden);
    // A label's first text or name made Qt's own interface already, reader or not; it is swapped either way.
    if (hidden) {
        useOwnInterface<HiddenInterface>(widget, hiddenFactory);
        return;
    }
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget);
        dynamic_cast<HiddenInterface*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

bool isHiddenFromAccessibility(const QWidget* widget) {
    return widget->property(hiddenProperty).toBool();
}

} // namespace Orza
