#pragma once

#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

namespace Orza {

/**
 * Moving a set of rows of a list to one insertion point, as dragging rows in a list does: the moved rows
 * keep their order and land together before `destination` (a position in the list before the move);
 * the other rows keep theirs. The inverse puts every moved row back where it came from.
 *
 * Both directions run in one pass over the list and move elements, never copy them.
 */
struct RowMove {
    std::vector<std::size_t> rows; // sorted, unique positions before the move
    std::size_t destination = 0;

    /// Sorts and de-duplicates the rows and drops those at or past `size`; the destination is clamped.
    static RowMove make(std::vector<std::size_t> rows, std::size_t destination, std::size_t size);

    /// Where the first moved row stands after the move.
    std::size_t start() const;
    /// True when the move would leave the list as it is.
    bool isNoOp() const;
    /// The position after the move of the row at `oldRow` before it.
    std::size_t newRow(std::size_t oldRow) const;
    /// The position before the move of the row at `newRow` after it.
    std::size_t oldRow(std::size_t newRow) const;

    template <class T> void apply(std::vector<T>& list) const;
    template <class T> void revert(std::vector<T>& list) const;
};

template <class T> void RowMove::apply(std::vector<T>& list) const {
    std::vector<T> moved;
    std::vector<T> others;
    moved.reserve(rows.size());
    others.reserve(list.size() - rows.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (next < rows.size() && rows[next] == i) {
            moved.push_back(std::move(list[i]));
            ++next;
        } else {
            others.push_back(std::move(list[i]));
        }
    }
    const auto at = others.begin() + static_cast<std::ptrdiff_t>(start());
    others.insert(at, std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
    list = std::move(others);
}

template <class T> void RowMove::revert(std::vector<T>& list) const {
    const std::size_t first = start();
    const std::size_t count = rows.size();
    std::vector<T> result;
    result.reserve(list.size());
    std::size_t next = 0;  // next moved row to put back
    std::size_t other = 0; // next unmoved element, skipping the moved block
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (next < count && rows[next] == i) {
            result.push_back(std::move(list[first + next]));
            ++next;
        } else {
            if (other == first) other += count;
            result.push_back(std::move(list[other]));
            ++other;
        }
    }
    list = std::move(result);
}

} // namespace Orza
