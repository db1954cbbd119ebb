#include "GlazeCore/tilecode/TileCode.h"
#include "support/BookBuilders.h"

#include <gtest/gtest.h>

using namespace GlazeCore;
using OrzaTest::bookWithTiles;
using OrzaTest::tiles;

namespace {

std::vector<std::string> codesOf(const GlazeBook& book) {
    std::vector<std::string> codes;
    for (const auto& t : book.tests)
        codes.push_back(t.code);
    return codes;
}

} // namespace

TEST(TileCodeForms, numberAndKeyIgnoreCaseWidthAndLeadingZeros) {
    EXPECT_EQ(TileCode::normalized("  T-007\n"), "t-007");
    EXPECT_EQ(TileCode::normalized("\uFF34\uFF0D\uFF10\uFF10\uFF17"), "t-007"); // full-width T-007
    EXPECT_EQ(TileCode::normalized("Gl\u00e4ze"), "glaze");
    EXPECT_EQ(TileCode::number("T-007"), 7);
    EXPECT_EQ(TileCode::number("T-0"), 0);
    EXPECT_EQ(TileCode::number("t-999999999"), 999'999'999);
    EXPECT_FALSE(TileCode::number("T-0000000007")); // ten digits
    EXPECT_FALSE(TileCode::number("T-"));
    EXPECT_FALSE(TileCode::number("T-+7"));
    EXPECT_FALSE(TileCode::number("T- 7"));
    EXPECT_FALSE(TileCode::number("T-\u0667")); // Arabic-Indic seven
    EXPECT_FALSE(TileCode::number("T-7\r\n8"));
    EXPECT_EQ(TileCode::uniquenessKey("t-0007"), "#7");
    EXPECT_EQ(TileCode::uniquenessKey("T-7a"), "t-7a");
    EXPECT_EQ(TileCode::uniquenessKey("Glaze A"), TileCode::uniquenessKey("glaze a"));
    EXPECT_NE(TileCode::uniquenessKey("T-0000000007"), TileCode::uniquenessKey("T-7"));
}

TEST(TileCodeForms, defaultCodesPadToThreeDigitsAndClamp) {
    EXPECT_EQ(TileCode::defaultCode(1), "T-001");
    EXPECT_EQ(TileCode::defaultCode(42), "T-042");
    EXPECT_EQ(TileCode::defaultCode(1000), "T-1000");
    EXPECT_EQ(TileCode::defaultCode(10'000'000), "T-10000000");
    EXPECT_EQ(TileCode::defaultCode(20'000'000), "T-10000000");
    EXPECT_EQ(TileCode::defaultCode(-5), "T-000");
}

TEST(TileCodeValidation, emptyLengthAndCharacters) {
    const auto none = tiles({});
    const Uuid id = Uuid::random();
    EXPECT_EQ(TileCode::validate("   ", id, none), TileCode::Problem::empty());
    EXPECT_EQ(TileCode::validate("\u0301\u0302", id, none), TileCode::Problem::empty()); // marks alone fold away
    EXPECT_EQ(TileCode::validate("ABCDEFGHIJKL", id, none), std::nullopt);
    EXPECT_EQ(TileCode::validate("  ABCDEFGHIJKL  ", id, none), std::nullopt);
    EXPECT_EQ(TileCode::validate("ABCDEFGHIJKLM", id, none), TileCode::Problem::tooLong());
    // Twelve user-perceived characters, more bytes and scalars.
    EXPECT_EQ(TileCode::validate("e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301",
                                 id, none),
              std::nullopt);
    EXPECT_EQ(TileCode::validate("T*1", id, none), TileCode::Problem::invalidCharacters());
    EXPECT_EQ(TileCode::validate("T-1\t2", id, none), TileCode::Problem::invalidCharacters());
    EXPECT_EQ(TileCode::validate("Céladon #2", id, none), std::nullopt);
    EXPECT_EQ(TileCode::validate("釉薬-1", id, none), std::nullopt);
    EXPECT_EQ(TileCode::validate("\uFF34\uFF11", id, none), std::nullopt);
    EXPECT_EQ(TileCode::validate("a_b.c/d+e", id, none), std::nullopt);
}

TEST(TileCodeValidation, clashesByKeyExceptWithItself) {
    auto tests = tiles({"T-7", "Glaze A"});
    const Uuid other = Uuid::random();
    EXPECT_EQ(TileCode::validate("t-007", other, tests), TileCode::Problem::taken("T-7"));
    EXPECT_EQ(TileCode::validate("GLAZE a", other, tests), TileCode::Problem::taken("Glaze A"));
    EXPECT_EQ(TileCode::validate("T-0000000007", other, tests), std::nullopt);
    EXPECT_EQ(TileCode::validate("T-007", tests[0].id, tests), std::nullopt);
}

