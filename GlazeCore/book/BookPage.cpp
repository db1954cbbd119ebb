#include "GlazeCore/book/BookPage.h"

#include <algorithm>

namespace GlazeCore {

const std::array<BookPage, 3>& BookPage::allCases() {
    static const std::array<BookPage, 3> pages{recipes, tests, materials};
    return pages;
}

std::optional<BookPage> BookPage::fromRaw(std::string_view raw) {
    for (BookPage page : allCases())
        if (page.rawValue() == raw) return page;
    return std::nullopt;
}

std::string_view BookPage::rawValue() const {
    switch (m_value) {
    case recipes:
        return "recipes";
    case tests:
        return "tests";
    case materials:
        return "materials";
    }
    return {};
}

std::string BookPage::shortcutKey() const {
    const auto& pages = allCases();
    const auto position = std::find(pages.begin(), pages.end(), *this) - pages.begin();
    return std::to_string(position + 1);
}

std::string_view BookPage::title() const {
    switch (m_value) {
    case recipes:
        return "Recipes";
    case tests:
        return "Tests";
    case materials:
        return "Materials";
    }
    return {};
}

} // namespace GlazeCore
