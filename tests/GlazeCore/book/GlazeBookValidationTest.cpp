#include "GlazeCore/book/GlazeBookValidation.h"
#include "support/BookBuilders.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace GlazeCore;
using OrzaTest::line;
using OrzaTest::recipe;

namespace {

// The sentence the validation throws, or "" when the book passes.
std::string failure(const GlazeBook& book) {
    try {
        GlazeBookValidation::validate(book);
    } catch (const GlazeBookError& error) {
        return error.message();
    }
    return "";
}

GlazeBook bookWithVersion(std::int64_t version) {
    GlazeBook book;
    book.version = version;
    return book;
}

Material material(std::string id, std::string name, Analysis analysis = {}, double loi = 0) {
    return {std::move(id), std::move(name), std::move(analysis), loi, ""};
}

FiringSegment segment(double rate, double target, double hold) {
    return {rate, target, hold};
}

} // namespace

TEST(BookValidation, versionMessages) {
    EXPECT_EQ(failure(bookWithVersion(3)), "This glaze book uses file format 3. This version of Orza reads format 2 or "
                                           "older. Update Orza to open it. The file was not changed.");
    EXPECT_EQ(failure(bookWithVersion(0)),
              "This glaze book has an invalid file format number (0). The file was not changed.");
    EXPECT_EQ(failure(bookWithVersion(-1)),
              "This glaze book has an invalid file format number (-1). The file was not changed.");
    EXPECT_EQ(failure(bookWithVersion(1)), "");
    EXPECT_EQ(failure(bookWithVersion(2)), "");
}

