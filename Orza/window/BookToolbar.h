#pragma once

#include "Orza/window/ToolbarItems.h"

#include <QToolBar>

#include <array>

class QMenu;

namespace Orza {

class BookWindow;
class CustomizeToolbarDialog;

/**
 * A book window's toolbar. A thin layer: each item calls a window action, flips the window's stored
 * showChemistry flag, or writes a request into the WindowModel for the pane that owns the sheet.
 *
 * Which items it shows, and in which order, is the user's choice, kept in one setting for all windows;
 * every toolbar follows a change at once. Enabled states and the chemistry item's texts are worked out
 * again whenever the selection, the book's recipes or the flag change.
 */
class BookToolbar final : public QToolBar {
    Q_OBJECT
public:
    explicit BookToolbar(BookWindow& window);

    /// The item's action, whether or not the toolbar shows it now.
    QAction* action(ToolbarItems::Item item) const { return m_actions[std::size_t(item)]; }
    QMenu* blendMenu() const { return m_blendMenu; }
    /// The items shown now, in order.
    std::vector<ToolbarItems::Item> shownItems() const;

    /// Opens the Customize Toolbar dialog over the window.
    CustomizeToolbarDialog* customize();

private:
    void makeActions();
    void placeItems();
    void updateStates();
    void run(ToolbarItems::Item item);
    bool hasSelectedRecipe() const;

    BookWindow& m_window;
    std::array<QAction*, 7> m_actions{};
    QMenu* m_blendMenu = nullptr;
};

} // namespace Orza
