#include "GlazeCore/book/SampleBook.h"
#include "GlazeCore/book/GlazeBookValidation.h"
#include "GlazeCore/library/BundledLibrary.h"
#include "GlazeCore/library/MaterialRules.h"
#include "GlazeCore/search/TestSearch.h"

#include <gtest/gtest.h>

#include <unordered_set>

using namespace GlazeCore;

namespace {

// The second book with the first one's ids, so that only the ids can differ.
GlazeBook withIDsOf(GlazeBook book, const GlazeBook& source) {
    for (std::size_t r = 0; r < book.recipes.size(); ++r) {
        book.recipes[r].id = source.recipes[r].id;
        for (std::size_t l = 0; l < book.recipes[r].lines.size(); ++l)
            book.recipes[r].lines[l].id = source.recipes[r].lines[l].id;
    }
    for (std::size_t t = 0; t < book.tests.size(); ++t) {
        book.tests[t].id = source.tests[t].id;
        book.tests[t].recipeID = source.tests[t].recipeID;
    }
    return book;
}

std::vector<Uuid> allIDs(const GlazeBook& book) {
    std::vector<Uuid> ids;
    for (const Recipe& recipe : book.recipes) {
        ids.push_back(recipe.id);
        for (const RecipeLine& line : recipe.lines)
            ids.push_back(line.id);
    }
    for (const TestTile& tile : book.tests)
        ids.push_back(tile.id);
    return ids;
}

} // namespace

TEST(SampleBook, everyCallGivesTheSameBookWithFreshIDs) {
    const GlazeBook first = SampleBook::makeBook();
    const GlazeBook second = SampleBook::makeBook();
    EXPECT_NE(first, second);
    EXPECT_EQ(withIDsOf(second, first), first);

    std::unordered_set<Uuid> seen;
    for (const GlazeBook* book : {&first, &second})
        for (const Uuid& id : allIDs(*book))
            EXPECT_TRUE(seen.insert(id).second);
    EXPECT_NO_THROW(GlazeBookValidation::validate(first));
}

TEST(SampleBook, recipesFollowTheTable) {
    const GlazeBook book = SampleBook::makeBook();
    ASSERT_EQ(book.recipes.size(), 6u);
    EXPECT_TRUE(book.customMaterials.empty());
    for (std::size_t i = 0; i < book.recipes.size(); ++i) {
        const Recipe& recipe = book.recipes[i];
        const SampleBook::Entry& entry = SampleBook::entries()[i];
        EXPECT_EQ(recipe.name, entry.name);
        EXPECT_EQ(recipe.cone, "6");
        EXPECT_EQ(recipe.notes, "Sample recipe. " + entry.notes + " Test every recipe on tiles before use.");
        EXPECT_EQ(recipe.baseTotal(), 100.0) << recipe.name;
        ASSERT_EQ(recipe.lines.size(), entry.base.size() + entry.additions.size());
        for (std::size_t l = 0; l < recipe.lines.size(); ++l)
            EXPECT_EQ(recipe.lines[l].isAddition, l >= entry.base.size());
    }
    EXPECT_EQ(book.recipes[0].name, "Tidewater Feldspar Gloss");
    EXPECT_EQ(book.recipes[5].name, "Ember Strontium Gloss");
    const RecipeLine& titanium = book.recipes[4].lines.back();
    EXPECT_EQ(titanium.materialID, "titanium-dioxide");
    EXPECT_EQ(titanium.amount, 4);
    EXPECT_TRUE(titanium.isAddition);
    EXPECT_EQ(book.recipes[5].lines.back().materialID, "red-iron-oxide");
    EXPECT_EQ(book.recipes[5].lines.back().amount, 3);
    EXPECT_EQ(book.recipes[1].notes, "Sample recipe. A glossy clear base. Calcium borate frit with soda feldspar and "
                                     "a little talc. Test every recipe on tiles before use.");
}

TEST(SampleBook, tilesAreCodedAndDatedAtNoonUTC) {
    const GlazeBook book = SampleBook::makeBook();
    ASSERT_EQ(book.tests.size(), 3u);
    EXPECT_EQ(book.version, 1);
    EXPECT_EQ(book.nextTileNumber, 4);
    const std::vector<std::string> codes{"T-001", "T-002", "T-003"};
    const std::vector<std::size_t> recipeOf{1, 2, 5};
    const std::vector<std::string> days{"2026-09-14", "2026-09-21", "2026-10-05"};
    for (std::size_t t = 0; t < 3; ++t) {
        const TestTile& tile = book.tests[t];
        EXPECT_EQ(tile.code, codes[t]);
        EXPECT_EQ(tile.recipeID, book.recipes[recipeOf[t]].id);
        EXPECT_EQ(tile.cone, "6");
        EXPECT_EQ(tile.atmosphere, "Oxidation");
        EXPECT_FALSE(tile.photoBookmark);
        ASSERT_EQ(tile.schedule.size(), 3u);
        // Noon UTC reads as the same day from UTC−12 to UTC+11 (the Etc zones count the other way round).
        for (int hours = -12; hours <= 11; ++hours) {
            const std::string zone =
                hours == 0 ? "UTC" : "Etc/GMT" + std::string(hours < 0 ? "+" : "-") + std::to_string(std::abs(hours));
            EXPECT_EQ(TestSearch::dateText(tile.date, zone), days[t]) << zone;
        }
    }
    EXPECT_EQ(TestSearch::dateText(book.tests[0].date, "Etc/GMT-12"), "2026-09-15");
    EXPECT_EQ(book.tests[2].schedule[2], (FiringSegment{50, 1215, 20}));
    EXPECT_NE(book.tests[0].notes.find(book.tests[0].code), std::string::npos);
}

TEST(SampleBook, everyMaterialIsShippedAndUsable) {
    const BundledLibrary library = BundledLibrary::load();
    for (const Recipe& recipe : SampleBook::makeBook().recipes)
        for (const RecipeLine& line : recipe.lines) {
            const auto material = library.material(line.materialID);
            ASSERT_TRUE(material) << "unknown material " << line.materialID << " in " << recipe.name;
            EXPECT_TRUE(MaterialRules::isValid(*material)) << line.materialID;
        }
}

TEST(SampleBook, introNoteNamesTheApplication) {
    EXPECT_EQ(SampleBook::introNote("Orza"),
              "Try three tools on this sample. Recipe > Replace Material: replace Whiting with Wollastonite, and Orza "
              "works out new amounts. Recipe > Oxide Nudge: move one oxide to a target. Tests > Find Test: find a "
              "tile by the code on its back. Each has a toolbar button. File > New starts your own book. Help > Open "
              "Sample Book opens this sample again.");
}
