#include "Orza/widgets/AccessibleComboBox.h"

#include "Orza/platform/AccessibleOwnInterface.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QString>

namespace Orza {

namespace {

constexpr const char* namedProperty = "orzaNamedComboBox";

/// A combo box that is not typed in: named by its accessible name, valued by its current item, with its
/// list as its one child and the actions that open and close it.
class NamedComboBoxInterface final : public QAccessibleWidget {
public:
    explicit NamedComboBoxInterface(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return box()->currentText();
        const QString own = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && own.isEmpty()) return box()->currentText();
        return own;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = box()->view()->isVisible();
        return state;
    }

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == box()->view() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction() << pressAction();
    }
    void doAction(const QString& name) override {
        if (name != showMenuAction() && name != pressAction())
            QAccessibleWidget::doAction(name);
        else if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }
};

QAccessibleInterface* comboBoxFactory(const QString&, QObject* object) {
    auto* box = qobject_cast<QComboBox*>(object);
    if (!box || box->isEditable() || !box->property(namedProperty).toBool()) return nullptr;
    return new NamedComboBoxInterface(box);
}

} // namespace

void setComboBoxName(QComboBox* box, const QString& name) {
    if (!box->property(namedProperty).toBool()) {
        box->setProperty(namedProperty, true);
        useOwnInterface<NamedComboBoxInterface>(box, comboBoxFactory);
    }
    box->setAccessibleName(name);
}

} // namespace Orza
