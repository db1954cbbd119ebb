#include "Orza/window/BookToolbar.h"

#include "Orza/actions/ActionRegistry.h"
#include "Orza/resources/Resources.h"
#include "Orza/settings/Settings.h"
#include "Orza/widgets/ThemedIcon.h"
#include "Orza/window/BookWindow.h"
#include "Orza/window/CustomizeToolbarDialog.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace Orza {

using ToolbarItems::Item;

BookToolbar::BookToolbar(BookWindow& window) : QToolBar(tr("Toolbar"), &window), m_window(window) {
    ensureResources();
    setObjectName(QStringLiteral("orza.book.toolbar"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(18, 18));
    toggleViewAction()->setVisible(false);
    for (const Item item : ToolbarItems::all()) {
        QAction* itemAction = action(item);
        itemAction->setIcon(ThemedIcon::symbol(ToolbarItems::symbol(item)));
        itemAction->setIconVisibleInMenu(false);
    }
    placeItems();

    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        connect(menu->addAction(tr("Customize Toolbar\u2026")), &QAction::triggered, this, &BookToolbar::customize);
        menu->popup(mapToGlobal(position));
    });

    connect(&Settings::instance(), &Settings::changed, this, [this](Settings::Key key) {
        if (key == Settings::Key::bookToolbar) placeItems();
        if (key == Settings::Key::bookToolbarShown) followShown();
    });
    ActionRegistry* actions = window.actions();
    const auto shown = [] { return Settings::instance().boolValue(Settings::Key::bookToolbarShown); };
    actions->setHandler(this, Command::toggleToolbar,
                        {[shown] { Settings::instance().set(Settings::Key::bookToolbarShown, !shown()); }, {}, shown});
    actions->setHandler(this, Command::customizeToolbar, {[this] { customize(); }});
    followShown();
    connect(window.actions(), &ActionRegistry::updated, this, &BookToolbar::updateAccessibleNames);
}

QAction* BookToolbar::action(Item item) const {
    return m_window.actions()->action(ToolbarItems::command(item));
}

QMenu* BookToolbar::blendMenu() const {
    return action(Item::blend)->menu();
}

void BookToolbar::placeItems() {
    clear();
    for (const Item item : ToolbarItems::shown()) {
        QAction* itemAction = action(item);
        addAction(itemAction);
        auto* button = qobject_cast<QToolButton*>(widgetForAction(itemAction));
        if (!button) continue;
        button->setObjectName(ToolbarItems::identifier(item));
        button->setToolButtonStyle(ToolbarItems::showsTitle(item) ? Qt::ToolButtonTextBesideIcon
                                                                  : Qt::ToolButtonIconOnly);
        if (item == Item::blend) button->setPopupMode(QToolButton::InstantPopup);
    }
    updateAccessibleNames();
}

std::vector<Item> BookToolbar::shownItems() const {
    std::vector<Item> items;
    for (QAction* shown : actions())
        if (QWidget* button = widgetForAction(shown))
            if (const auto item = ToolbarItems::fromIdentifier(button->objectName())) items.push_back(*item);
    return items;
}

void BookToolbar::updateAccessibleNames() {
    const bool chemistryShown = m_window.actions()->chemistryShown();
    for (const Item item : ToolbarItems::shown())
        if (QWidget* button = widgetForAction(action(item)))
            button->setAccessibleName(ToolbarItems::accessibleName(item, chemistryShown));
}

void BookToolbar::followShown() {
    const bool shown = Settings::instance().boolValue(Settings::Key::bookToolbarShown);
    setVisible(shown);
    m_window.actions()->update(); // the command's title follows
}

CustomizeToolbarDialog* BookToolbar::customize() {
    auto* dialog = new CustomizeToolbarDialog(&m_window);
    dialog->open();
    return dialog;
}

} // namespace Orza
