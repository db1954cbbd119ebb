#include "GlazeCore/search/TestSearch.h"
#include "GlazeCore/library/BundledLibrary.h"
#include "GlazeCore/library/LayeredLibrary.h"
#include "GlazeCore/text/UnicodeText.h"
#include "GlazeCore/tilecode/TileCode.h"
#include "support/BookBuilders.h"
#include "support/ReferenceSearch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

using namespace GlazeCore;
using OrzaTest::line;
using OrzaTest::recipe;

namespace {

Date at(int y, unsigned m, unsigned d, int hour) {
    using namespace std::chrono;
    return time_point_cast<Date::duration>(sys_days{year{y} / month{m} / day{d}} + hours{hour});
}

TestTile tile(std::string code, const Recipe* recipe = nullptr, std::string cone = "6", std::string notes = "") {
    TestTile t = OrzaTest::tile(std::move(code));
    if (recipe != nullptr) t.recipeID = recipe->id;
    t.cone = std::move(cone);
    t.notes = std::move(notes);
    t.date = at(2026, 9, 14, 12);
    return t;
}

std::vector<std::string> codesOf(const std::vector<TestTile>& tiles) {
    std::vector<std::string> codes;
    for (const TestTile& t : tiles)
        codes.push_back(t.code);
    return codes;
}

/// A small log searched in UTC and en_US unless a case says otherwise; the plain reference search must find
/// the same tiles.
struct Log {
    std::vector<Recipe> recipes;
    std::vector<TestTile> tiles;
    TestSearch::MaterialNames names{{"whiting", "Whiting"}, {"silica", "Silica"}};

    std::vector<std::string> find(std::string_view query, std::optional<std::string> cone = std::nullopt,
                                  std::optional<std::string> atmosphere = std::nullopt, const std::string& zone = "UTC",
                                  const std::string& locale = "en_US") const {
        const auto found = codesOf(TestSearch::results(tiles, recipes, names, query, cone, atmosphere, zone, locale));
        EXPECT_EQ(
            codesOf(OrzaTest::ReferenceSearch::results(tiles, recipes, names, query, cone, atmosphere, zone, locale)),
            found)
            << query;
        return found;
    }
};

} // namespace

TEST(TestSearchTokens, foldsSplitsAndTakesConePairs) {
    const TestSearch::ConeVocabulary cones{"6", "06", "05\u00BD"};
    EXPECT_EQ(TestSearch::tokens("cone 6 shino", cones), (TestSearch::Query{{"shino"}, "6"}));
    EXPECT_EQ(TestSearch::tokens("Cone 05\u00BD", cones), (TestSearch::Query{{}, "05\u00BD"}));
    EXPECT_EQ(TestSearch::tokens("cone blue", cones), (TestSearch::Query{{"cone", "blue"}, std::nullopt}));
    EXPECT_EQ(TestSearch::tokens("shino cone", cones), (TestSearch::Query{{"shino", "cone"}, std::nullopt}));
    EXPECT_EQ(TestSearch::tokens("cone 6 cone 06", cones), (TestSearch::Query{{}, "06"}));
    EXPECT_EQ(TestSearch::tokens("cone 6", {}), (TestSearch::Query{{"cone", "6"}, std::nullopt}));
    // Tabs, line breaks, no-break, ideographic and line-separator spaces all split; runs leave no empty words.
    EXPECT_EQ(TestSearch::tokens("  a\tb\nc\u00A0d\u3000e\u2028f  ", {}).tokens,
              (std::vector<std::string>{"a", "b", "c", "d", "e", "f"}));
    // Case, accents and width fold in every script.
    EXPECT_EQ(TestSearch::tokens("\u00C9MAIL \uFF33\uFF28\uFF29\uFF2E\uFF2F \u0393\u039B\u0391\u03A5\u039A\u039F "
                                 "\u0413\u041B\u0410\u0417\u0423\u0420\u042C \u91C9\u85AC",
                                 {})
                  .tokens,
              (std::vector<std::string>{"email", "shino", "\u03B3\u03BB\u03B1\u03C5\u03BA\u03BF",
                                        "\u0433\u043B\u0430\u0437\u0443\u0440\u044C", "\u91C9\u85AC"}));
    EXPECT_TRUE(TestSearch::tokens(" \n ", cones).tokens.empty());

    // The reference search splits the same way.
    for (const std::string_view query : {"cone 6 shino", "Cone 05\u00BD", "cone blue", "shino cone", "cone 6 cone 06",
                                         "  a\tb\nc\u00A0d\u3000e\u2028f  ", "\u00C9MAIL \uFF33\uFF28 \u0393\u039B"}) {
        const auto reference = OrzaTest::ReferenceSearch::tokens(query, {"6", "06", "05\u00BD"});
        EXPECT_EQ(TestSearch::tokens(query, cones), (TestSearch::Query{reference.tokens, reference.cone})) << query;
    }
}

