#include "Orza/widgets/AccessibleHidden.h"

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
    static const bool installed = (QAccessible::installFactory(hiddenFactory), true);
    (void)installed;
    if (widget->property(hiddenProperty).toBool() == hidden) return;
    widget->setProperty(hiddenProperty, hidden);
    // Drop an interface made before the change, so the next query reaches the factory. Interfaces are made
    // only on request, so there is none to drop while no assistive tool has asked.
    if (!QAccessible::isActive()) return;
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget);
        made && made->state().invisible != hidden)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

bool isHiddenFromAccessibility(const QWidget* widget) {
    return widget->property(hiddenProperty).toBool();
}

} // namespace Orza
