#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/book/GlazeBookError.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

/// The checks a book passes before it is used; each throws the first GlazeBookError found.
namespace GlazeCore::GlazeBookValidation {

inline constexpr std::int64_t supportedVersion = 2;
inline constexpr double maxAmount = 1e9;
inline constexpr double maxPercent = 100;
inline constexpr double maxFiringValue = 1e6;
inline constexpr std::int64_t maxItems = 100'000;
inline constexpr std::int64_t maxLinesPerRecipe = 10'000;
inline constexpr std::int64_t maxSegmentsPerTile = 1'000;
inline constexpr std::int64_t maxNextTileNumber = 10'000'000;

/// A number a book file may hold under `limit`: finite and no larger than the limit in magnitude.
inline bool withinLimit(double value, double limit) {
    return std::isfinite(value) && std::fabs(value) <= limit;
}

void validate(const GlazeBook& book);
/// The book as it would be with this version and next tile number, without copying it.
void validate(const GlazeBook& book, std::int64_t version, std::int64_t nextTileNumber);
void checkUniqueIDs(const std::vector<std::string>& ids, const std::string& kind);
void checkRecipe(const Recipe& recipe);
void checkMaterial(const Material& material);
void checkTile(const TestTile& tile);

} // namespace GlazeCore::GlazeBookValidation
