#include "GlazeCore/recipe/Blend.h"
#include "support/BookBuilders.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace GlazeCore;
using OrzaTest::line;
using OrzaTest::recipe;

namespace {

std::vector<std::string> names(const std::vector<Recipe>& tiles) {
    std::vector<std::string> out;
    for (const auto& tile : tiles)
        out.push_back(tile.name);
    return out;
}

// Amount by material (base lines only, "+" prefix for additions); a material twice would show up as a sum.
std::map<std::string, double> amounts(const Recipe& tile) {
    std::map<std::string, double> out;
    for (const auto& l : tile.lines)
        out[(l.isAddition ? "+" : "") + l.materialID] += l.amount;
    return out;
}

struct Corners {
    // Bases of 50 and 200, so every blend must first bring each to 100.
    Recipe a = recipe("Tidewater Feldspar Gloss", {line("silica", 30), line("kaolin", 20)});
    Recipe b = recipe("Ember Strontium Gloss", {line("silica", 100), line("whiting", 100), line("rutile", 2, true)});
    Recipe c = recipe("Moss Matte", {line("talc", 10)});
    Recipe d = recipe("Iron Red", {line("feldspar", 4)});
};

} // namespace

TEST(BlendLine, gradesFromAllAToAllB) {
    Corners k;
    k.a.cone = "10";
    k.a.notes = "corner notes";
    const auto tiles = Blend::line(k.a, k.b, 5);
    EXPECT_EQ(names(tiles), (std::vector<std::string>{
                                "Line 1/5: 100% Tidewater Feldspar Gloss",
                                "Line 2/5: 75% Tidewater Feldspar Gloss, 25% Ember Strontium Gloss",
                                "Line 3/5: 50% Tidewater Feldspar Gloss, 50% Ember Strontium Gloss",
                                "Line 4/5: 25% Tidewater Feldspar Gloss, 75% Ember Strontium Gloss",
                                "Line 5/5: 100% Ember Strontium Gloss",
                            }));
    // A weight of 0 brings none of b's materials.
    EXPECT_EQ(amounts(tiles[0]), (std::map<std::string, double>{{"silica", 60}, {"kaolin", 40}}));
    EXPECT_EQ(amounts(tiles[1]),
              (std::map<std::string, double>{{"silica", 57.5}, {"kaolin", 30}, {"whiting", 12.5}, {"+rutile", 0.25}}));
    EXPECT_EQ(amounts(tiles[4]), (std::map<std::string, double>{{"silica", 50}, {"whiting", 50}, {"+rutile", 1}}));
    // First-seen order: a's lines, then b's new ones.
    ASSERT_EQ(tiles[1].lines.size(), 4u);
    EXPECT_EQ(tiles[1].lines[0].materialID, "silica");
    EXPECT_EQ(tiles[1].lines[1].materialID, "kaolin");
    EXPECT_EQ(tiles[1].lines[2].materialID, "whiting");
    EXPECT_EQ(tiles[1].lines[3].materialID, "rutile");

    std::set<Uuid> ids{k.a.id, k.b.id};
    for (const auto& l : k.a.lines)
        ids.insert(l.id);
    for (const auto& l : k.b.lines)
        ids.insert(l.id);
    std::size_t made = ids.size();
    for (const auto& tile : tiles) {
        EXPECT_EQ(tile.cone, "10");
        EXPECT_EQ(tile.notes, "");
        ids.insert(tile.id);
        made += 1 + tile.lines.size();
        for (const auto& l : tile.lines)
            ids.insert(l.id);
    }
    EXPECT_EQ(ids.size(), made) << "every tile and tile line gets an id of its own";
}

TEST(BlendLine, oneStepIsTheFirstCornerAloneAndNoStepsIsNothing) {
    Corners k;
    const auto one = Blend::line(k.a, k.b, 1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].name, "Tidewater Feldspar Gloss 100%");
    EXPECT_EQ(amounts(one[0]), (std::map<std::string, double>{{"silica", 60}, {"kaolin", 40}}));
    EXPECT_TRUE(Blend::line(k.a, k.b, 0).empty());
    EXPECT_TRUE(Blend::line(k.a, k.b, -3).empty());
}

