#pragma once

#include "Orza/actions/BookActions.h"
#include "Orza/actions/RecipeActions.h"

#include <QObject>
#include <QPointer>

#include <optional>

namespace Orza {

class BookWindow;

/**
 * What a menu bar reads to enable and run its commands: the bundles that its window and that window's
 * recipe pane publish. Without a window, or once the window is gone, both are none. The menus hold no
 * window of their own; they ask here each time they update and again when an item is chosen.
 */
class FocusedValues final : public QObject {
    Q_OBJECT
public:
    explicit FocusedValues(BookWindow* window, QObject* parent = nullptr);

    std::optional<BookActions> bookActions() const;
    std::optional<RecipeActions> recipeActions() const;

signals:
    /// Either bundle may read differently now.
    void changed();

private:
    QPointer<BookWindow> m_window;
};

} // namespace Orza
