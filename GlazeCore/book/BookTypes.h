#pragma once

#include "GlazeCore/book/Oxide.h"
#include "GlazeCore/text/Uuid.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace GlazeCore {

using Date = std::chrono::system_clock::time_point;
using Bytes = std::vector<std::uint8_t>;
/// Weight percent by oxide; an oxide that is not a key is absent.
using Analysis = std::map<Oxide, double>;

struct Material {
    std::string id;
    std::string name;
    Analysis analysis;
    double loi = 0;
    std::string source;
};

struct RecipeLine {
    Uuid id;
    std::string materialID;
    double amount = 0;
    bool isAddition = false;
};

struct Recipe {
    Uuid id;
    std::string name;
    std::string cone;
    std::vector<RecipeLine> lines;
    std::string notes;

    /// Sum of the finite positive amounts of the base lines.
    double baseTotal() const;
};

struct FiringSegment {
    double ratePerHour = 0;
    double targetC = 0;
    double holdMinutes = 0;
};

struct TestTile {
    Uuid id;
    Uuid recipeID;
    std::string cone;
    std::string atmosphere;
    std::vector<FiringSegment> schedule;
    std::string notes;
    std::optional<Bytes> photoBookmark;
    Date date{};
    std::string code;
};

struct GlazeBook {
    std::vector<Recipe> recipes;
    std::vector<Material> customMaterials;
    std::vector<TestTile> tests;
    std::int64_t version = 1;
    std::int64_t nextTileNumber = 1;
};

// Texts compare by canonical equivalence, doubles by IEEE equality (NaN never equal, 0 == -0).
bool operator==(const Material& a, const Material& b);
bool operator==(const RecipeLine& a, const RecipeLine& b);
bool operator==(const Recipe& a, const Recipe& b);
bool operator==(const FiringSegment& a, const FiringSegment& b);
bool operator==(const TestTile& a, const TestTile& b);
bool operator==(const GlazeBook& a, const GlazeBook& b);

} // namespace GlazeCore

template <> struct std::hash<GlazeCore::Material> {
    std::size_t operator()(const GlazeCore::Material& value) const noexcept;
};
template <> struct std::hash<GlazeCore::RecipeLine> {
    std::size_t operator()(const GlazeCore::RecipeLine& value) const noexcept;
};
template <> struct std::hash<GlazeCore::Recipe> {
    std::size_t operator()(const GlazeCore::Recipe& value) const noexcept;
};
template <> struct std::hash<GlazeCore::FiringSegment> {
    std::size_t operator()(const GlazeCore::FiringSegment& value) const noexcept;
};
template <> struct std::hash<GlazeCore::TestTile> {
    std::size_t operator()(const GlazeCore::TestTile& value) const noexcept;
};
