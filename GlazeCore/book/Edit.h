#pragma once

#include "GlazeCore/text/UnicodeText.h"

#include <concepts>
#include <cstddef>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

/// How every edit of a recipe, recipe line, custom material or test tile is written back: only when
/// something changed, so an unchanged value never marks the document edited.
namespace GlazeCore::Edit {

template <class T>
concept Identifiable = requires(const T& value) {
    value.id;
}
&&std::equality_comparable<T>;

namespace detail {

// Texts (names, material ids) are equal when canonically equivalent, as throughout the book.
inline bool equal(const std::string& a, const std::string& b) {
    return UnicodeText::canonicallyEqual(a, b);
}
template <class T> bool equal(const T& a, const T& b) {
    return a == b;
}

} // namespace detail

/// Writes `newValue` into `target` unless they are already equal; true when it wrote.
template <std::equality_comparable T> bool assignIfDifferent(T& target, std::type_identity_t<T> newValue) {
    if (detail::equal(target, newValue)) return false;
    target = std::move(newValue);
    return true;
}

/// The index of the first element with the new value's id, when that element differs from it;
/// none when no element has the id (nothing is appended) or nothing would change.
template <Identifiable T> std::optional<std::size_t> replaceByID(const std::vector<T>& list, const T& newValue) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!detail::equal(list[i].id, newValue.id)) continue;
        if (list[i] == newValue) return std::nullopt;
        return i;
    }
    return std::nullopt;
}

/// The same, with the new value first.
template <Identifiable T> std::optional<std::size_t> replaceByID(const T& newValue, const std::vector<T>& list) {
    return replaceByID(list, newValue);
}

} // namespace GlazeCore::Edit
