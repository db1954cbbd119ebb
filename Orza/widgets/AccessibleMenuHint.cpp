#include "Orza/widgets/AccessibleMenuHint.h"

#include "Orza/platform/AccessibleOwnInterface.h"

#include <QAccessibleObject>
#include <QAction>
#include <QActionEvent>
#include <QMenu>
#include <QStyle>

namespace Orza {

namespace {

constexpr const char* hintProperty = "orzaReadStatusTip";
constexpr const char* shortTitlesProperty = "orzaMenuShortTitles";

/// A title without its mnemonic mark: "&Help" reads "Help", "Salt && Pepper" reads "Salt & Pepper".
QString withoutMnemonic(const QString& title) {
    QString plain;
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title.at(i) == QLatin1Char('&') && i + 1 < title.size()) ++i;
        plain += title.at(i);
    }
    return plain;
}

/// The open menu that shows the action, else the first that holds it; none outside menus.
QMenu* menuHolding(const QAction* action) {
    QMenu* first = nullptr;
    for (QObject* holder : action->associatedObjects()) {
        auto* menu = qobject_cast<QMenu*>(holder);
        if (menu && menu->isVisible()) return menu;
        if (menu && !first) first = menu;
    }
    return first;
}

/// An item of a popup menu, read by its title with the action's status tip as its description.
class HintedMenuItem final : public QAccessibleObject, public QAccessibleActionInterface {
public:
    explicit HintedMenuItem(QAction* action) : QAccessibleObject(action) {}

    QAction* action() const { return static_cast<QAction*>(object()); }
    QMenu* owner() const { return menuHolding(action()); }
    /// The title the owning menu draws.
    QString shownTitle() const {
        QMenu* menu = owner();
        if (menu && menu->property(shortTitlesProperty).toBool()) return action()->iconText();
        return withoutMnemonic(action()->text());
    }

    bool isValid() const override { return QAccessibleObject::isValid() && owner(); }
    QWindow* window() const override { return owner() ? owner()->windowHandle() : nullptr; }
    QAccessible::Role role() const override {
        return action()->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
    }
    QString text(QAccessible::Text kind) const override {
        switch (kind) {
        case QAccessible::Name:
            return shownTitle();
        case QAccessible::Description:
            return action()->statusTip();
        case QAccessible::Accelerator:
            if (!action()->shortcut().isEmpty()) return action()->shortcut().toString(QKeySequence::NativeText);
            return QKeySequence::mnemonic(action()->text()).toString(QKeySequence::NativeText);
        default:
            return {};
        }
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        QMenu* menu = owner();
        state.invisible = !menu || !menu->isVisible() || !action()->isVisible();
        state.focused = menu && menu->activeAction() == action();
        state.hotTracked = menu && menu->style()->styleHint(QStyle::SH_Menu_MouseTracking, nullptr, menu);
        state.disabled = action()->isSeparator() || !action()->isEnabled();
        state.checkable = action()->isCheckable();
        state.checked = action()->isChecked();
        return state;
    }
    QRect rect() const override {
        QMenu* menu = owner();
        if (!menu) return {};
        const QRect area = menu->actionGeometry(action());
        return {menu->mapToGlobal(area.topLeft()), area.size()};
    }

    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(owner()); }
    int childCount() const override { return action()->menu() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && action()->menu() ? QAccessible::queryAccessibleInterface(action()->menu()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && action()->menu() && child->object() == action()->menu() ? 0 : -1;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return QAccessibleObject::interface_cast(type);
    }
    QStringList actionNames() const override {
        if (action()->isSeparator()) return {};
        return {action()->menu() ? showMenuAction() : pressAction()};
    }
    void doAction(const QString& name) override {
        if (!action()->isEnabled()) return;
        if (name == pressAction())
            action()->trigger();
        else if (QMenu* menu = owner(); name == showMenuAction() && menu)
            menu->setActiveAction(action());
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name != pressAction() || action()->shortcut().isEmpty()) return {};
        return {action()->shortcut().toString(QKeySequence::NativeText)};
    }
};

QAccessibleInterface* hintFactory(const QString&, QObject* object) {
    auto* action = qobject_cast<QAction*>(object);
    // Outside a menu Qt reads nothing of an action either.
    if (!action || !action->property(hintProperty).toBool() || !menuHolding(action)) return nullptr;
    return new HintedMenuItem(action);
}

/// Marks each action as it joins the menu.
class ItemMarker final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ActionAdded) readStatusTipInMenus(static_cast<QActionEvent*>(event)->action());
        return false;
    }
};

} // namespace

void readStatusTipInMenus(QAction* action) {
    if (action->property(hintProperty).toBool()) return;
    action->setProperty(hintProperty, true);
    useOwnInterface<HintedMenuItem>(action, hintFactory);
}

void readShortTitlesInMenu(QMenu* menu) {
    if (menu->property(shortTitlesProperty).toBool()) return;
    menu->setProperty(shortTitlesProperty, true);
    for (QAction* action : menu->actions())
        readStatusTipInMenus(action);
    menu->installEventFilter(new ItemMarker(menu));
}

} // namespace Orza
