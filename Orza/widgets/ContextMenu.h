#pragma once

#include <QMenu>

namespace Orza {

/// A context menu of the window's shared actions, showing each by its short title (iconText), since the
/// menu's row already says what it acts on: "Rename…" where the menu bar says "Rename Recipe…".
class ContextMenu final : public QMenu {
    Q_OBJECT
public:
    using QMenu::QMenu;

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
};

} // namespace Orza
