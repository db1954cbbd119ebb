#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <variant>
#include <vector>

/// Rules for the short codes written on fired tiles: comparing, validating and handing out "T-001"-style codes.
namespace GlazeCore::TileCode {

inline constexpr std::string_view defaultPrefix = "T-";
inline constexpr std::size_t maxLength = 12;
inline constexpr std::int64_t highestCountedNumber = 999'999;
inline constexpr std::string_view allowedPunctuation = " -_./#+";
inline constexpr std::int64_t largestDefaultNumber = 10'000'000;

/// Why a typed code cannot be used; every sentence ends "The code was not changed."
struct Problem {
    enum class Kind { taken, empty, tooLong, invalidCharacters };
    Kind kind;
    std::string code; // the other tile's stored code, for `taken` only

    static Problem taken(std::string code) { return {Kind::taken, std::move(code)}; }
    static Problem empty() { return {Kind::empty, {}}; }
    static Problem tooLong() { return {Kind::tooLong, {}}; }
    static Problem invalidCharacters() { return {Kind::invalidCharacters, {}}; }

    std::string message() const;
    friend bool operator==(const Problem&, const Problem&) = default;
};

/// What opening a book reports after giving codes to tiles that had none.
struct BackfillNotice {
    enum class Kind { olderBook, missingCodes };
    Kind kind;
    std::vector<std::string> codes;

    std::string message() const;
    friend bool operator==(const BackfillNotice&, const BackfillNotice&) = default;
};

std::string normalized(std::string_view code);
bool isBlank(std::string_view code);
std::optional<std::int64_t> number(std::string_view code);
std::string uniquenessKey(std::string_view code);
std::string defaultCode(std::int64_t n);

std::int64_t highestNumber(const std::vector<TestTile>& tests);
std::unordered_set<std::string> takenKeys(const std::vector<TestTile>& tests);
/// The first free default code from `start`; its key joins `taken`.
std::pair<std::int64_t, std::string> nextFreeCode(std::unordered_set<std::string>& taken, std::int64_t start);
std::string nextCode(const GlazeBook& book);
void assignMissing(GlazeBook& book);
std::string addTile(TestTile tile, GlazeBook& book);
/// The tiles added in order as addTile adds each, the codes in use looked at once; returns each one's number
/// and code.
std::vector<std::pair<std::int64_t, std::string>> addTiles(std::vector<TestTile> tiles, GlazeBook& book);

/// What validate() finds in the typed code alone, before any other tile is looked at: its problem, or else the
/// uniqueness key that no other tile may have.
std::variant<Problem, std::string> checkAlone(std::string_view typed);
std::optional<Problem> validate(std::string_view typed, const Uuid& tileID, const std::vector<TestTile>& tests);
std::optional<Problem> setCode(const Uuid& tileID, std::string_view typed, GlazeBook& book);
/// The tile editor's entry: on a problem the tile keeps, or gets back, the fallback code.
std::optional<Problem> rename(const Uuid& tileID, std::string_view typed, std::string_view fallback, GlazeBook& book);

std::vector<std::string> duplicateCodes(const std::vector<TestTile>& tests);
std::string rangeText(const std::vector<std::string>& codes);

} // namespace GlazeCore::TileCode
