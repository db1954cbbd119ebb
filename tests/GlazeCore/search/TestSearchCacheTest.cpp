// The cache must answer after any run of edits exactly as a search of the book as it now is.
#include "GlazeCore/search/TestSearchCache.h"
#include "GlazeCore/search/SearchParts.h"
#include "GlazeCore/tilecode/TileCode.h"
#include "support/BookBuilders.h"
#include "support/ReferenceSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>

using namespace GlazeCore;

namespace {

const std::vector<std::string> words{"glossy", "Pinholes", "\u00E9paisse", "blue", "T-0012",    "Shino", "base",
                                     "cone",   "6",        "t-3",          "2024", "\u00C9MAIL"};
const std::vector<std::string> cones{"6", "06", "10", "05\u00BD"};
const std::vector<std::string> atmospheres{"Oxidation", "Reduction", "r\u00E9duction"};

/// A book edited at random, each edit told to the cache as the document's signals tell it.
class EditedBook {
public:
    EditedBook() {
        for (int r = 0; r < 6; ++r)
            recipes.push_back(makeRecipe());
        for (int t = 0; t < 100; ++t)
            tiles.push_back(makeTile());
    }

    std::vector<Recipe> recipes;
    std::vector<TestTile> tiles;
    SearchParts::MaterialNames names{{"whiting", "Whiting"}, {"silica", "Silica"}, {"kaolin", "Kaolin"}};
    std::string zone = "UTC";
    TestSearchCache cache;

    void editOnce() {
        switch (pick(10)) {
        case 0: {
            const std::size_t row = pick(tiles.size());
            tiles[row].notes = words[pick(words.size())] + " " + words[pick(words.size())];
            cache.tileChanged(row);
            break;
        }
        case 1: {
            const std::size_t row = pick(tiles.size());
            tiles[row].code = "T-" + std::to_string(pick(30));
            tiles[row].cone = cones[pick(cones.size())];
            tiles[row].recipeID = recipes[pick(recipes.size())].id;
            cache.tileChanged(row);
            break;
        }
        case 2: {
            const std::size_t first = pick(tiles.size() + 1), count = 1 + pick(3);
            for (std::size_t i = 0; i < count; ++i)
                tiles.insert(tiles.begin() + static_cast<std::ptrdiff_t>(first), makeTile());
            cache.tilesInserted(first, count);
            break;
        }
        case 3: {
            if (tiles.size() < 5) break;
            const std::size_t first = pick(tiles.size() - 3), count = 1 + pick(3);
            tiles.erase(tiles.begin() + static_cast<std::ptrdiff_t>(first),
                        tiles.begin() + static_cast<std::ptrdiff_t>(first + count));
            cache.tilesRemoved(first, count);
            break;
        }
        case 4: {
            Recipe& recipe = recipes[pick(recipes.size())];
            recipe.name = words[pick(words.size())] + " recipe";
            cache.recipeChanged(recipe.id);
            break;
        }
        case 5: {
            Recipe& recipe = recipes[pick(recipes.size())];
            recipe.lines.push_back(OrzaTest::line(pick(2) ? "kaolin" : "ghost-" + std::to_string(pick(9)), 5));
            cache.recipeChanged(recipe.id);
            break;
        }
        case 6:
            // Removing a recipe leaves its tiles on "Deleted recipe"; putting one back names them again.
            if (pick(2) && recipes.size() > 2)
                recipes.erase(recipes.begin() + static_cast<std::ptrdiff_t>(pick(recipes.size())));
            else
                recipes.insert(recipes.begin(), makeRecipe());
            cache.recipesChanged();
            break;
        case 7:
            names["kaolin"] = words[pick(words.size())];
            cache.materialNamesChanged();
            break;
        case 8:
            zone = pick(2) ? "UTC" : "Pacific/Kiritimati";
            break;
        default: {
            // Thirteen hours move a tile's day in most zones.
            const std::size_t row = pick(tiles.size());
            tiles[row].date += std::chrono::hours(13);
            cache.tileChanged(row);
            break;
        }
        }
    }

