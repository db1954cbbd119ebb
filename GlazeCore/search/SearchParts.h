#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/search/SearchFold.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

/// The parts a tile's search text is made of, each folded on its own: the fold never joins characters across a
/// line feed and no query word holds one, so a word occurs in the joined text exactly when it occurs in a part.
/// The tile's own entries change with the tile, the recipe's with the recipe or the material names, the dates
/// with the calendar and locale; a cache keeps each until that changes.
namespace GlazeCore::SearchParts {

/// Material id → name.
using MaterialNames = std::unordered_map<std::string, std::string>;

/// The tile's own entries: code, code without hyphens, "cone", cone, atmosphere and notes, joined by line
/// feeds; where the folded cone and atmosphere lie in it, for the filters.
struct TileText {
    std::string text;
    std::uint32_t coneStart = 0;
    std::uint32_t coneLength = 0;
    std::uint32_t atmosphereStart = 0;
    std::uint32_t atmosphereLength = 0;

    std::string_view cone() const { return std::string_view(text).substr(coneStart, coneLength); }
    std::string_view atmosphere() const { return std::string_view(text).substr(atmosphereStart, atmosphereLength); }
};

void tileText(TileText& out, const TestTile& tile, SearchFold& fold);

/// The recipe's entries: its name ("Deleted recipe" when there is none), and its material names each after a
/// line feed (a name missing from `names` shows the material id).
struct RecipeText {
    std::string name;
    std::string materials;
};

RecipeText recipeText(const Recipe* recipe, const MaterialNames& names, SearchFold& fold);

/// Whether `word` occurs in `text`; as text.find(word) != npos, faster for the short texts of a search.
bool contains(std::string_view text, std::string_view word);

/// Which byte pairs and bytes a text holds, hashed into 256 bits: a word whose signature has a bit the text's
/// lacks is not in the text, so most texts are passed over without looking for the word.
class Signature {
public:
    Signature() = default;
    explicit Signature(std::string_view text) { add(text); }
    /// The signature of a text that may hold any word: its quick check lets every word through.
    static Signature anyText() {
        Signature all;
        all.m_bits.fill(~std::uint64_t{0});
        return all;
    }

    void add(std::string_view text);
    bool mayContain(const Signature& word) const {
        return ((word.m_bits[0] & ~m_bits[0]) | (word.m_bits[1] & ~m_bits[1]) | (word.m_bits[2] & ~m_bits[2]) |
                (word.m_bits[3] & ~m_bits[3])) == 0;
    }

private:
    void set(unsigned bit) { m_bits[bit >> 6 & 3] |= std::uint64_t{1} << (bit & 63); }
    std::array<std::uint64_t, 4> m_bits{};
};

} // namespace GlazeCore::SearchParts
