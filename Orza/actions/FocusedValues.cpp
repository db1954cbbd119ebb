#include "Orza/actions/FocusedValues.h"

#include "Orza/window/BookWindow.h"

namespace Orza {

FocusedValues::FocusedValues(BookWindow* window, QObject* parent) : QObject(parent), m_window(window) {
    if (!window) return;
    connect(window, &BookWindow::bookActionsChanged, this, &FocusedValues::changed);
    connect(window, &BookWindow::recipeActionsChanged, this, &FocusedValues::changed);
}

std::optional<BookActions> FocusedValues::bookActions() const {
    return m_window ? m_window->bookActions() : std::nullopt;
}

std::optional<RecipeActions> FocusedValues::recipeActions() const {
    return m_window ? m_window->recipeActions() : std::nullopt;
}

} // namespace Orza
