#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/book/GlazeError.h"
#include "support/BookBuilders.h"

#include <cmath>
#include <gtest/gtest.h>
#include <unordered_set>

using namespace GlazeCore;
using OrzaTest::line;
using OrzaTest::recipe;

TEST(Oxide, formulasAreExactAndInFixedOrder) {
    EXPECT_EQ(OxideNames::fromRaw("Al2O3"), Oxide::Al2O3);
    EXPECT_EQ(OxideNames::index(Oxide::Al2O3), 10u);
    EXPECT_FALSE(OxideNames::fromRaw("AL2O3"));
    EXPECT_FALSE(OxideNames::fromRaw("al2o3"));
    EXPECT_FALSE(OxideNames::fromRaw(" Al2O3"));
    EXPECT_FALSE(OxideNames::fromRaw("Al₂O₃"));
    const auto& all = OxideNames::allCases();
    ASSERT_EQ(all.size(), 22u);
    EXPECT_EQ(OxideNames::rawValue(all.front()), "Li2O");
    EXPECT_EQ(OxideNames::rawValue(all[11]), "SiO2");
    EXPECT_EQ(OxideNames::rawValue(all.back()), "P2O5");
    for (Oxide oxide : all)
        EXPECT_EQ(OxideNames::fromRaw(OxideNames::rawValue(oxide)), oxide);
    EXPECT_EQ(OxideNames::roleFromRaw("glassFormer"), OxideRole::glassFormer);
    EXPECT_FALSE(OxideNames::roleFromRaw("GlassFormer"));
}

TEST(Recipe, baseTotalCountsOnlyFinitePositiveBaseLines) {
    Recipe r = recipe("Celadon", {line("silica", 60), line("kaolin", 40), line("red-iron-oxide", 5, true)});
    EXPECT_EQ(r.baseTotal(), 100);
    r.lines.push_back(line("whiting", -10));
    r.lines.push_back(line("whiting", 0));
    r.lines.push_back(line("whiting", std::nan("")));
    r.lines.push_back(line("whiting", INFINITY));
    EXPECT_EQ(r.baseTotal(), 100);
    EXPECT_EQ(recipe("Additions", {line("a", 3, true), line("b", 4, true)}).baseTotal(), 0);
}

TEST(BookEquality, textsCompareByCanonicalEquivalence) {
    Recipe a = recipe("Caf\u00e9 blue");
    Recipe b = a;
    b.name = "Cafe\u0301 blue";
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::hash<Recipe>{}(a), std::hash<Recipe>{}(b));
    b.name = "cafe blue";
    EXPECT_NE(a, b);
}

TEST(BookEquality, doublesCompareByIeeeEquality) {
    Recipe r = recipe("Zero", {line("silica", 0.0)});
    Recipe negativeZero = r;
    negativeZero.lines[0].amount = -0.0;
    EXPECT_EQ(r, negativeZero);
    EXPECT_EQ(std::hash<Recipe>{}(r), std::hash<Recipe>{}(negativeZero));

    Recipe withNaN = recipe("NaN", {line("silica", std::nan(""))});
    const Recipe copy = withNaN;
    EXPECT_NE(withNaN, copy);
    GlazeBook book;
    book.recipes.push_back(withNaN);
    EXPECT_FALSE(book == book);
}

TEST(BookEquality, bookComparesEveryCollectionAndCounter) {
    GlazeBook a;
    a.tests.push_back(OrzaTest::tile("T-001"));
    GlazeBook b = a;
    EXPECT_EQ(a, b);
    b.tests[0].photoBookmark = Bytes{1, 2, 3};
    EXPECT_NE(a, b);
    b = a;
    b.nextTileNumber = 2;
    EXPECT_NE(a, b);
    b = a;
    b.tests[0].date += std::chrono::seconds(1);
    EXPECT_NE(a, b);

    Material m{"custom-ash", "Ash", {{Oxide::SiO2, 50}, {Oxide::CaO, 30}}, 10, "Wood ash"};
    Material reordered{"custom-ash", "Ash", {{Oxide::CaO, 30}, {Oxide::SiO2, 50}}, 10, "Wood ash"};
    EXPECT_EQ(m, reordered);
    EXPECT_EQ(std::hash<Material>{}(m), std::hash<Material>{}(reordered));
    Material missingOxide = m;
    missingOxide.analysis.erase(Oxide::CaO);
    EXPECT_NE(m, missingOxide);
}

TEST(BookEquality, hashesLetEqualValuesMeetInSets) {
    std::unordered_set<TestTile> set;
    TestTile t = OrzaTest::tile("T-001");
    set.insert(t);
    TestTile same = t;
    same.notes = "";
    EXPECT_EQ(set.count(same), 1u);
    same.code = "T-002";
    EXPECT_EQ(set.count(same), 0u);
}

TEST(GlazeError, equalityByCaseAndPayload) {
    EXPECT_EQ(GlazeError::missingOxideData(Oxide::CoO), GlazeError::missingOxideData(Oxide::CoO));
    EXPECT_FALSE(GlazeError::missingOxideData(Oxide::CoO) == GlazeError::missingOxideData(Oxide::CuO));
    EXPECT_FALSE(GlazeError::resourceMissing("oxides.json") == GlazeError::nonFiniteAmount("oxides.json"));
    EXPECT_EQ(GlazeError::nonFiniteAmount("caf\u00e9"), GlazeError::nonFiniteAmount("cafe\u0301"));
}
