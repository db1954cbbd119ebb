#include "GlazeCore/json/JsonLongLists.h"

#include <string_view>

namespace GlazeCore::Json {

namespace {

// Member names of books are short; a longer first name leaves the list to be read in order.
constexpr std::size_t longestHead = 64;

} // namespace

std::optional<ItemStarts> itemStarts(const TokenText& text, std::size_t open) {
    const std::size_t first = skipSpace(text, open + 1);
    if (first >= text.size || text.data[first] != '{') return std::nullopt;
    const std::size_t name = skipSpace(text, first + 1);
    if (name >= text.size || text.data[name] != '"') return std::nullopt;
    const char* limit = text.data + std::min(text.size, first + longestHead);
    const char* quote = quoteOrBackslash(text.data + name + 1, limit);
    if (quote >= limit || *quote != '"') return std::nullopt;
    return ItemStarts{first, std::string(text.data + first, quote + 1)};
}

std::optional<std::size_t> nextItemStart(const TokenText& text, const ItemStarts& starts, std::size_t from,
                                         std::size_t to, std::size_t& end) {
    const std::string_view rest(text.data, std::min(text.size, to + starts.head.size()));
    for (std::size_t start = rest.find(starts.head, from); start != std::string_view::npos;
         start = rest.find(starts.head, start + 1)) {
        // Back over white space to the comma, and over white space to the previous item's close.
        std::size_t at = start;
        while (at > 0 && isJsonSpace(text.data[at - 1]))
            --at;
        if (at == 0 || text.data[at - 1] != ',') continue;
        --at;
        while (at > 0 && isJsonSpace(text.data[at - 1]))
            --at;
        if (at == 0 || text.data[at - 1] != '}') continue;
        end = at;
        return start;
    }
    return std::nullopt;
}

} // namespace GlazeCore::Json
