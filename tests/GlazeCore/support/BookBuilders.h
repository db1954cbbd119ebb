#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <limits>
#include <string>
#include <vector>

// Small builders so tests say what they vary and nothing else.
namespace OrzaTest {

inline constexpr double inf = std::numeric_limits<double>::infinity();
inline constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

inline GlazeCore::RecipeLine line(std::string materialID, double amount, bool isAddition = false) {
    return {GlazeCore::Uuid::random(), std::move(materialID), amount, isAddition};
}

inline GlazeCore::Recipe recipe(std::string name, std::vector<GlazeCore::RecipeLine> lines = {}) {
    return {GlazeCore::Uuid::random(), std::move(name), "6", std::move(lines), ""};
}

inline GlazeCore::TestTile tile(std::string code = "") {
    GlazeCore::TestTile t;
    t.id = GlazeCore::Uuid::random();
    t.recipeID = GlazeCore::Uuid::random();
    t.cone = "6";
    t.atmosphere = "Oxidation";
    t.code = std::move(code);
    return t;
}

inline std::vector<GlazeCore::TestTile> tiles(const std::vector<std::string>& codes) {
    std::vector<GlazeCore::TestTile> out;
    for (const auto& code : codes)
        out.push_back(tile(code));
    return out;
}

inline GlazeCore::GlazeBook bookWithTiles(const std::vector<std::string>& codes, std::int64_t nextTileNumber = 1) {
    GlazeCore::GlazeBook book;
    book.tests = tiles(codes);
    book.nextTileNumber = nextTileNumber;
    return book;
}

} // namespace OrzaTest
