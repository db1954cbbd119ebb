#include "Orza/platform/AccessiblePopup.h"

#include "Orza/platform/AccessibleOwnInterface.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace Orza {

namespace {

constexpr const char* popupProperty = "orzaAccessiblePopup";
constexpr const char* beneathProperty = "orzaAccessibleBeneathPopup";

bool isExposedPopup(const QWidget* widget) {
    return widget && widget->isWindow() && widget->property(popupProperty).toBool();
}

/// The exposed popups shown now, in the order they were made.
QWidgetList shownPopups() {
    QWidgetList shown;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (isExposedPopup(widget) && widget->isVisible()) shown << widget;
    return shown;
}

/// The window a popup opens over: the one its parent lies in.
QWidget* windowBeneath(const QWidget* popup) {
    return popup->parentWidget() ? popup->parentWidget()->window() : nullptr;
}

/// The application with its shown popups after its other windows, and the focus in the popup on top.
class ApplicationInterface final : public QAccessibleApplication {
public:
    int childCount() const override { return QAccessibleApplication::childCount() + int(shownPopups().size()); }
    QAccessibleInterface* child(int index) const override {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows) return QAccessibleApplication::child(index);
        const QWidgetList popups = shownPopups();
        return index - windows < popups.size() ? QAccessible::queryAccessibleInterface(popups.at(index - windows))
                                               : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const int index = QAccessibleApplication::indexOfChild(child);
        if (index >= 0 || !child) return index;
        const auto popup = shownPopups().indexOf(qobject_cast<QWidget*>(child->object()));
        return popup < 0 ? -1 : QAccessibleApplication::childCount() + int(popup);
    }
    QAccessibleInterface* focusChild() const override {
        // A popup takes the keyboard without becoming the focus window.
        if (QWidget* popup = QApplication::activePopupWidget(); isExposedPopup(popup))
            return QAccessible::queryAccessibleInterface(popup);
        return QAccessibleApplication::focusChild();
    }
};

/// A popup read as a window: active while it is shown, its parent the application.
class PopupInterface final : public QAccessibleWidget {
public:
    explicit PopupInterface(QWidget* popup) : QAccessibleWidget(popup, QAccessible::Window) {}

    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(qApp); }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.active = widget()->isVisible();
        return state;
    }
};

/// A window that a popup opens over, read in its own role: not active while the popup holds the keyboard, so
/// that a reader finds one active window, the popup.
class BeneathPopupInterface final : public QAccessibleWidget {
public:
    BeneathPopupInterface(QWidget* window, QAccessible::Role role) : QAccessibleWidget(window, role) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        for (const QWidget* popup : shownPopups())
            if (windowBeneath(popup) == widget()) state.active = false;
        return state;
    }
};

QAccessibleInterface* applicationFactory(const QString&, QObject* object) {
    return object && object == qApp ? new ApplicationInterface : nullptr;
}

QAccessibleInterface* popupFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    return isExposedPopup(widget) ? new PopupInterface(widget) : nullptr;
}

QAccessibleInterface* beneathFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    const QVariant role = widget ? widget->property(beneathProperty) : QVariant();
    return role.isValid() ? new BeneathPopupInterface(widget, QAccessible::Role(role.toInt())) : nullptr;
}

/// Reads `window` as not active while a popup is open over it, in the role it had.
void readBeneathPopups(QWidget* window) {
    if (!window || window->property(beneathProperty).isValid()) return;
    const QAccessibleInterface* made = QAccessible::queryAccessibleInterface(window);
    window->setProperty(beneathProperty, int(made ? made->role() : QAccessible::Window));
    useOwnInterface<BeneathPopupInterface>(window, beneathFactory);
}

void announceActivation(QWidget* window) {
    QAccessible::State changed;
    changed.active = true;
    QAccessibleStateChangeEvent activation(window, changed);
    QAccessible::updateAccessibility(&activation);
}

/// Tells a reader that the popup opened, with the focus in it, or closed.
class PopupAnnouncer final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show && event->type() != QEvent::Hide) return false;
        auto* popup = static_cast<QWidget*>(watched);
        // The window beneath gives up being active to the popup, and takes it back.
        if (QWidget* beneath = windowBeneath(popup)) {
            readBeneathPopups(beneath);
            announceActivation(beneath);
        }
        announceActivation(popup);
        // The popup's children took the focus while it was being shown, before the window was activated.
        if (QWidget* focus = popup->focusWidget(); focus && event->type() == QEvent::Show) {
            QAccessibleEvent focused(focus, QAccessible::Focus);
            QAccessible::updateAccessibility(&focused);
        }
        return false;
    }
};

} // namespace

void exposePopupAsWindow(QWidget* popup) {
    if (popup->property(popupProperty).toBool()) return;
    popup->setProperty(popupProperty, true);
    useOwnInterface<ApplicationInterface>(qApp, applicationFactory);
    useOwnInterface<PopupInterface>(popup, popupFactory);
    // Marked before the popup first shows, so a reader holds the window's interface from then on.
    readBeneathPopups(windowBeneath(popup));
    popup->installEventFilter(new PopupAnnouncer(popup));
}

} // namespace Orza
