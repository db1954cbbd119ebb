// Any text typed into a field that reads it: numbers in several locales, percentages, tile codes, and the test
// log's search and Find Test run against a small fixed book. The first byte picks the locale, the time zone and
// the search filters; the rest is the text. The search must find what the plain reference search of the tests
// finds.

#include "GlazeCore/library/MaterialRules.h"
#include "GlazeCore/search/TestSearch.h"
#include "GlazeCore/text/NumberText.h"
#include "GlazeCore/tilecode/TileCode.h"
#include "support/ReferenceSearch.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace GlazeCore;

namespace {

// Decimal commas, narrow no-break space grouping, apostrophe grouping, Arabic-Indic and Devanagari digits,
// a right-to-left script, and an id ICU does not know.
constexpr std::array<const char*, 8> locales{"en_US", "de_DE", "fr_FR", "de_CH", "ar_EG", "hi_IN", "fa_IR", "xx_YY"};
constexpr std::array<const char*, 4> timeZones{"UTC", "Europe/Berlin", "Pacific/Kiritimati", "Not/A_Zone"};

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "fuzz_typed_text: %s\n", what);
    std::abort();
}

Uuid fixedID(std::uint8_t n) {
    Uuid id;
    id.bytes.fill(0x11);
    id.bytes[15] = n;
    return id;
}

Date day(int y, unsigned m, unsigned d) {
    using namespace std::chrono;
    return time_point_cast<Date::duration>(sys_days{year{y} / m / d} + hours{12});
}

TestTile tile(std::uint8_t n, std::uint8_t recipe, std::string code, std::string cone, std::string atmosphere,
              std::string notes, Date date) {
    TestTile t;
    t.id = fixedID(n);
    t.recipeID = fixedID(recipe);
    t.code = std::move(code);
    t.cone = std::move(cone);
    t.atmosphere = std::move(atmosphere);
    t.notes = std::move(notes);
    t.date = date;
    return t;
}

struct FixedBook {
    GlazeBook book;
    TestSearch::MaterialNames names;
};

const FixedBook& fixedBook() {
    static const FixedBook fixed = [] {
        FixedBook f;
        f.book.recipes = {
            {fixedID(1),
             "Celadon",
             "10",
             {{fixedID(101), "custom-feldspar", 40, false}, {fixedID(102), "silica", 30, false}},
             ""},
            {fixedID(2), "Ｓａｔｉｎ Ｍａｔｔｅ café", "6", {{fixedID(103), "whiting", 20, false}}, "notes"},
        };
        f.book.tests = {
            tile(11, 1, "T-001", "10", "Reduction", "Thick, crawled at the rim", day(2023, 1, 31)),
            tile(12, 2, "T-002", "6", "Oxidation", "Ünïcödé ﬁne İstanbul ß", day(2024, 2, 29)),
            tile(13, 9, "A-12", "05½", "oxidation", "", day(1970, 1, 1)),
            tile(14, 2, "Tile #7/b", "6", "Neutral", "日本語のメモ", day(2262, 1, 1)),
            tile(15, 1, "t-0009", "04", "", "ت-١٢", day(1678, 1, 1)),
        };
        f.names = {{"custom-feldspar", "Custom Feldspar"}, {"silica", "Silica"}, {"whiting", "Whiting"}};
        return f;
    }();
    return fixed;
}

void numbers(std::string_view text, const std::string& locale) {
    for (const bool allowsNegative : {false, true}) {
        const auto value = NumberText::parse(text, allowsNegative, locale);
        if (!value) continue;
        if (!std::isfinite(*value) || std::fabs(*value) > 1'000'000) broken("parse gave a number out of range");
        if (!allowsNegative && *value < 0) broken("parse gave a negative number where none is allowed");
    }
    const MaterialRules::PercentEntry percent = MaterialRules::parsePercent(text, locale);
    if (percent.kind == MaterialRules::PercentEntry::Kind::value && !(percent.number >= 0 && percent.number <= 100))
        broken("parsePercent gave a value outside 0 to 100");
    percent.message();
}

void tileCodes(std::string_view text) {
    GlazeBook book = fixedBook().book;
    const Uuid& editing = book.tests[1].id;
    const auto problem = TileCode::validate(text, editing, book.tests);
    if (problem) problem->message();
    TileCode::number(text);
    TileCode::uniquenessKey(text);
    // What validation lets through is stored, and a stored code never shares its key with another tile's.
    if (TileCode::setCode(editing, text, book) != problem) broken("setCode and validate disagree");
    if (!problem && !TileCode::duplicateCodes(book.tests).empty()) broken("an accepted code duplicates another");
    if (!problem && TileCode::validate(book.tests[1].code, editing, book.tests))
        broken("a stored code does not pass validation again");
}

void search(std::string_view text, std::uint8_t selector, const std::string& locale) {
    namespace Reference = OrzaTest::ReferenceSearch;
    const FixedBook& fixed = fixedBook();
    // The fixed tiles and one whose notes are the text.
    std::vector<TestTile> tiles = fixed.book.tests;
    TestTile noted = tiles[selector % tiles.size()];
    noted.id = fixedID(99);
    noted.notes = std::string(text);
    tiles.push_back(noted);
    const std::optional<std::string> cone = selector & 0x20 ? std::optional<std::string>("6") : std::nullopt;
    const std::optional<std::string> atmosphere =
        selector & 0x40 ? std::optional<std::string>("OXIDATION") : std::nullopt;
    const std::string timeZone = timeZones[(selector >> 3) & 3];
    const auto found =
        TestSearch::results(tiles, fixed.book.recipes, fixed.names, text, cone, atmosphere, timeZone, locale);
    // The results are some of the tiles, in their order.
    auto next = tiles.begin();
    for (const TestTile& hit : found) {
        next = std::find(next, tiles.end(), hit);
        if (next == tiles.end()) broken("a search result that is no tile of the book, or out of order");
        ++next;
    }
    if (found != Reference::results(tiles, fixed.book.recipes, fixed.names, text, cone, atmosphere, timeZone, locale))
        broken("the search and the reference search found different tiles");
    // A tile is found by the words of its own notes.
    const std::string noteText = Reference::tileText(noted, nullptr, fixed.names, timeZone, locale);
    if (!Reference::allTokensMatch(Reference::tokens(text, {}).tokens, noteText, std::nullopt))
        broken("a tile's own notes do not find it");

    if (const auto byCode = TestSearch::findByCode(text, fixed.book.tests);
        byCode && std::find(fixed.book.tests.begin(), fixed.book.tests.end(), *byCode) == fixed.book.tests.end())
        broken("Find Test gave a tile that is not in the book");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t selector = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string locale = locales[selector & 7];
    numbers(text, locale);
    tileCodes(text);
    search(text, selector, locale);
    return 0;
}
