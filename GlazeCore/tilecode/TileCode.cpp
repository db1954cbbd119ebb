#include "GlazeCore/tilecode/TileCode.h"

#include "GlazeCore/text/PlainNumberText.h"
#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

namespace GlazeCore::TileCode {

namespace {

constexpr std::int64_t largestSearchedNumber = 9'999'999;
constexpr std::size_t maxNumberDigits = 9;

std::string trimmed(std::string_view typed) {
    return UnicodeText::trimWhitespaceAndNewlines(typed);
}

std::optional<std::int64_t> numberOfNormalized(std::string_view normal) {
    if (normal.size() < 3 || normal.substr(0, 2) != "t-") return std::nullopt;
    const std::string_view digits = normal.substr(2);
    if (digits.size() > maxNumberDigits) return std::nullopt;
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string keyOfNormalized(std::string normal) {
    if (const auto n = numberOfNormalized(normal)) return "#" + integerText(*n);
    return normal;
}

bool isAllowedScalar(char32_t scalar) {
    if (scalar < 0x80 && allowedPunctuation.find(static_cast<char>(scalar)) != std::string_view::npos) return true;
    return UnicodeText::isLetterMarkOrDecimalDigit(scalar);
}

TestTile* findTile(GlazeBook& book, const Uuid& tileID) {
    const auto it =
        std::find_if(book.tests.begin(), book.tests.end(), [&](const TestTile& t) { return t.id == tileID; });
    return it == book.tests.end() ? nullptr : &*it;
}

std::int64_t firstCandidate(const GlazeBook& book) {
    return std::max<std::int64_t>({highestNumber(book.tests) + 1, book.nextTileNumber, 1});
}

} // namespace

std::string normalized(std::string_view code) {
    return UnicodeText::fold(trimmed(code));
}

bool isBlank(std::string_view code) {
    return normalized(code).empty();
}

std::optional<std::int64_t> number(std::string_view code) {
    return numberOfNormalized(normalized(code));
}

std::string uniquenessKey(std::string_view code) {
    return keyOfNormalized(normalized(code));
}

std::string defaultCode(std::int64_t n) {
    const std::int64_t clamped = std::clamp<std::int64_t>(n, 0, largestDefaultNumber);
    std::string digits = integerText(clamped);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return std::string(defaultPrefix) + digits;
}

std::int64_t highestNumber(const std::vector<TestTile>& tests) {
    std::int64_t highest = 0;
    for (const TestTile& tile : tests)
        if (const auto n = number(tile.code); n && *n <= highestCountedNumber) highest = std::max(highest, *n);
    return highest;
}

std::unordered_set<std::string> takenKeys(const std::vector<TestTile>& tests) {
    std::unordered_set<std::string> keys;
    keys.reserve(tests.size());
    for (const TestTile& tile : tests) {
        std::string normal = normalized(tile.code);
        if (!normal.empty()) keys.insert(keyOfNormalized(std::move(normal)));
    }
    return keys;
}

std::pair<std::int64_t, std::string> nextFreeCode(std::unordered_set<std::string>& taken, std::int64_t start) {
    const auto count = static_cast<std::int64_t>(taken.size());
    std::int64_t n =
        count >= largestSearchedNumber ? 1 : std::min(std::max<std::int64_t>(start, 1), largestSearchedNumber - count);
    // count + 1 distinct numbers cannot all be among count keys.
    for (std::int64_t tried = 0; tried <= count; ++tried, ++n)
        if (taken.insert("#" + integerText(n)).second) return {n, defaultCode(n)};
    taken.insert("#" + integerText(n));
    return {n, defaultCode(n)};
}

std::string nextCode(const GlazeBook& book) {
    auto taken = takenKeys(book.tests);
    return nextFreeCode(taken, firstCandidate(book)).second;
}

void assignMissing(GlazeBook& book) {
    const bool anyBlank =
        std::any_of(book.tests.begin(), book.tests.end(), [](const TestTile& t) { return isBlank(t.code); });
    if (!anyBlank) return;
    auto taken = takenKeys(book.tests);
    std::int64_t n = firstCandidate(book);
    for (TestTile& tile : book.tests) {
        if (!isBlank(tile.code)) continue;
        auto [given, code] = nextFreeCode(taken, n);
        tile.code = std::move(code);
        n = given + 1;
    }
    book.nextTileNumber = std::min(n, largestDefaultNumber);
}

std::string addTile(TestTile tile, GlazeBook& book) {
    auto taken = takenKeys(book.tests);
    auto [n, code] = nextFreeCode(taken, firstCandidate(book));
    tile.code = code;
    book.tests.push_back(std::move(tile));
    book.nextTileNumber = n + 1;
    return code;
}

std::vector<std::pair<std::int64_t, std::string>> addTiles(std::vector<TestTile> tiles, GlazeBook& book) {
    auto taken = takenKeys(book.tests);
    std::int64_t highest = highestNumber(book.tests);
    std::vector<std::pair<std::int64_t, std::string>> given;
    given.reserve(tiles.size());
    book.tests.reserve(book.tests.size() + tiles.size());
    for (TestTile& tile : tiles) {
        auto [n, code] = nextFreeCode(taken, std::max<std::int64_t>({highest + 1, book.nextTileNumber, 1}));
        if (n <= highestCountedNumber) highest = std::max(highest, n);
        tile.code = code;
        book.tests.push_back(std::move(tile));
        book.nextTileNumber = n + 1;
        given.emplace_back(n, std::move(code));
    }
    return given;
}

std::variant<Problem, std::string> checkAlone(std::string_view typed) {
    const std::string code = trimmed(typed);
    std::string normal = UnicodeText::fold(code);
    // A code of combining marks alone folds to nothing; it would be taken for a lost code later.
    if (code.empty() || normal.empty()) return Problem::empty();
    if (UnicodeText::graphemeCount(code) > maxLength) return Problem::tooLong();
    for (char32_t scalar : UnicodeText::scalars(code))
        if (!isAllowedScalar(scalar)) return Problem::invalidCharacters();
    return keyOfNormalized(std::move(normal));
}

std::optional<Problem> validate(std::string_view typed, const Uuid& tileID, const std::vector<TestTile>& tests) {
    auto checked = checkAlone(typed);
    if (const Problem* problem = std::get_if<Problem>(&checked)) return *problem;
    const std::string& key = std::get<std::string>(checked);
    for (const TestTile& tile : tests)
        if (tile.id != tileID && uniquenessKey(tile.code) == key) return Problem::taken(tile.code);
    return std::nullopt;
}

std::optional<Problem> setCode(const Uuid& tileID, std::string_view typed, GlazeBook& book) {
    if (auto problem = validate(typed, tileID, book.tests)) return problem;
    TestTile* tile = findTile(book, tileID);
    if (tile == nullptr) return std::nullopt;
    std::string code = trimmed(typed);
    if (!UnicodeText::canonicallyEqual(tile->code, code)) tile->code = std::move(code);
    return std::nullopt;
}

std::optional<Problem> rename(const Uuid& tileID, std::string_view typed, std::string_view fallback, GlazeBook& book) {
    TestTile* tile = findTile(book, tileID);
    if (tile == nullptr) return std::nullopt;
    if (auto problem = validate(typed, tileID, book.tests)) {
        if (!UnicodeText::canonicallyEqual(tile->code, fallback)) tile->code = std::string(fallback);
        return problem;
    }
    return setCode(tileID, typed, book);
}

std::vector<std::string> duplicateCodes(const std::vector<TestTile>& tests) {
    std::unordered_map<std::string, int> counts;
    std::vector<std::string> shared;
    for (const TestTile& tile : tests) {
        std::string normal = normalized(tile.code);
        if (normal.empty()) continue;
        if (++counts[keyOfNormalized(std::move(normal))] == 2) shared.push_back(tile.code);
    }
    return shared;
}

std::string rangeText(const std::vector<std::string>& codes) {
    if (codes.empty()) return {};
    if (codes.size() == 1) return codes.front();
    return codes.front() + " to " + codes.back();
}

std::string Problem::message() const {
    switch (kind) {
    case Kind::taken:
        // The other tile's code is as the file has it, never checked.
        return "Another tile already has the code " + UnicodeText::visibleControls(code) +
               ". Each tile needs its own code. The code was not changed.";
    case Kind::empty:
        return "A tile code cannot be empty. The code was not changed.";
    case Kind::tooLong:
        return "A tile code can have up to " + integerText(static_cast<std::int64_t>(maxLength)) +
               " characters, so that it fits on a label. The code was not changed.";
    case Kind::invalidCharacters:
        return "Use letters, digits, spaces and - _ . / # + in a tile code. The code was not changed.";
    }
    return {};
}

std::string BackfillNotice::message() const {
    const std::string range = rangeText(codes);
    const auto count = static_cast<std::int64_t>(codes.size());
    if (kind == Kind::missingCodes) {
        if (count == 1)
            return "1 test tile in this book had lost its code, for example in another app. Orza gave it a new code (" +
                   range + ") and kept every other code. Check this tile against the code on your fired tile.";
        return integerText(count) +
               " test tiles in this book had lost their codes, for example in another app. Orza gave them new codes (" +
               range + ") and kept every other code. Check these tiles against the codes on your fired tiles.";
    }
    const std::string countText = count == 1 ? "1 test tile" : integerText(count) + " test tiles";
    return "This book comes from an earlier version of Orza, so its " + countText + " had no codes. Orza gave them " +
           range + " in the order of the tiles. Save the book to keep these codes.";
}

} // namespace GlazeCore::TileCode
