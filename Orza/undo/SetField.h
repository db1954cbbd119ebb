#pragma once

#include "Orza/undo/EditCommand.h"

#include <optional>
#include <utility>

namespace Orza {

/**
 * Sets one field of one item, found by its key (ids) whenever it runs. Holds the value that is not in the
 * book right now, so redo and undo are the same swap.
 *
 * Consecutive edits of the same field of the same item in one typing burst merge: the step keeps the value
 * from before the burst, and a step whose value is back where it began is dropped.
 *
 * `Field` gives the document's Access, the Key and Value types, the command id, how to read and exchange the
 * value, and what to tell the document's listeners (changed); the book's fields are in document/BookFields.h.
 */
template <class Field> class SetField final : public EditCommand<typename Field::Access> {
public:
    using Document = typename Field::Access::Document;
    using Key = typename Field::Key;
    using Value = typename Field::Value;

    SetField(Document& document, Key key, Value newValue, quint64 burst, QUndoCommand* parent)
        : EditCommand<typename Field::Access>(document, Field::label(), parent), m_key(std::move(key)),
          m_other(std::move(newValue)), m_burst(burst) {}

    int id() const override { return int(Field::commandId); }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const SetField*>(other); // ids are unique per field
        if (next->m_burst != m_burst || !(next->m_key == m_key)) return false;
        // The book holds the newest value already; this step keeps the oldest.
        const std::optional<Value> now = Field::current(this->document(), m_key);
        if (now && Field::same(*now, m_other)) {
            // Back where it began, perhaps in another spelling: restore the exact old value, then drop.
            swap();
            this->setObsolete(true);
        }
        return true;
    }

private:
    void apply() override { swap(); }
    void revert() override { swap(); }
    void swap() {
        m_other = Field::exchange(this->document(), m_key, std::move(m_other));
        Field::changed(this->document(), m_key);
    }

    Key m_key;
    Value m_other;
    quint64 m_burst;
};

} // namespace Orza
