#include "GlazeCore/search/SearchParts.h"

#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace GlazeCore::SearchParts {

namespace {

constexpr std::string_view deletedRecipeName = "Deleted recipe";

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

const std::string* nameOf(const MaterialNames& names, const std::string& id) {
    auto found = names.find(id);
    if (found == names.end() && !isAscii(id)) found = names.find(UnicodeText::canonicalForm(id));
    return found == names.end() ? nullptr : &found->second;
}

std::uint32_t offset(std::size_t at) {
    return static_cast<std::uint32_t>(std::min<std::size_t>(at, UINT32_MAX));
}

} // namespace

void tileText(TileText& out, const TestTile& tile, SearchFold& fold) {
    std::string& text = out.text;
    text.clear();
    fold.append(text, tile.code);
    text += '\n';
    std::string withoutHyphens = tile.code;
    std::erase(withoutHyphens, '-');
    fold.append(text, withoutHyphens);
    text += "\ncone\n";
    out.coneStart = offset(text.size());
    fold.append(text, tile.cone);
    out.coneLength = offset(text.size()) - out.coneStart;
    text += '\n';
    out.atmosphereStart = offset(text.size());
    fold.append(text, tile.atmosphere);
    out.atmosphereLength = offset(text.size()) - out.atmosphereStart;
    text += '\n';
    fold.append(text, tile.notes);
}

RecipeText recipeText(const Recipe* recipe, const MaterialNames& names, SearchFold& fold) {
    RecipeText parts;
    if (recipe == nullptr) {
        fold.append(parts.name, deletedRecipeName);
        return parts;
    }
    fold.append(parts.name, recipe->name);
    for (const RecipeLine& line : recipe->lines) {
        if (line.materialID.empty()) continue;
        const std::string* name = nameOf(names, line.materialID);
        parts.materials += '\n';
        fold.append(parts.materials, name != nullptr ? *name : line.materialID);
    }
    return parts;
}

namespace {

constexpr std::uint64_t lowSevenBits = 0x7F7F7F7F7F7F7F7Full;

std::uint64_t load(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, 8);
    return word;
}

std::uint64_t everyByte(char c) {
    return 0x0101010101010101ull * static_cast<unsigned char>(c);
}

// The high bit of each byte that is zero, and of no other.
std::uint64_t zeroBytes(std::uint64_t word) {
    return ~(((word & lowSevenBits) + lowSevenBits) | word | lowSevenBits);
}

} // namespace

bool contains(std::string_view text, std::string_view word) {
    const std::size_t n = word.size();
    if (n == 0) return true;
    if (n > text.size()) return false;
    const std::size_t starts = text.size() - n + 1;
    const char* at = text.data();
    // Where the first and the last byte of the word both match, the bytes between decide.
    const auto middleMatches = [&](std::size_t start) {
        for (std::size_t k = 1; k + 1 < n; ++k)
            if (at[start + k] != word[k]) return false;
        return true;
    };
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen starts at a time.
    const __m128i first16 = _mm_set1_epi8(word.front()), last16 = _mm_set1_epi8(word.back());
    for (; i + 16 <= starts; i += 16) {
        const __m128i heads = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + i));
        const __m128i tails = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + i + n - 1));
        auto candidates = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(heads, first16), _mm_cmpeq_epi8(tails, last16))));
        for (; candidates != 0; candidates &= candidates - 1)
            if (middleMatches(i + static_cast<std::size_t>(std::countr_zero(candidates)))) return true;
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        // Eight starts at a time.
        const std::uint64_t first = everyByte(word.front()), last = everyByte(word.back());
        for (; i + 8 <= starts; i += 8) {
            std::uint64_t candidates = zeroBytes(load(at + i) ^ first) & zeroBytes(load(at + i + n - 1) ^ last);
            for (; candidates != 0; candidates &= candidates - 1)
                if (middleMatches(i + static_cast<std::size_t>(std::countr_zero(candidates)) / 8)) return true;
        }
    }
    for (; i < starts; ++i)
        if (at[i] == word.front() && at[i + n - 1] == word.back() && middleMatches(i)) return true;
    return false;
}

void Signature::add(std::string_view text) {
    // Multiplying by odd constants and keeping the top bits spreads pairs that differ in one byte.
    unsigned previous = 0;
    for (const char c : text) {
        const unsigned byte = static_cast<unsigned char>(c);
        set((byte * 0x9E3779B1u) >> 24);
        if (previous != 0) set(((previous << 8 | byte) * 0x85EBCA77u) >> 24);
        previous = byte | 0x100;
    }
}

} // namespace GlazeCore::SearchParts
