#pragma once

#include <QMenu>

namespace Orza {

/// A context menu of the window's shared actions, showing each by its short title (iconText), since the
/// menu's row already says what it acts on: "Rename…" where the menu bar says "Rename Recipe…". A reader
/// hears each item as it is shown.
class ContextMenu final : public QMenu {
    Q_OBJECT
public:
    explicit ContextMenu(QWidget* parent = nullptr);

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
};

/// The menu of a toolbar item. Toolbar items carry no keys, so its items are stand-ins for the window's actions
/// without their keys, which the same actions show in the menu bar.
class ToolbarMenu final : public QMenu {
    Q_OBJECT
public:
    using QMenu::QMenu;

    /// Adds an item for `source`: it shows its title, follows its state and runs it.
    QAction* addItemFor(QAction* source);
};

} // namespace Orza