    std::string query() {
        std::string text;
        for (std::size_t n = pick(4); n > 0; --n)
            text += words[pick(words.size())] + (pick(3) ? " " : "\t");
        if (pick(4) == 0) text += "cone " + cones[pick(cones.size())];
        return text;
    }
    std::optional<std::string> cone() { return pick(5) == 0 ? std::optional(cones[pick(cones.size())]) : std::nullopt; }
    std::optional<std::string> atmosphere() {
        return pick(5) == 0 ? std::optional(atmospheres[pick(atmospheres.size())]) : std::nullopt;
    }

    /// The rows that the plain reference search of the book as it is finds.
    std::vector<std::uint32_t> expected(const std::string& query, const std::optional<std::string>& coneFilter,
                                        const std::optional<std::string>& atmosphereFilter) const {
        std::vector<std::uint32_t> rows;
        std::size_t row = 0;
        for (const TestTile& match : OrzaTest::ReferenceSearch::results(tiles, recipes, names, query, coneFilter,
                                                                        atmosphereFilter, zone, "de_DE")) {
            while (tiles[row].id != match.id)
                ++row;
            rows.push_back(static_cast<std::uint32_t>(row));
        }
        return rows;
    }

private:
    std::mt19937 m_random{2024};

    std::size_t pick(std::size_t n) { return static_cast<std::size_t>(m_random() % n); }

    Recipe makeRecipe() {
        return OrzaTest::recipe(words[pick(words.size())], {OrzaTest::line(pick(2) ? "whiting" : "silica", 10)});
    }

    TestTile makeTile() {
        TestTile t = OrzaTest::tile("T-" + std::to_string(pick(30)));
        t.recipeID = pick(6) == 0 ? Uuid::random() : recipes[pick(recipes.size())].id;
        t.cone = cones[pick(cones.size())];
        t.atmosphere = atmospheres[pick(atmospheres.size())];
        t.notes = words[pick(words.size())];
        t.date = std::chrono::sys_days{std::chrono::year{2024} / 1 / 1} + std::chrono::hours{pick(24 * 400)};
        return t;
    }
};

} // namespace

// Before a run of edits the cache is sometimes made ready a slice at a time, as idle time does, so the edits meet
// tiles made and tiles still to be made; each query is also typed letter by letter, so that later answers start
// from earlier ones, and asked of single tiles.
TEST(TestSearchCache, AnswersAfterEveryKindOfEditAsAFreshSearch) {
    EditedBook book;
    std::size_t found = 0;
    for (int step = 0; step < 400; ++step) {
        if (step % 3 == 0) book.cache.prepare(book.tiles, book.zone, "de_DE", std::chrono::steady_clock::now());
        for (int edit = 0; edit <= step % 3; ++edit)
            book.editOnce();
        for (int q = 0; q < 3; ++q) {
            const std::string query = book.query();
            const auto cone = book.cone();
            const auto atmosphere = book.atmosphere();
            const auto search = [&](const std::string& text) {
                return book.cache.search(book.tiles, book.recipes, book.names, text, cone, atmosphere, book.zone,
                                         "de_DE");
            };
            const auto rows = search(query);
            ASSERT_EQ(rows, book.expected(query, cone, atmosphere)) << "step " << step << ": " << query;
            ASSERT_EQ(book.cache.preparedCount(), book.tiles.size());
            found += rows.size();
            if (q != 0) continue;
            for (std::size_t length = 1; length < query.size(); ++length) {
                const std::string typed = query.substr(0, length);
                ASSERT_EQ(search(typed), book.expected(typed, cone, atmosphere)) << "step " << step << ": " << typed;
            }
            for (std::uint32_t row = 0; row < book.tiles.size(); ++row) {
                const bool among = std::binary_search(rows.begin(), rows.end(), row);
                ASSERT_EQ(book.cache.matches(book.tiles, book.recipes, book.names, row, query, cone, atmosphere,
                                             book.zone, "de_DE"),
                          among)
                    << "step " << step << ", row " << row << ": " << query;
            }
        }
    }
    EXPECT_GT(found, 1000u);
}