TEST(TileCodeValidation, problemSentences) {
    EXPECT_EQ(TileCode::Problem::taken("T-7").message(),
              "Another tile already has the code T-7. Each tile needs its own code. The code was not changed.");
    // The other tile's code comes from the file unchecked.
    EXPECT_EQ(TileCode::Problem::taken("T-7\u202E").message(),
              "Another tile already has the code T-7\\u202E. Each tile needs its own code. The code was not changed.");
    EXPECT_EQ(TileCode::Problem::empty().message(), "A tile code cannot be empty. The code was not changed.");
    EXPECT_EQ(TileCode::Problem::tooLong().message(),
              "A tile code can have up to 12 characters, so that it fits on a label. The code was not changed.");
    EXPECT_EQ(TileCode::Problem::invalidCharacters().message(),
              "Use letters, digits, spaces and - _ . / # + in a tile code. The code was not changed.");
}

TEST(TileCodeAdding, startsAfterHighestOrNextNumber) {
    GlazeBook book = bookWithTiles({"T-001", "T-002", "Glaze A"}, 1);
    EXPECT_EQ(TileCode::nextCode(book), "T-003");
    EXPECT_EQ(book.tests.size(), 3u);
    EXPECT_EQ(TileCode::addTile(OrzaTest::tile(), book), "T-003");
    EXPECT_EQ(book.nextTileNumber, 4);
    EXPECT_EQ(book.tests.back().code, "T-003");

    GlazeBook gap = bookWithTiles({"T-001", "T-003"}, 2);
    EXPECT_EQ(TileCode::addTile(OrzaTest::tile(), gap), "T-004");

    GlazeBook ahead = bookWithTiles({"T-001"}, 50);
    EXPECT_EQ(TileCode::addTile(OrzaTest::tile(), ahead), "T-050");
    EXPECT_EQ(ahead.nextTileNumber, 51);
}

TEST(TileCodeAdding, hugeNumbersBlockOnlyThemselves) {
    GlazeBook book = bookWithTiles({"T-5000000", "T-002"}, 1);
    EXPECT_EQ(TileCode::highestNumber(book.tests), 2);
    EXPECT_EQ(TileCode::addTile(OrzaTest::tile(), book), "T-003");
    book.nextTileNumber = 5'000'000;
    EXPECT_EQ(TileCode::addTile(OrzaTest::tile(), book), "T-5000001");
}