TEST(TestSearchText, entriesInOrderFoldedAndJoinedByLineFeeds) {
    Recipe celadon =
        recipe("C\u00E9ladon \uFF22lue", {line("whiting", 10), line("", 5), line("mystery-clay", 3, true)});
    TestTile t = tile("T-001", &celadon, "6", "Thick on the R\u00CEM");
    t.atmosphere = "Reduction";
    const OrzaTest::ReferenceSearch::MaterialNames names{{"whiting", "Whiting"}};
    const std::string text = OrzaTest::ReferenceSearch::tileText(t, &celadon, names, "UTC", "en_US");
    EXPECT_EQ(text, "t-001\nt001\nceladon blue\ncone\n6\nreduction\nthick on the rim\n2026-09-14\n9/14/2026\n"
                    "whiting\nmystery-clay");
    t.notes.clear();
    EXPECT_EQ(OrzaTest::ReferenceSearch::tileText(t, nullptr, names, "UTC", "de_DE"),
              "t-001\nt001\ndeleted recipe\ncone\n6\nreduction\n\n2026-09-14\n14.9.2026");

    // The search finds the tile by each of those entries, and by no word that runs from one entry into the next.
    Log log;
    log.names = {names.begin(), names.end()};
    log.recipes = {celadon};
    log.tiles = {t};
    log.tiles[0].notes = "Thick on the R\u00CEM";
    for (const std::string_view entry : {"T-001", "t001", "C\u00C9LADON", "\uFF42lue", "cone", "rim", "2026-09-14",
                                         "9/14/2026", "Whiting", "mystery-clay"})
        EXPECT_EQ(log.find(entry), (std::vector<std::string>{"T-001"})) << entry;
    for (const std::string_view across : {"t001celadon", "6reduction", "rim2026", "whitingmystery", "2026whiting"})
        EXPECT_TRUE(log.find(across).empty()) << across;
}

TEST(TestSearchText, datesFollowTheTimeZone) {
    const Date evening = at(2026, 9, 14, 20); // already the 15th in New Zealand
    EXPECT_EQ(TestSearch::dateText(evening, "UTC"), "2026-09-14");
    EXPECT_EQ(TestSearch::dateText(evening, "Pacific/Auckland"), "2026-09-15");
    EXPECT_EQ(TestSearch::dateText(at(2026, 1, 1, 3), "America/Los_Angeles"), "2025-12-31");
    EXPECT_EQ(TestSearch::dateText(evening, "Not/AZone"), "2026-09-14");

    Log log;
    log.tiles = {tile("T-001")};
    log.tiles[0].date = evening;
    EXPECT_EQ(log.find("2026-09-15", {}, {}, "Pacific/Auckland"), (std::vector<std::string>{"T-001"}));
    EXPECT_EQ(log.find("15.9.2026", {}, {}, "Pacific/Auckland", "de_DE"), (std::vector<std::string>{"T-001"}));
    EXPECT_TRUE(log.find("2026-09-15").empty());
    EXPECT_EQ(log.find("9/14/2026"), (std::vector<std::string>{"T-001"}));

    // Many tiles on a few days: each tile keeps its own day.
    for (int h = 0; h < 48; ++h) {
        log.tiles.push_back(tile("D-" + std::to_string(h)));
        log.tiles.back().date = at(2026, 9, 14, h);
    }
    EXPECT_EQ(log.find("2026-09-15 d-", {}, {}, "Pacific/Auckland").size(), 24u);
    EXPECT_EQ(log.find("2026-09-16 d-", {}, {}, "Pacific/Auckland").size(), 12u);
}

TEST(TestSearchResults, coneQueryFoldsButTheConeFilterComparesExactly) {
    Log log;
    log.tiles = {tile("A", nullptr, "6"), tile("B", nullptr, "06"), tile("C", nullptr, " 6"),
                 tile("D", nullptr, "\uFF16"), tile("E", nullptr, "05\u00BD")};
    EXPECT_EQ(log.find("Cone 6"), (std::vector<std::string>{"A", "D"}));
    EXPECT_EQ(log.find("cone 06"), (std::vector<std::string>{"B"}));
    EXPECT_EQ(log.find("cone 05\u00BD"), (std::vector<std::string>{"E"}));
    EXPECT_EQ(log.find("", std::string("6")), (std::vector<std::string>{"A"}));
    EXPECT_EQ(log.find("cone 6", std::string("06")), (std::vector<std::string>{}));

    // 6.5 is no cone of the list nor of any tile, so both words must occur in the text.
    log.tiles.push_back(tile("F", nullptr, "7", "thin at 6.5 mm"));
    EXPECT_EQ(log.find("cone 6.5"), (std::vector<std::string>{"F"}));
    // A tile's own cone joins the vocabulary.
    log.tiles.push_back(tile("G", nullptr, "6.5"));
    EXPECT_EQ(log.find("cone 6.5"), (std::vector<std::string>{"G"}));
}

