#include "GlazeCore/json/JsonLongLists.h"

#include <cstring>

namespace GlazeCore::Json {

std::optional<ItemLines> itemLines(const TokenText& text, std::size_t open) {
    const std::size_t first = skipSpace(text, open + 1);
    if (text.data[first] != '{') return std::nullopt;
    std::size_t lineStart = first;
    while (lineStart > open + 1 && text.data[lineStart - 1] != '\n')
        --lineStart;
    if (text.data[lineStart - 1] != '\n') return std::nullopt;
    return ItemLines{first, std::string(text.data + lineStart, first - lineStart)};
}

std::optional<std::size_t> nextItemStart(const TokenText& text, const ItemLines& lines, std::size_t from,
                                         std::size_t& end) {
    const std::size_t width = lines.indent.size();
    while (from < text.size) {
        const void* found = std::memchr(text.data + from, '\n', text.size - from);
        if (!found) return std::nullopt;
        const std::size_t lineFeed = static_cast<std::size_t>(static_cast<const char*>(found) - text.data);
        const std::size_t start = lineFeed + 1 + width;
        from = lineFeed + 1;
        if (start >= text.size || text.data[start] != '{' ||
            std::memcmp(text.data + lineFeed + 1, lines.indent.data(), width) != 0)
            continue;
        // Back over white space to the comma, and over white space to the previous item's close.
        std::size_t at = lineFeed;
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
