#pragma once

#include "Orza/actions/ToolbarItems.h"

#include <QToolBar>

class QMenu;

namespace Orza {

class BookWindow;
class CustomizeToolbarDialog;

/**
 * A book window's toolbar: its items are the window's shared actions (ActionRegistry), so each is enabled,
 * titled and run exactly as the menu item of the same command; the toolbar shows their short titles.
 *
 * Which items it shows, and in which order, and whether it shows at all (View > Hide Toolbar), is the
 * user's choice, kept in settings for all windows; every toolbar follows a change at once.
 */
class BookToolbar final : public QToolBar {
    Q_OBJECT
public:
    explicit BookToolbar(BookWindow& window);

    /// The item's action, whether or not the toolbar shows it now.
    QAction* action(ToolbarItems::Item item) const;
    QMenu* blendMenu() const;
    /// The items shown now, in order.
    std::vector<ToolbarItems::Item> shownItems() const;

    /// Opens the Customize Toolbar dialog over the window.
    CustomizeToolbarDialog* customize();

private:
    void placeItems();
    /// Shown or hidden as the setting says, in every window at once.
    void followShown();
    void updateAccessibleNames();

    BookWindow& m_window;
};

} // namespace Orza
