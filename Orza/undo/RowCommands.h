#pragma once

// Commands that put rows into one of a document's lists, take them out, move them or replace them all.
// `Rows` names the document's Access, the Item and the Owner of the list (the document itself, or the item
// that holds the list), and gives the list (items) and the signals around each change; the book's lists
// are RecipeRows, LineRows, TileRows and MaterialRows (document/BookAccess.h).

#include "Orza/undo/EditCommand.h"
#include "Orza/undo/RowMove.h"

#include <iterator>
#include <utility>
#include <vector>

namespace Orza {

namespace RowEdit {

template <class Rows> using DocumentOf = typename Rows::Access::Document;

template <class Rows>
void insert(DocumentOf<Rows>& document, const typename Rows::Owner& owner, std::size_t first,
            std::vector<typename Rows::Item>& items) {
    auto& list = Rows::items(document, owner);
    const int last = int(first + items.size()) - 1;
    Rows::aboutToInsert(document, owner, int(first), last);
    list.insert(list.begin() + std::ptrdiff_t(first), std::make_move_iterator(items.begin()),
                std::make_move_iterator(items.end()));
    items.clear();
    Rows::inserted(document, owner, int(first), last);
}

template <class Rows>
std::vector<typename Rows::Item> take(DocumentOf<Rows>& document, const typename Rows::Owner& owner, std::size_t first,
                                      std::size_t count) {
    auto& list = Rows::items(document, owner);
    const int last = int(first + count) - 1;
    Rows::aboutToRemove(document, owner, int(first), last);
    const auto begin = list.begin() + std::ptrdiff_t(first);
    std::vector<typename Rows::Item> taken(std::make_move_iterator(begin),
                                           std::make_move_iterator(begin + std::ptrdiff_t(count)));
    list.erase(begin, begin + std::ptrdiff_t(count));
    Rows::removed(document, owner, int(first), last);
    return taken;
}

/// Runs of consecutive positions in an ascending list: (first, count) pairs.
inline std::vector<std::pair<std::size_t, std::size_t>> runs(const std::vector<std::size_t>& positions) {
    std::vector<std::pair<std::size_t, std::size_t>> result;
    for (const std::size_t position : positions) {
        if (!result.empty() && result.back().first + result.back().second == position)
            ++result.back().second;
        else
            result.emplace_back(position, 1);
    }
    return result;
}

} // namespace RowEdit

/// Puts a block of items in at one position; undo takes them out again.
template <class Rows> class InsertRows final : public EditCommand<typename Rows::Access> {
public:
    InsertRows(RowEdit::DocumentOf<Rows>& document, typename Rows::Owner owner, std::size_t first,
               std::vector<typename Rows::Item> items, const QString& text, QUndoCommand* parent)
        : EditCommand<typename Rows::Access>(document, text, parent), m_owner(std::move(owner)), m_first(first),
          m_count(items.size()), m_held(std::move(items)) {}

private:
    void apply() override { RowEdit::insert<Rows>(this->document(), m_owner, m_first, m_held); }
    void revert() override { m_held = RowEdit::take<Rows>(this->document(), m_owner, m_first, m_count); }

    typename Rows::Owner m_owner;
    std::size_t m_first;
    std::size_t m_count;
    std::vector<typename Rows::Item> m_held; // while the items are out of the book
};

/// Takes out the items at the given positions (ascending) and puts them back in place on undo.
template <class Rows> class RemoveRows final : public EditCommand<typename Rows::Access> {
public:
    RemoveRows(RowEdit::DocumentOf<Rows>& document, typename Rows::Owner owner,
               const std::vector<std::size_t>& positions, const QString& text, QUndoCommand* parent)
        : EditCommand<typename Rows::Access>(document, text, parent), m_owner(std::move(owner)),
          m_runs(RowEdit::runs(positions)), m_held(m_runs.size()) {}

private:
    void apply() override {
        // From the back, so the positions still to take stay where they were.
        for (std::size_t j = m_runs.size(); j-- > 0;)
            m_held[j] = RowEdit::take<Rows>(this->document(), m_owner, m_runs[j].first, m_runs[j].second);
    }
    void revert() override {
        for (std::size_t j = 0; j < m_runs.size(); ++j)
            RowEdit::insert<Rows>(this->document(), m_owner, m_runs[j].first, m_held[j]);
    }

    typename Rows::Owner m_owner;
    std::vector<std::pair<std::size_t, std::size_t>> m_runs;
    std::vector<std::vector<typename Rows::Item>> m_held;
};

template <class Rows> class MoveRows final : public EditCommand<typename Rows::Access> {
public:
    MoveRows(RowEdit::DocumentOf<Rows>& document, typename Rows::Owner owner, RowMove move, const QString& text,
             QUndoCommand* parent)
        : EditCommand<typename Rows::Access>(document, text, parent), m_owner(std::move(owner)),
          m_move(std::move(move)) {}

private:
    void apply() override { run(false); }
    void revert() override { run(true); }
    void run(bool reversed) {
        Rows::aboutToMove(this->document(), m_owner);
        auto& list = Rows::items(this->document(), m_owner);
        if (reversed)
            m_move.revert(list);
        else
            m_move.apply(list);
        Rows::moved(this->document(), m_owner, m_move, reversed);
    }

    typename Rows::Owner m_owner;
    RowMove m_move;
};

/// Replaces the whole list; undo and redo are the same swap.
template <class Rows> class ReplaceRows final : public EditCommand<typename Rows::Access> {
public:
    ReplaceRows(RowEdit::DocumentOf<Rows>& document, typename Rows::Owner owner, std::vector<typename Rows::Item> items,
                const QString& text, QUndoCommand* parent)
        : EditCommand<typename Rows::Access>(document, text, parent), m_owner(std::move(owner)),
          m_other(std::move(items)) {}

private:
    void apply() override { swap(); }
    void revert() override { swap(); }
    void swap() {
        Rows::aboutToReset(this->document(), m_owner);
        std::swap(Rows::items(this->document(), m_owner), m_other);
        Rows::wasReset(this->document(), m_owner);
    }

    typename Rows::Owner m_owner;
    std::vector<typename Rows::Item> m_other;
};

} // namespace Orza
