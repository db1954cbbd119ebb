#include "GlazeCore/book/BookTypes.h"

#include "GlazeCore/text/UnicodeText.h"

#include <cmath>

namespace GlazeCore {

using UnicodeText::canonicallyEqual;

double Recipe::baseTotal() const {
    double total = 0;
    for (const RecipeLine& line : lines)
        if (!line.isAddition && std::isfinite(line.amount) && line.amount > 0) total += line.amount;
    return total;
}

bool operator==(const Material& a, const Material& b) {
    return canonicallyEqual(a.id, b.id) && canonicallyEqual(a.name, b.name) && a.analysis == b.analysis &&
           a.loi == b.loi && canonicallyEqual(a.source, b.source);
}

bool operator==(const RecipeLine& a, const RecipeLine& b) {
    return a.id == b.id && canonicallyEqual(a.materialID, b.materialID) && a.amount == b.amount &&
           a.isAddition == b.isAddition;
}

bool operator==(const Recipe& a, const Recipe& b) {
    return a.id == b.id && canonicallyEqual(a.name, b.name) && canonicallyEqual(a.cone, b.cone) && a.lines == b.lines &&
           canonicallyEqual(a.notes, b.notes);
}

bool operator==(const FiringSegment& a, const FiringSegment& b) {
    return a.ratePerHour == b.ratePerHour && a.targetC == b.targetC && a.holdMinutes == b.holdMinutes;
}

bool operator==(const TestTile& a, const TestTile& b) {
    return a.id == b.id && a.recipeID == b.recipeID && canonicallyEqual(a.cone, b.cone) &&
           canonicallyEqual(a.atmosphere, b.atmosphere) && a.schedule == b.schedule &&
           canonicallyEqual(a.notes, b.notes) && a.photoBookmark == b.photoBookmark && a.date == b.date &&
           canonicallyEqual(a.code, b.code);
}

bool operator==(const GlazeBook& a, const GlazeBook& b) {
    return a.recipes == b.recipes && a.customMaterials == b.customMaterials && a.tests == b.tests &&
           a.version == b.version && a.nextTileNumber == b.nextTileNumber;
}

} // namespace GlazeCore

namespace {

void combine(std::size_t& seed, std::size_t value) {
    seed ^= value + 0x9E3779B97F4A7C15ull + (seed << 6) + (seed >> 2);
}

// 0 and -0 are equal, so they must hash alike.
std::size_t hashDouble(double value) {
    return std::hash<double>{}(value == 0 ? 0.0 : value);
}

std::size_t hashText(const std::string& text) {
    return GlazeCore::UnicodeText::canonicalHash(text);
}

} // namespace

std::size_t std::hash<GlazeCore::Material>::operator()(const GlazeCore::Material& value) const noexcept {
    std::size_t seed = hashText(value.id);
    combine(seed, hashText(value.name));
    // Keyed by oxide, so the map's order never shows; sum the pairs anyway to stay order-blind.
    std::size_t analysis = 0;
    for (const auto& [oxide, percent] : value.analysis)
        analysis += std::hash<int>{}(static_cast<int>(oxide)) * 31 + hashDouble(percent);
    combine(seed, analysis);
    combine(seed, hashDouble(value.loi));
    combine(seed, hashText(value.source));
    return seed;
}

std::size_t std::hash<GlazeCore::RecipeLine>::operator()(const GlazeCore::RecipeLine& value) const noexcept {
    std::size_t seed = std::hash<GlazeCore::Uuid>{}(value.id);
    combine(seed, hashText(value.materialID));
    combine(seed, hashDouble(value.amount));
    combine(seed, value.isAddition ? 1 : 0);
    return seed;
}

std::size_t std::hash<GlazeCore::Recipe>::operator()(const GlazeCore::Recipe& value) const noexcept {
    std::size_t seed = std::hash<GlazeCore::Uuid>{}(value.id);
    combine(seed, hashText(value.name));
    combine(seed, hashText(value.cone));
    for (const auto& line : value.lines)
        combine(seed, std::hash<GlazeCore::RecipeLine>{}(line));
    combine(seed, hashText(value.notes));
    return seed;
}

std::size_t std::hash<GlazeCore::FiringSegment>::operator()(const GlazeCore::FiringSegment& value) const noexcept {
    std::size_t seed = hashDouble(value.ratePerHour);
    combine(seed, hashDouble(value.targetC));
    combine(seed, hashDouble(value.holdMinutes));
    return seed;
}

std::size_t std::hash<GlazeCore::TestTile>::operator()(const GlazeCore::TestTile& value) const noexcept {
    std::size_t seed = std::hash<GlazeCore::Uuid>{}(value.id);
    combine(seed, std::hash<GlazeCore::Uuid>{}(value.recipeID));
    combine(seed, hashText(value.cone));
    combine(seed, hashText(value.atmosphere));
    for (const auto& segment : value.schedule)
        combine(seed, std::hash<GlazeCore::FiringSegment>{}(segment));
    combine(seed, hashText(value.notes));
    combine(seed, value.photoBookmark
                      ? std::hash<std::string_view>{}(std::string_view(
                            reinterpret_cast<const char*>(value.photoBookmark->data()), value.photoBookmark->size()))
                      : 0);
    combine(seed, std::hash<long long>{}(value.date.time_since_epoch().count()));
    combine(seed, hashText(value.code));
    return seed;
}
