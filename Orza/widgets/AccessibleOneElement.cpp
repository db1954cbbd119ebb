#include "Orza/widgets/AccessibleOneElement.h"

#include "Orza/platform/AccessibleOwnInterface.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace Orza {

namespace {

constexpr const char* roleProperty = "orzaAccessibleRole";
constexpr const char* aloneProperty = "orzaAccessibleAlone";

class RoleInterface final : public QAccessibleWidget {
public:
    RoleInterface(QWidget* widget, QAccessible::Role role, bool alone)
        : QAccessibleWidget(widget, role), m_alone(alone) {}

    int childCount() const override { return m_alone ? 0 : QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override {
        return m_alone ? nullptr : QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return m_alone ? -1 : QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        return m_alone ? nullptr : QAccessibleWidget::childAt(x, y);
    }

private:
    bool m_alone;
};

QAccessibleInterface* roleFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->property(roleProperty).isValid()) return nullptr;
    return new RoleInterface(widget, QAccessible::Role(widget->property(roleProperty).toInt()),
                             widget->property(aloneProperty).toBool());
}

void useRole(QWidget* widget, QAccessible::Role role, bool alone) {
    widget->setProperty(roleProperty, int(role));
    widget->setProperty(aloneProperty, alone);
    // An interface made before, by Qt or with other settings, is made again from the new ones.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    useOwnInterface<RoleInterface>(widget, roleFactory);
}

} // namespace

void readAsOneElement(QWidget* widget, QAccessible::Role role) {
    useRole(widget, role, true);
}

void giveAccessibleRole(QWidget* widget, QAccessible::Role role) {
    useRole(widget, role, false);
}

} // namespace Orza