// Idle time makes the texts a slice at a time; a slice cut short goes on where it stopped, and an edit undoes
// only the tile it touched.
TEST(TestSearchCache, PreparesInSlicesUntilEveryTileIsReady) {
    EditedBook book;
    for (int copy = 0; copy < 8; ++copy)
        book.tiles.insert(book.tiles.end(), book.tiles.begin(), book.tiles.begin() + 40);
    const std::size_t tiles = book.tiles.size();
    int slices = 0;
    while (book.cache.prepare(book.tiles, book.zone, "de_DE", std::chrono::steady_clock::now()))
        ASSERT_LT(++slices, 1000);
    EXPECT_GT(slices, 0); // more tiles than one slice makes past its deadline
    EXPECT_EQ(book.cache.preparedCount(), tiles);
    book.cache.tileChanged(3);
    book.cache.tilesInserted(tiles, 2);
    EXPECT_EQ(book.cache.preparedCount(), tiles - 1);
    book.tiles[3].notes = "kiln";
    book.tiles.insert(book.tiles.end(), 2, book.tiles[3]);
    EXPECT_FALSE(book.cache.prepare(book.tiles, book.zone, "de_DE", std::chrono::steady_clock::time_point::max()));
    EXPECT_EQ(book.cache.preparedCount(), tiles + 2);
    EXPECT_EQ(
        book.cache.search(book.tiles, book.recipes, book.names, "kiln", {}, {}, book.zone, "de_DE"),
        (std::vector<std::uint32_t>{3, static_cast<std::uint32_t>(tiles), static_cast<std::uint32_t>(tiles + 1)}));
}

TEST(TestSearchCache, ManyWordsAreAllRequired) {
    std::vector<TestTile> tiles{OrzaTest::tile("T-001"), OrzaTest::tile("T-002")};
    std::string query;
    for (int i = 0; i < 70; ++i) {
        const std::string word = "w" + std::to_string(i);
        tiles[0].notes += word + " ";
        if (i != 66) tiles[1].notes += word + " ";
        query += word + " ";
    }
    TestSearchCache cache;
    EXPECT_EQ(cache.search(tiles, {}, {}, query, {}, {}, "UTC", "en_US"), std::vector<std::uint32_t>{0});
    tiles[1].notes += "w66";
    cache.tileChanged(1);
    EXPECT_EQ(cache.search(tiles, {}, {}, query, {}, {}, "UTC", "en_US"), (std::vector<std::uint32_t>{0, 1}));
}

TEST(TestSearchCache, QuickChecksFindWhatFindFinds) {
    std::mt19937 random(3);
    const std::string alphabet = "abcdefghij0123-\xC3\xA9\xE2\x80\x93";
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        for (std::size_t n = random() % 200; n > 0; --n)
            text += alphabet[random() % alphabet.size()];
        const SearchParts::Signature whole(text);
        // A piece of the text, or a piece of it with one byte changed, which may or may not occur elsewhere.
        const std::size_t start = text.empty() ? 0 : random() % text.size();
        std::string word = text.substr(start, 1 + random() % 12);
        if (word.empty()) word = "a";
        if (random() % 2) word[random() % word.size()] = alphabet[random() % alphabet.size()];
        const bool found = text.find(word) != std::string::npos;
        ASSERT_EQ(SearchParts::contains(text, word), found) << text << " / " << word;
        if (found) {
            ASSERT_TRUE(whole.mayContain(SearchParts::Signature(word))) << text << " / " << word;
        }
    }
}
