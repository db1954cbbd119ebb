#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace GlazeCore {

/// UnicodeText::fold for one search over many texts, appended in place.
///
/// ASCII is lower-cased inline. Every ASCII character starts a normalization segment that nothing before
/// it can join (it has combining class 0 and never ends a composition), and folding maps it to ASCII, so
/// folding a text is folding each piece "ASCII character + the non-ASCII run after it" on its own. Those
/// pieces repeat across tiles ("°C", "é"), so their folds are remembered for the life of one search.
class SearchFold {
public:
    void append(std::string& out, std::string_view text);
    std::string operator()(std::string_view text);
    /// True when `text` folds to `folded`; `scratch` is reused to avoid allocation.
    bool foldsTo(std::string_view text, std::string_view folded, std::string& scratch);

private:
    void appendPiece(std::string& out, std::string_view piece);

    // Looked up by string_view, so a hit costs no allocation.
    struct PieceHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view piece) const noexcept { return std::hash<std::string_view>{}(piece); }
    };
    std::unordered_map<std::string, std::string, PieceHash, std::equal_to<>> m_pieces;
};

} // namespace GlazeCore
