#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace Orza {

/**
 * Where each item of a list stands, by key, so an edit finds its item in constant time.
 *
 * Structural edits only note from which position on the stored positions may be stale; the first lookup
 * that needs a stale position renumbers that tail once. A run of inserts and removals therefore costs one
 * pass at most, and edits at the end of a list cost nothing.
 */
template <class Key, class Hash = std::hash<Key>> class PositionIndex {
public:
    template <class Item, class KeyOf> void rebuild(const std::vector<Item>& items, KeyOf keyOf) {
        m_positions.clear();
        m_positions.reserve(items.size());
        for (std::size_t i = 0; i < items.size(); ++i)
            m_positions.insert_or_assign(keyOf(items[i]), i);
        m_validUpTo = items.size();
    }

    /// Items at `position` and after it moved, or were inserted or removed there.
    void invalidateFrom(std::size_t position) { m_validUpTo = std::min(m_validUpTo, position); }
    void add(const Key& key, std::size_t position) {
        m_positions.insert_or_assign(key, position);
        invalidateFrom(position);
    }
    void remove(const Key& key, std::size_t position) {
        m_positions.erase(key);
        invalidateFrom(position);
    }

    template <class Item, class KeyOf>
    std::optional<std::size_t> find(const Key& key, const std::vector<Item>& items, KeyOf keyOf) {
        auto found = m_positions.find(key);
        if (found == m_positions.end()) return std::nullopt;
        if (found->second >= m_validUpTo) {
            for (std::size_t i = m_validUpTo; i < items.size(); ++i)
                m_positions.insert_or_assign(keyOf(items[i]), i);
            m_validUpTo = items.size();
            found = m_positions.find(key);
        }
        return found->second;
    }

private:
    std::unordered_map<Key, std::size_t, Hash> m_positions;
    std::size_t m_validUpTo = 0;
};

} // namespace Orza
