#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

/// Which custom materials calculations may use, how typed percentages are read, fresh ids and names
/// for new materials, and the sentence that stops deleting a material still in use.
///
/// Locales are ICU locale ids ("de_DE"); callers pass the user's current one.
namespace GlazeCore::MaterialRules {

/// Every custom material id the program makes begins with this.
inline constexpr std::string_view customIDPrefix = "custom-";

/// What is wrong with a material's analysis.
struct Issue {
    enum class Kind { oxideOutOfRange, loiOutOfRange, totalTooHigh };
    Kind kind;
    Oxide oxide{}; // for oxideOutOfRange only
    double value = 0;

    /// The oxide's weight % is not a finite number from 0 to 100.
    static Issue oxideOutOfRange(Oxide oxide, double value) { return {Kind::oxideOutOfRange, oxide, value}; }
    /// The loss on ignition is not a finite number from 0 to 100.
    static Issue loiOutOfRange(double value) { return {Kind::loiOutOfRange, Oxide{}, value}; }
    /// Oxides and loss on ignition add up to more than 102.
    static Issue totalTooHigh(double total) { return {Kind::totalTooHigh, Oxide{}, total}; }

    /// The user's sentence, the number written in `locale` with 0 to 3 fraction digits.
    std::string message(const std::string& locale) const;
    friend bool operator==(const Issue&, const Issue&) = default;
};

/// The reading of a typed percentage.
struct PercentEntry {
    enum class Kind { value, notANumber, outOfRange };
    Kind kind;
    double number = 0; // for value only

    static PercentEntry value(double number) { return {Kind::value, number}; }
    static PercentEntry notANumber() { return {Kind::notANumber, 0}; }
    static PercentEntry outOfRange() { return {Kind::outOfRange, 0}; }

    /// None for a usable value.
    std::optional<std::string> message() const;
    friend bool operator==(const PercentEntry&, const PercentEntry&) = default;
};

/// Range issues in oxide order, then the loss on ignition; a total issue only when the ranges are sound.
std::vector<Issue> issues(const Material& material);
/// True when the material has no issues; only such materials take part in calculations.
bool isValid(const Material& material);

/// A cleared field is 0 %; otherwise a lenient number of `locale` from 0 to 100, unrounded.
PercentEntry parsePercent(std::string_view text, const std::string& locale);

/// Ids a new custom material must not take: the custom ones and every id a recipe line names.
std::unordered_set<std::string> usedMaterialIDs(const GlazeBook& book);
/// "custom-" and a fresh lower-case UUID, with a numbered fallback when the source keeps repeating taken ones.
std::string newMaterialID(const std::unordered_set<std::string>& taken, const std::function<Uuid()>& freshUUID);
/// The first "New material N" not in `taken` (compared exactly).
std::string newMaterialName(const std::unordered_set<std::string>& taken);

/// The names of the recipes that use the material, in book order, each once; blank names read
/// "Untitled recipe".
std::vector<std::string> recipeNamesUsing(std::string_view materialID, const GlazeBook& book);
/// Why the material cannot be deleted, or none when no recipe uses it.
std::optional<std::string> deleteBlocker(std::string_view materialName, const std::vector<std::string>& recipeNames);

} // namespace GlazeCore::MaterialRules