TEST(BookValidation, listLimitsAreInclusive) {
    GlazeBook book;
    book.recipes.resize(100'000);
    for (auto& r : book.recipes)
        r.id = Uuid::random();
    EXPECT_EQ(failure(book), "");
    book.recipes.push_back(recipe("One too many"));
    EXPECT_EQ(failure(book),
              "This glaze book has 100001 recipes, more than the limit of 100000. The file was not changed.");

    GlazeBook materials;
    materials.customMaterials.resize(100'001);
    EXPECT_EQ(failure(materials), "This glaze book has 100001 custom materials, more than the limit of 100000. The "
                                  "file was not changed.");
    GlazeBook tiles;
    tiles.tests.resize(100'001);
    EXPECT_EQ(failure(tiles),
              "This glaze book has 100001 test tiles, more than the limit of 100000. The file was not changed.");
}

TEST(BookValidation, linesAndSegmentsPerItem) {
    GlazeBook book;
    book.recipes.push_back(recipe("Celadon"));
    for (int i = 0; i < 10'000; ++i)
        book.recipes[0].lines.push_back(line("silica", 1));
    EXPECT_EQ(failure(book), "");
    book.recipes[0].lines.push_back(line("silica", 1));
    EXPECT_EQ(failure(book), "This glaze book has 10001 lines in recipe Celadon, more than the limit of 10000. The "
                             "file was not changed.");

    GlazeBook tiles;
    tiles.tests.push_back(OrzaTest::tile());
    tiles.tests[0].schedule.assign(1'000, segment(100, 1000, 0));
    EXPECT_EQ(failure(tiles), "");
    tiles.tests[0].schedule.push_back(segment(100, 1000, 0));
    EXPECT_EQ(failure(tiles), "This glaze book has 1001 firing segments in a test tile, more than the limit of 1000. "
                              "The file was not changed.");
}

TEST(BookValidation, nextTileNumberIsReadUnsigned) {
    GlazeBook book;
    book.nextTileNumber = -3;
    EXPECT_EQ(failure(book), "This glaze book has a number that Orza cannot use (the next tile number is -3; the limit "
                             "is 1e+07). The file was not changed.");
    book.nextTileNumber = 0;
    EXPECT_EQ(failure(book), "");
    book.nextTileNumber = 10'000'000;
    EXPECT_EQ(failure(book), "");
    book.nextTileNumber = 10'000'001;
    EXPECT_EQ(failure(book), "This glaze book has a number that Orza cannot use (the next tile number is 1e+07; the "
                             "limit is 1e+07). The file was not changed.");
}

TEST(BookValidation, numberMessagesNameFieldValueAndLimit) {
    GlazeBook amount;
    amount.recipes.push_back(recipe("", {line("silica", 2.5e9)}));
    EXPECT_EQ(failure(amount), "This glaze book has a number that Orza cannot use (an amount in recipe Untitled recipe "
                               "is 2.5e+09; the limit is 1e+09). The file was not changed.");
    amount.recipes[0].name = "  ";
    EXPECT_NE(failure(amount).find("an amount in recipe    is"), std::string::npos);
    amount.recipes[0].lines[0].amount = -1e9;
    EXPECT_EQ(failure(amount), "");

    GlazeBook analysis;
    analysis.customMaterials.push_back(material("custom-1", "My Feldspar", {{Oxide::SiO2, std::nan("")}}));
    EXPECT_EQ(failure(analysis), "This glaze book has a number that Orza cannot use (SiO2 in material My Feldspar is "
                                 "not a number; the limit is 100). The file was not changed.");
    analysis.customMaterials[0].analysis[Oxide::SiO2] = -100;
    EXPECT_EQ(failure(analysis), "");
    analysis.customMaterials[0].analysis[Oxide::SiO2] = -100.5;
    EXPECT_NE(failure(analysis).find("SiO2 in material My Feldspar is -100.5;"), std::string::npos);

    GlazeBook loi;
    loi.customMaterials.push_back(material("custom-ash", "Ash", {}, 120.5));
    EXPECT_EQ(failure(loi), "This glaze book has a number that Orza cannot use (the LOI of material Ash is 120.5; the "
                            "limit is 100). The file was not changed.");

    GlazeBook firing;
    firing.tests.push_back(OrzaTest::tile());
    firing.tests[0].schedule.push_back(segment(100, 2e7, 0));
    EXPECT_EQ(failure(firing), "This glaze book has a number that Orza cannot use (a firing temperature is 2e+07; the "
                               "limit is 1000000). The file was not changed.");
    firing.tests[0].schedule[0] = segment(INFINITY, std::nan(""), 0);
    EXPECT_NE(failure(firing).find("(a firing rate is infinite;"), std::string::npos);
    firing.tests[0].schedule[0] = segment(0, 0, -INFINITY);
    EXPECT_NE(failure(firing).find("(a firing hold is minus infinite;"), std::string::npos);
}

TEST(BookValidation, duplicateIDs) {
    GlazeBook materials;
    materials.customMaterials = {material("custom-ash", "Ash"), material("Custom-Ash", "Ash 2")};
    EXPECT_EQ(failure(materials), "");
    GlazeBook spellings;
    spellings.customMaterials = {material("caf\u00e9", "A"), material("cafe\u0301", "B")};
    EXPECT_NE(failure(spellings).find("(material cafe\u0301)"), std::string::npos);

    materials.customMaterials.push_back(material("custom-ash", "Ash 3"));
    EXPECT_EQ(failure(materials), "This glaze book has two items with the same id (material custom-ash). Orza cannot "
                                  "tell them apart, so it did not open the file. The file was not changed.");

    GlazeBook tiles;
    tiles.tests = OrzaTest::tiles({"A", "B"});
    tiles.tests[1].id = tiles.tests[0].id;
    const std::string upper = tiles.tests[0].id.uppercaseText();
    EXPECT_EQ(failure(tiles), "This glaze book has two items with the same id (test tile " + upper +
                                  "). Orza cannot tell them apart, so it did not open the file. The file was not "
                                  "changed.");

    GlazeBook lines;
    lines.recipes.push_back(recipe("Shino", {line("silica", 1), line("kaolin", 1)}));
    lines.recipes[0].lines[1].id = lines.recipes[0].lines[0].id;
    EXPECT_NE(failure(lines).find("(line in recipe Shino " + lines.recipes[0].lines[0].id.uppercaseText() + ")"),
              std::string::npos);
}

// A name or id from the file is quoted with its control characters made visible: a line break cannot split
// the sentence and a right-to-left override cannot turn the rest of the alert around.
TEST(BookValidation, namesFromTheFileShowTheirControlCharacters) {
    GlazeBook amount;
    amount.recipes = {recipe("Celadon\n\u202E2 glaze", {line("silica", 2.5e9)})};
    EXPECT_EQ(failure(amount),
              "This glaze book has a number that Orza cannot use (an amount in recipe "
              "Celadon\\u000A\\u202E2 glaze is 2.5e+09; the limit is 1e+09). The file was not changed.");

    GlazeBook loi;
    loi.customMaterials.push_back(material("custom-ash", "Wood\tash\u2066", {}, 120.5));
    EXPECT_EQ(failure(loi), "This glaze book has a number that Orza cannot use (the LOI of material "
                            "Wood\\u0009ash\\u2066 is 120.5; the limit is 100). The file was not changed.");

    GlazeBook ids;
    ids.customMaterials = {material("custom-\u200Fash", "A"), material("custom-\u200Fash", "B")};
    EXPECT_EQ(failure(ids), "This glaze book has two items with the same id (material custom-\\u200Fash). Orza "
                            "cannot tell them apart, so it did not open the file. The file was not changed.");

    GlazeBook lines;
    lines.recipes = {recipe("Tenmoku\r", std::vector<RecipeLine>(10'001, line("silica", 1)))};
    EXPECT_EQ(failure(lines), "This glaze book has 10001 lines in recipe Tenmoku\\u000D, more than the limit of "
                              "10000. The file was not changed.");
}

TEST(BookValidation, firstBrokenRuleInOrderWins) {
    GlazeBook book;
    book.version = 7;
    book.recipes = {recipe("A"), recipe("B")};
    book.recipes[1].id = book.recipes[0].id;
    EXPECT_NE(failure(book).find("file format 7"), std::string::npos);

    GlazeBook idsBeforeContent;
    idsBeforeContent.recipes.push_back(recipe("Big", {line("silica", 5e9)}));
    idsBeforeContent.tests = OrzaTest::tiles({"A", "B"});
    idsBeforeContent.tests[1].id = idsBeforeContent.tests[0].id;
    EXPECT_NE(failure(idsBeforeContent).find("(test tile "), std::string::npos);

    GlazeBook lineIDsBeforeAmounts;
    lineIDsBeforeAmounts.recipes.push_back(recipe("R", {line("silica", 5e9), line("kaolin", 1), line("talc", 1)}));
    lineIDsBeforeAmounts.recipes[0].lines[2].id = lineIDsBeforeAmounts.recipes[0].lines[1].id;
    EXPECT_NE(failure(lineIDsBeforeAmounts).find("(line in recipe R "), std::string::npos);

    GlazeBook countsBeforeNextNumber;
    countsBeforeNextNumber.nextTileNumber = -1;
    countsBeforeNextNumber.tests.resize(100'001);
    EXPECT_NE(failure(countsBeforeNextNumber).find("100001 test tiles"), std::string::npos);
}

TEST(BookValidation, errorEqualityComparesPayloads) {
    EXPECT_EQ(GlazeBookError::numberOutOfRange("a firing rate", 2, 1),
              GlazeBookError::numberOutOfRange("a firing rate", 2, 1));
    EXPECT_FALSE(GlazeBookError::numberOutOfRange("x", std::nan(""), 1) ==
                 GlazeBookError::numberOutOfRange("x", std::nan(""), 1));
    EXPECT_EQ(GlazeBookError::duplicateID("material", "caf\u00e9"),
              GlazeBookError::duplicateID("material", "cafe\u0301"));
    EXPECT_FALSE(GlazeBookError::invalidVersion(0) == GlazeBookError::unsupportedVersion(0, 2));
}