TEST(BlendTriaxial, walksTheTriangleRowByRow) {
    Corners k;
    const auto tiles = Blend::triaxial(k.a, k.b, k.c, 2);
    EXPECT_EQ(names(tiles), (std::vector<std::string>{
                                "Tri 1: 100% Tidewater Feldspar Gloss",
                                "Tri 2: 50% Tidewater Feldspar Gloss, 50% Ember Strontium Gloss",
                                "Tri 3: 50% Tidewater Feldspar Gloss, 50% Moss Matte",
                                "Tri 4: 100% Ember Strontium Gloss",
                                "Tri 5: 50% Ember Strontium Gloss, 50% Moss Matte",
                                "Tri 6: 100% Moss Matte",
                            }));
    EXPECT_EQ(amounts(tiles[4]),
              (std::map<std::string, double>{{"silica", 25}, {"whiting", 25}, {"+rutile", 0.5}, {"talc", 50}}));

    const auto fifths = Blend::triaxial(k.a, k.b, k.c, 5);
    ASSERT_EQ(fifths.size(), 21u);
    EXPECT_EQ(fifths[20].name, "Tri 21: 100% Moss Matte");
    for (const auto& tile : fifths)
        EXPECT_NEAR(tile.baseTotal(), 100, 1e-9) << tile.name;

    // Each percentage is rounded on its own, so a name may add up to 101 (or 99).
    const auto sixths = Blend::triaxial(k.a, k.b, k.c, 6);
    ASSERT_EQ(sixths.size(), 28u);
    EXPECT_EQ(sixths[4].name, "Tri 5: 67% Tidewater Feldspar Gloss, 17% Ember Strontium Gloss, 17% Moss Matte");
    EXPECT_EQ(Blend::triaxial(k.a, k.b, k.c, 3)[4].name,
              "Tri 5: 33% Tidewater Feldspar Gloss, 33% Ember Strontium Gloss, 33% Moss Matte");

    const auto single = Blend::triaxial(k.a, k.b, k.c, 0);
    EXPECT_EQ(names(single), (std::vector<std::string>{"Tidewater Feldspar Gloss 100%"}));
    EXPECT_TRUE(Blend::triaxial(k.a, k.b, k.c, -1).empty());
}

TEST(BlendGrid, interpolatesBilinearlyRowByRow) {
    Corners k;
    const std::vector<Recipe> corners{k.a, k.b, k.c, k.d};
    EXPECT_EQ(names(Blend::grid(corners, 2, 2)), (std::vector<std::string>{
                                                     "Grid r1 c1: 100% Tidewater Feldspar Gloss",
                                                     "Grid r1 c2: 100% Ember Strontium Gloss",
                                                     "Grid r2 c1: 100% Moss Matte",
                                                     "Grid r2 c2: 100% Iron Red",
                                                 }));
    const auto three = Blend::grid(corners, 3, 3);
    EXPECT_EQ(three[4].name,
              "Grid r2 c2: 25% Tidewater Feldspar Gloss, 25% Ember Strontium Gloss, 25% Moss Matte, 25% Iron Red");
    EXPECT_EQ(
        amounts(three[4]),
        (std::map<std::string, double>{
            {"silica", 27.5}, {"kaolin", 10}, {"whiting", 12.5}, {"+rutile", 0.25}, {"talc", 25}, {"feldspar", 25}}));

    const auto ten = Blend::grid(corners, 10, 10);
    ASSERT_EQ(ten.size(), 100u);
    EXPECT_EQ(ten[0].name, "Grid r1 c1: 100% Tidewater Feldspar Gloss");
    EXPECT_EQ(ten[3].name, "Grid r1 c4: 67% Tidewater Feldspar Gloss, 33% Ember Strontium Gloss");
    EXPECT_EQ(ten[10].name, "Grid r2 c1: 89% Tidewater Feldspar Gloss, 11% Moss Matte");
    EXPECT_EQ(ten[99].name, "Grid r10 c10: 100% Iron Red");
    for (const auto& tile : ten)
        EXPECT_NEAR(tile.baseTotal(), 100, 1e-9) << tile.name;

    // One row or column takes the top or left edge.
    EXPECT_EQ(names(Blend::grid(corners, 1, 1)),
              (std::vector<std::string>{"Grid r1 c1: 100% Tidewater Feldspar Gloss"}));
    EXPECT_EQ(Blend::grid(corners, 3, 1)[2].name, "Grid r3 c1: 100% Moss Matte");

    EXPECT_TRUE(Blend::grid({k.a, k.b, k.c}, 2, 2).empty());
    EXPECT_TRUE(Blend::grid({k.a, k.b, k.c, k.d, k.a}, 2, 2).empty());
    EXPECT_TRUE(Blend::grid(corners, 0, 2).empty());
    EXPECT_TRUE(Blend::grid(corners, 2, -1).empty());
}

