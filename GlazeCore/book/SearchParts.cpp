#include "GlazeCore/book/SearchParts.h"

#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>

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
