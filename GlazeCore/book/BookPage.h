#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace GlazeCore {

/// The three pages of a book window. Pages compare as their Value (one Value per raw value); the hash
/// is that of the raw value.
class BookPage {
public:
    enum Value { recipes, tests, materials };

    constexpr BookPage(Value value) : m_value(value) {}
    constexpr operator Value() const { return m_value; }

    /// recipes, tests, materials: the order of the menu items and their shortcut keys.
    static const std::array<BookPage, 3>& allCases();
    /// Exactly "recipes", "tests" or "materials", case-sensitive; anything else gives none.
    static std::optional<BookPage> fromRaw(std::string_view raw);

    std::string_view rawValue() const;
    /// The page's 1-based position in allCases(), as decimal text.
    std::string shortcutKey() const;
    std::string_view title() const;

private:
    Value m_value;
};

} // namespace GlazeCore

template <> struct std::hash<GlazeCore::BookPage> {
    std::size_t operator()(GlazeCore::BookPage page) const noexcept {
        return std::hash<std::string_view>{}(page.rawValue());
    }
};
