#include "Orza/undo/RowMove.h"

#include <algorithm>

namespace Orza {

RowMove RowMove::make(std::vector<std::size_t> rows, std::size_t destination, std::size_t size) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::lower_bound(rows.begin(), rows.end(), size), rows.end());
    return {std::move(rows), std::min(destination, size)};
}

std::size_t RowMove::start() const {
    const auto before = std::lower_bound(rows.begin(), rows.end(), destination) - rows.begin();
    return destination - static_cast<std::size_t>(before);
}

bool RowMove::isNoOp() const {
    const std::size_t first = start();
    for (std::size_t j = 0; j < rows.size(); ++j)
        if (rows[j] != first + j) return false;
    return true;
}

std::size_t RowMove::newRow(std::size_t oldRow) const {
    const auto found = std::lower_bound(rows.begin(), rows.end(), oldRow);
    const auto movedBefore = static_cast<std::size_t>(found - rows.begin());
    if (found != rows.end() && *found == oldRow) return start() + movedBefore;
    const std::size_t amongOthers = oldRow - movedBefore;
    return amongOthers < start() ? amongOthers : amongOthers + rows.size();
}

std::size_t RowMove::oldRow(std::size_t newRow) const {
    const std::size_t first = start();
    if (newRow >= first && newRow < first + rows.size()) return rows[newRow - first];
    std::size_t old = newRow < first ? newRow : newRow - rows.size();
    // `old` counts unmoved rows; step over every moved row that stood at or before it.
    for (const std::size_t row : rows) {
        if (row > old) break;
        ++old;
    }
    return old;
}

} // namespace Orza
