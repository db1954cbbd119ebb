#include "GlazeCore/library/MaterialSearch.h"

#include "GlazeCore/text/PlainNumberText.h"
#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace GlazeCore::MaterialSearch {

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Unicode default lower-casing, never the user's locale (no Turkish dotless i). The result is in NFC
// so that composed and decomposed accents find each other.
std::string lowercased(std::string_view text) {
    if (isAscii(text)) {
        std::string lowered(text);
        for (char& c : lowered)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return lowered;
    }
    icu::UnicodeString unicode =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    unicode.toLower(icu::Locale::getRoot());
    std::string out;
    unicode.toUTF8String(out);
    return UnicodeText::canonicalForm(out);
}

bool contains(std::string_view text, std::string_view part) {
    return lowercased(text).find(part) != std::string::npos;
}

template <class List, class IDOf>
std::optional<std::string> kept(const std::optional<std::string>& id, const List& list, IDOf idOf,
                                bool fallBackToFirst) {
    if (id) {
        const bool present = std::any_of(
            list.begin(), list.end(), [&](const auto& item) { return UnicodeText::canonicallyEqual(idOf(item), *id); });
        if (present) return id;
    }
    if (fallBackToFirst && !list.empty()) return std::string(idOf(list.front()));
    return std::nullopt;
}

const std::string& materialID(const Material& material) {
    return material.id;
}
const std::string& itself(const std::string& id) {
    return id;
}

} // namespace

std::vector<Material> matches(const std::vector<Material>& materials, std::string_view query) {
    const std::string needle = lowercased(UnicodeText::trimHorizontalSpace(query));
    if (needle.empty()) return materials;
    std::vector<Material> found;
    for (const Material& material : materials)
        if (contains(material.name, needle) || contains(material.id, needle)) found.push_back(material);
    return found;
}

std::string countText(std::int64_t count) {
    if (count == 1) return "1 material";
    return integerText(count) + " materials";
}

std::optional<std::string> keptSelection(const std::optional<std::string>& id, const std::vector<Material>& materials) {
    return kept(id, materials, materialID, false);
}

std::optional<std::string> keptSelection(const std::optional<std::string>& id, const std::vector<std::string>& ids) {
    return kept(id, ids, itself, false);
}

std::optional<std::string> keptSelectionWithFlag(const std::optional<std::string>& id,
                                                 const std::vector<Material>& materials, bool fallBackToFirst) {
    return kept(id, materials, materialID, fallBackToFirst);
}

std::optional<std::string> keptSelectionWithFlag(const std::optional<std::string>& id,
                                                 const std::vector<std::string>& ids, bool fallBackToFirst) {
    return kept(id, ids, itself, fallBackToFirst);
}

} // namespace GlazeCore::MaterialSearch