TEST(TestSearchResults, textTokensFindNotesRecipesMaterialsAndCodes) {
    Log log;
    log.recipes = {recipe("Shino Satin", {line("whiting", 20), line("mystery-clay", 5)})};
    const Recipe& shino = log.recipes[0];
    log.tiles = {tile("T-001", &shino, "6", "Email drips"), tile("T-007", &shino), tile("t-7a", nullptr),
                 tile("X-1", &shino, "10", "\u0413\u041B\u0410\u0417\u0423\u0420\u042C crawled")};
    log.tiles[1].atmosphere = "Reduction";

    EXPECT_EQ(log.find("\u00C9MAIL"), (std::vector<std::string>{"T-001"}));
    EXPECT_EQ(log.find("\uFF25\uFF2D\uFF21\uFF29\uFF2C"), (std::vector<std::string>{"T-001"})); // full-width
    EXPECT_EQ(log.find("deleted"), (std::vector<std::string>{"t-7a"}));
    EXPECT_EQ(log.find("WHITING satin"), (std::vector<std::string>{"T-001", "T-007", "X-1"}));
    EXPECT_EQ(log.find("mystery"), (std::vector<std::string>{"T-001", "T-007", "X-1"}));
    EXPECT_EQ(log.find("\u0433\u043B\u0430\u0437\u0443\u0440\u044C"), (std::vector<std::string>{"X-1"}));
    EXPECT_EQ(log.find("t001"), (std::vector<std::string>{"T-001"}));
    EXPECT_EQ(log.find("t-7"), (std::vector<std::string>{"T-007", "t-7a"})); // number, then substring
    EXPECT_EQ(log.find("t-0007"), (std::vector<std::string>{"T-007"}));
    EXPECT_EQ(log.find("shino t-7 reduction"), (std::vector<std::string>{"T-007"}));
    EXPECT_EQ(log.find("shino nothing"), (std::vector<std::string>{}));

    EXPECT_EQ(log.find("", {}, std::string("oxidation")), (std::vector<std::string>{"T-001", "t-7a", "X-1"}));
    EXPECT_EQ(log.find("", {}, std::string("REDUCTION")), (std::vector<std::string>{"T-007"}));
    EXPECT_EQ(log.find(" "), (std::vector<std::string>{"T-001", "T-007", "t-7a", "X-1"}));
}

TEST(TestSearchResults, matchesChecksTheFiltersBeforeTheText) {
    namespace Reference = OrzaTest::ReferenceSearch;
    const std::vector<Recipe> recipes{recipe("Gloss")};
    const Reference::RecipesByID byID = Reference::recipesByID(recipes);
    TestTile t = tile("T-003", &recipes[0], "6", "glossy");
    const Reference::MaterialNames none;
    const auto matches = [&](std::optional<std::string> cone, std::optional<std::string> atmosphere,
                             Reference::Query query) {
        return Reference::matches(t, cone, atmosphere, query, byID, none, "UTC", "en_US");
    };
    EXPECT_TRUE(matches("6", "oxidation", {{"glossy"}, "6"}));
    EXPECT_FALSE(matches("06", {}, {}));
    EXPECT_FALSE(matches({}, "reduction", {}));
    EXPECT_FALSE(matches({}, {}, {{}, "10"}));
    EXPECT_FALSE(matches({}, {}, {{"matte"}, {}}));

    EXPECT_TRUE(Reference::allTokensMatch({}, "", std::nullopt));
    EXPECT_TRUE(Reference::allTokensMatch({"t-3"}, "t-003", 3));
    EXPECT_FALSE(Reference::allTokensMatch({"t-3"}, "t-003", std::nullopt));
    EXPECT_FALSE(Reference::allTokensMatch({"t-3", "blue"}, "t-003", 3));

    // The same conditions in the search: each filter or word alone turns the tile away.
    Log log;
    log.recipes = recipes;
    log.tiles = {t};
    const std::vector<std::string> found{"T-003"};
    EXPECT_EQ(log.find("cone 6 glossy", std::string("6"), std::string("oxidation")), found);
    EXPECT_TRUE(log.find("", std::string("06")).empty());
    EXPECT_TRUE(log.find("", {}, std::string("reduction")).empty());
    EXPECT_TRUE(log.find("cone 10").empty());
    EXPECT_TRUE(log.find("matte").empty());
    EXPECT_EQ(log.find("t-3"), found);
    EXPECT_TRUE(log.find("t-3 blue").empty());
}