TEST(BlendCorners, sentencesNameTheFirstCornerThatCannotBlend) {
    Corners k;
    const Recipe noBase = recipe("", {line("cobalt", 2, true)});
    const std::string noBaseText =
        "\u201CUntitled recipe\u201D has no base materials. Each recipe in a blend needs a base total above 0.";
    EXPECT_EQ(Blend::checkCorner(noBase), noBaseText);
    EXPECT_EQ(Blend::checkCorner(recipe("Named")),
              "\u201CNamed\u201D has no base materials. Each recipe in a blend needs a base total above 0.");
    EXPECT_EQ(Blend::checkCorner(recipe("Huge", {line("silica", 1.5e308), line("kaolin", 1.5e308)})),
              "\u201CHuge\u201D has a base total too large to blend.");

    const std::string tooLarge = "\u201CStrong\u201D has additions too large for its base to blend.";
    // 1,000,000 % of the base is still allowed; more is not, nor a negative of that size, nor a NaN.
    EXPECT_EQ(Blend::checkCorner(recipe("Strong", {line("silica", 1), line("stain", 10'000, true)})), std::nullopt);
    EXPECT_EQ(Blend::checkCorner(recipe("Strong", {line("silica", 1), line("stain", 10'000.5, true)})), tooLarge);
    EXPECT_EQ(Blend::checkCorner(recipe("Strong", {line("silica", 1), line("stain", -20'000, true)})), tooLarge);
    EXPECT_EQ(Blend::checkCorner(recipe("Strong", {line("silica", 1), line("stain", std::nan(""))})), tooLarge);

    EXPECT_EQ(Blend::cornerProblem({k.a, k.b}), std::nullopt);
    EXPECT_EQ(Blend::cornerProblem({k.a, noBase, recipe("Named")}), noBaseText);

    EXPECT_TRUE(Blend::line(k.a, noBase, 3).empty());
    EXPECT_TRUE(Blend::line(noBase, k.a, 1).empty());
    EXPECT_TRUE(Blend::triaxial(k.a, k.b, noBase, 2).empty());
    EXPECT_TRUE(Blend::grid({k.a, k.b, k.c, noBase}, 2, 2).empty());
}

TEST(BlendMix, mergesByMaterialAndRoleInFirstSeenOrder) {
    const Recipe a = recipe("A", {line("rutile", 40), line("silica", 60), line("", 5, true)});
    const Recipe b = recipe("B", {line("silica", 100), line("rutile", 4, true), line("cobalt", -2, true)});
    const Recipe tile = Blend::mix({{a, 0.5}, {b, 0.5}}, "Half", a);
    ASSERT_EQ(tile.lines.size(), 5u);
    EXPECT_EQ(tile.name, "Half");
    // Same base material summed; a base material that is an addition elsewhere stays two lines; a
    // blank id and a negative amount are carried over.
    EXPECT_EQ(tile.lines[0].materialID, "rutile");
    EXPECT_FALSE(tile.lines[0].isAddition);
    EXPECT_EQ(tile.lines[0].amount, 20);
    EXPECT_EQ(tile.lines[1].materialID, "silica");
    EXPECT_EQ(tile.lines[1].amount, 80);
    EXPECT_EQ(tile.lines[2].materialID, "");
    EXPECT_EQ(tile.lines[2].amount, 2.5);
    EXPECT_EQ(tile.lines[3].materialID, "rutile");
    EXPECT_TRUE(tile.lines[3].isAddition);
    EXPECT_EQ(tile.lines[3].amount, 2);
    EXPECT_EQ(tile.lines[4].materialID, "cobalt");
    EXPECT_EQ(tile.lines[4].amount, -1);

    // Ids that are canonically equal are one material; the first spelling is kept.
    const Recipe composed = recipe("C", {line("caf\u00e9", 50), line("silica", 50)});
    const Recipe decomposed = recipe("D", {line("cafe\u0301", 100)});
    const Recipe merged = Blend::mix({{composed, 0.5}, {decomposed, 0.5}}, "Merged", composed);
    ASSERT_EQ(merged.lines.size(), 2u);
    EXPECT_EQ(merged.lines[0].materialID, "caf\u00e9");
    EXPECT_EQ(merged.lines[0].amount, 75);
}

TEST(BlendMix, dropsCancelledLinesAndSkipsEmptyParts) {
    const Recipe a = recipe("A", {line("silica", 50), line("stain", 50, true)});
    const Recipe b = recipe("B", {line("silica", 100), line("stain", -100, true)});
    const Recipe tile = Blend::mix({{a, 0.5}, {b, 0.5}}, "Cancel", a);
    ASSERT_EQ(tile.lines.size(), 1u) << "a sum of exactly 0 gives no line";
    EXPECT_EQ(tile.lines[0].materialID, "silica");

    const Recipe empty = recipe("Empty");
    const Recipe withEmpty = Blend::mix({{empty, 0.5}, {a, 0.5}, {b, 0}}, "Skip", empty);
    EXPECT_EQ(amounts(withEmpty), (std::map<std::string, double>{{"silica", 50}, {"+stain", 50}}));
    EXPECT_EQ(Blend::weightsText({{empty, 0.5}, {a, 0.5}, {b, 0}}), "50% Empty, 50% A");
}

TEST(BlendMix, scalesLinesWhenTheBaseIsTooSmallToInvert) {
    // 100 / 1e-310 overflows; the lines are then scaled one by one.
    const double subnormal = 1e-310;
    const Recipe tiny = recipe("Tiny", {line("silica", subnormal), line("stain", subnormal * 2, true)});
    ASSERT_EQ(Blend::checkCorner(tiny), std::nullopt);
    const auto tiles = Blend::line(tiny, tiny, 1);
    ASSERT_EQ(tiles.size(), 1u);
    EXPECT_EQ(amounts(tiles[0]), (std::map<std::string, double>{{"silica", 100}, {"+stain", 200}}));
}