// 999,999 is the last number that counts as the highest in use; one more is only blocked, never followed.
TEST(TileCodeAdding, numbersCountUpTo999999AndNoFurther) {
    EXPECT_EQ(TileCode::highestNumber(tiles({"T-999998"})), 999'998);
    EXPECT_EQ(TileCode::highestNumber(tiles({"T-999999"})), 999'999);
    EXPECT_EQ(TileCode::highestNumber(tiles({"t-0999999"})), 999'999);
    EXPECT_EQ(TileCode::highestNumber(tiles({"T-1000000", "T-004"})), 4);

    GlazeBook belowLast = bookWithTiles({"T-999998"}, 1);
    EXPECT_EQ(TileCode::addTile(OrzaTest::tile(), belowLast), "T-999999");
    EXPECT_EQ(belowLast.nextTileNumber, 1'000'000);

    GlazeBook atLast = bookWithTiles({"T-999999"}, 1);
    EXPECT_EQ(TileCode::nextCode(atLast), "T-1000000");
    EXPECT_EQ(TileCode::addTile(OrzaTest::tile(), atLast), "T-1000000");
    EXPECT_EQ(atLast.nextTileNumber, 1'000'001);

    GlazeBook pastLast = bookWithTiles({"T-1000000"}, 1);
    EXPECT_EQ(TileCode::addTile(OrzaTest::tile(), pastLast), "T-001");
    // The last counted number leads the way past an uncounted one that blocks its own number.
    GlazeBook both = bookWithTiles({"T-1000000", "T-999999"}, 1);
    EXPECT_EQ(TileCode::addTile(OrzaTest::tile(), both), "T-1000001");

    GlazeBook opened = bookWithTiles({"T-999999", " "}, 1);
    TileCode::assignMissing(opened);
    EXPECT_EQ(codesOf(opened), (std::vector<std::string>{"T-999999", "T-1000000"}));
    EXPECT_EQ(opened.nextTileNumber, 1'000'001);
}

TEST(TileCodeAdding, freeCodeSearchStaysBelowTenMillion) {
    std::unordered_set<std::string> taken = {"#9999998", "#9999999"};
    const auto [n, code] = TileCode::nextFreeCode(taken, 9'999'999);
    EXPECT_EQ(n, 9'999'997);
    EXPECT_EQ(code, "T-9999997");
    EXPECT_EQ(taken.count("#9999997"), 1u);

    std::unordered_set<std::string> someTaken = {"#1", "#2", "glaze a"};
    EXPECT_EQ(TileCode::nextFreeCode(someTaken, -4).first, 3);
}

TEST(TileCodeOpening, blankCodesGetNextFreeCodesInTileOrder) {
    GlazeBook book = bookWithTiles({"T-001", "", "T-002", "  \n"}, 1);
    TileCode::assignMissing(book);
    EXPECT_EQ(codesOf(book), (std::vector<std::string>{"T-001", "T-003", "T-002", "T-004"}));
    EXPECT_EQ(book.nextTileNumber, 5);

    GlazeBook clean = bookWithTiles({"A", "A"}, 0);
    TileCode::assignMissing(clean);
    EXPECT_EQ(clean.nextTileNumber, 0); // nothing blank: not even the counter moves
    EXPECT_EQ(codesOf(clean), (std::vector<std::string>{"A", "A"}));

    GlazeBook numbered = bookWithTiles({"", "t-5"}, 3);
    TileCode::assignMissing(numbered);
    EXPECT_EQ(codesOf(numbered), (std::vector<std::string>{"T-006", "t-5"}));
    EXPECT_EQ(numbered.nextTileNumber, 7);
}

TEST(TileCodeEditing, setCodeAndRenameKeepTheBookSound) {
    GlazeBook book = bookWithTiles({"T-001", "T-002"});
    const Uuid first = book.tests[0].id;
    EXPECT_EQ(TileCode::setCode(first, "  Celadon 1 ", book), std::nullopt);
    EXPECT_EQ(book.tests[0].code, "Celadon 1");
    EXPECT_EQ(TileCode::setCode(first, "t-2", book), TileCode::Problem::taken("T-002"));
    EXPECT_EQ(book.tests[0].code, "Celadon 1");
    EXPECT_EQ(TileCode::setCode(Uuid::random(), "X", book), std::nullopt);

    // A rejected rename puts the code from before editing back.
    book.tests[0].code = "Celadon 1x";
    EXPECT_EQ(TileCode::rename(first, "T-002", "Celadon 1", book), TileCode::Problem::taken("T-002"));
    EXPECT_EQ(book.tests[0].code, "Celadon 1");
    EXPECT_EQ(TileCode::rename(first, "  ", "Celadon 1", book), TileCode::Problem::empty());
    EXPECT_EQ(TileCode::rename(first, "Celadon 1", "Celadon 1", book), std::nullopt);
    EXPECT_EQ(TileCode::rename(first, "Shino", "Celadon 1", book), std::nullopt);
    EXPECT_EQ(book.tests[0].code, "Shino");
}

TEST(TileCodeReports, duplicateCodesListEachSharedKeyOnce) {
    EXPECT_EQ(TileCode::duplicateCodes(tiles({"A", "a", "T-1", "T-001", "A", "", " "})),
              (std::vector<std::string>{"a", "T-001"}));
    EXPECT_TRUE(TileCode::duplicateCodes(tiles({"", "  "})).empty());
}

TEST(TileCodeReports, rangeTextKeepsGivenOrder) {
    EXPECT_EQ(TileCode::rangeText({}), "");
    EXPECT_EQ(TileCode::rangeText({"T-004"}), "T-004");
    EXPECT_EQ(TileCode::rangeText({"T-009", "T-003", "T-004"}), "T-009 to T-004");
}

TEST(TileCodeReports, noticeSentences) {
    using Notice = TileCode::BackfillNotice;
    EXPECT_EQ((Notice{Notice::Kind::missingCodes, {"T-007"}}).message(),
              "1 test tile in this book had lost its code, for example in another app. Orza gave it a new code "
              "(T-007) and kept every other code. Check this tile against the code on your fired tile.");
    EXPECT_EQ((Notice{Notice::Kind::missingCodes, {"T-003", "T-004"}}).message(),
              "2 test tiles in this book had lost their codes, for example in another app. Orza gave them new codes "
              "(T-003 to T-004) and kept every other code. Check these tiles against the codes on your fired tiles.");
    EXPECT_EQ((Notice{Notice::Kind::olderBook, {"T-001"}}).message(),
              "This book comes from an earlier version of Orza, so its 1 test tile had no codes. Orza gave them T-001 "
              "in the order of the tiles. Save the book to keep these codes.");
    EXPECT_EQ((Notice{Notice::Kind::olderBook, {"T-001", "T-002", "T-003"}}).message(),
              "This book comes from an earlier version of Orza, so its 3 test tiles had no codes. Orza gave them T-001 "
              "to T-003 in the order of the tiles. Save the book to keep these codes.");
}