TEST(TestSearchFind, findByCodeExactThenByNumber) {
    const auto found = [](std::string_view typed, const std::vector<std::string>& codes) -> std::string {
        const auto hit = TestSearch::findByCode(typed, OrzaTest::tiles(codes));
        return hit ? hit->code : "<none>";
    };
    EXPECT_EQ(found("T-7", {"T-007", "t-7a"}), "T-007");
    EXPECT_EQ(found("t-7", {"t-7a", "T-007"}), "T-007");
    EXPECT_EQ(found(" \uFF54\uFF0D\uFF17\n", {"T-007"}), "T-007"); // full-width, padded
    EXPECT_EQ(found("T-7", {"T-007", "T-0007"}), "<none>");
    EXPECT_EQ(found("T-7", {"T-7", "T-007"}), "T-7"); // the exact code wins over the number
    EXPECT_EQ(found("glaze a", {"Glaze A", "b"}), "Glaze A");
    EXPECT_EQ(found("glaze a", {"Glaze A", "GLAZE A"}), "<none>");
    EXPECT_EQ(found("   ", {"T-001", ""}), "<none>");
    EXPECT_EQ(found("T-9", {"T-001"}), "<none>");
    EXPECT_EQ(found("blue", {"T-001"}), "<none>");
}

TEST(TestSearchNames, materialNamesKeepTheFirstNameOfAnID) {
    const BundledLibrary bundled = BundledLibrary::load();
    const LayeredLibrary library({{"whiting", "My whiting", {}, 0, ""}, {"whiting", "Other", {}, 0, ""}}, bundled);
    const auto names = TestSearch::materialNames(library);
    EXPECT_EQ(names.at("whiting"), "My whiting");
    EXPECT_EQ(names.at("silica"), bundled.material("silica")->name);
}

TEST(TestSearchResults, agreesWithTheTextOfEachTile) {
    // The search looks at a tile's entries in parts, each folded on its own; it must find exactly what the whole
    // text finds.
    Log log;
    log.names["celadon-base"] = "C\u00E9ladon \uFF22ase";
    log.recipes = {recipe("Shino", {line("whiting", 20), line("celadon-base", 5)}),
                   recipe("\u00C9mail Blue", {line("silica", 20), line("ghost-id", 1, true)})};
    std::mt19937 random(11);
    const std::vector<std::string> words{
        "glossy", "Pinholes", "\u00E9paisse", "1220\u00B0C", "t-12",
        "blue",   "T-0012",   "base",         "cone",        "\u0413\u041B\u0410\u0417\u0423\u0420\u042C"};
    const std::vector<std::string> zones{"UTC", "Pacific/Auckland", "America/St_Johns"};
    for (int t = 0; t < 300; ++t) {
        TestTile next = tile(random() % 7 == 0 ? "T-" + std::to_string(random() % 40) : "X" + std::to_string(t),
                             random() % 5 == 0 ? nullptr : &log.recipes[random() % 2], random() % 2 ? "6" : "05\u00BD",
                             words[random() % words.size()] + " " + words[random() % words.size()]);
        next.date = at(2020 + static_cast<int>(random() % 6), 1 + random() % 12, 1 + random() % 28,
                       static_cast<int>(random() % 24));
        log.tiles.push_back(next);
    }
    namespace Reference = OrzaTest::ReferenceSearch;
    const Reference::RecipesByID byID = Reference::recipesByID(log.recipes);
    const std::vector<std::string> queries{"glossy",        "\u00C9PAISSE blue", "t-12 base",
                                           "2023 shino",    "cone 6 ghost",      "c\u00E9ladon 2021-0",
                                           "deleted t0012", "1220 \u00B0c",      "cone 05\u00BD blue glossy",
                                           "x1 2024"};
    std::size_t matched = 0;
    for (const std::string& zone : zones) {
        std::vector<std::string> texts;
        for (const TestTile& t : log.tiles) {
            const auto found = byID.find(t.recipeID);
            texts.push_back(
                Reference::tileText(t, found == byID.end() ? nullptr : found->second, log.names, zone, "en_US"));
        }
        for (const std::string& query : queries) {
            const Reference::Query parsed = Reference::tokens(query, {"6", "05\u00BD"});
            std::vector<std::string> expected;
            for (std::size_t i = 0; i < log.tiles.size(); ++i) {
                const TestTile& t = log.tiles[i];
                if (parsed.cone && UnicodeText::fold(t.cone) != *parsed.cone) continue;
                if (Reference::allTokensMatch(parsed.tokens, texts[i], TileCode::number(t.code)))
                    expected.push_back(t.code);
            }
            EXPECT_EQ(log.find(query, {}, {}, zone), expected) << query << " in " << zone;
            matched += expected.size();
        }
    }
    EXPECT_GT(matched, 300u);
}
