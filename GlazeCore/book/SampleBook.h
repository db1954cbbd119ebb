#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// The built-in sample book: six cone 6 recipes and three fired tiles, built in code.
namespace GlazeCore::SampleBook {

/// One sample recipe; amounts are parts by weight and the base amounts sum to 100.
struct Entry {
    std::string name;
    std::string notes;
    std::vector<std::pair<std::string, double>> base;      // material id, amount
    std::vector<std::pair<std::string, double>> additions; // material id, amount
};

struct FiringDay {
    int year = 0;
    int month = 0;
    int day = 0;
};

/// One sample tile, fired in oxidation at cone 6.
struct TileEntry {
    int recipeIndex = 0; // 0-based index into entries()
    std::vector<FiringSegment> schedule;
    FiringDay fired;
    std::string notes;
};

/// The six recipes and the three tiles, built once on first use and never changed.
const std::vector<Entry>& entries();
const std::vector<TileEntry>& tileEntries();

/// A new sample book with fresh ids on every call; its tiles are dated noon UTC and coded T-001 to T-003.
GlazeBook makeBook();

/// The note shown at the foot of the sidebar while the sample is open.
std::string introNote(std::string_view applicationName);

} // namespace GlazeCore::SampleBook
