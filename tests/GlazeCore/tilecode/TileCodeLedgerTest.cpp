#include "GlazeCore/tilecode/TileCodeLedger.h"
#include "support/BookBuilders.h"

#include <gtest/gtest.h>
#include <set>
#include <thread>

using namespace GlazeCore;
using OrzaTest::bookWithTiles;

TEST(TileCodeLedger, floorStartsFromTheClampedNextNumber) {
    EXPECT_EQ(TileCodeLedger(bookWithTiles({}, 0)).floor(), 1);
    EXPECT_EQ(TileCodeLedger(bookWithTiles({}, -8)).floor(), 1);
    EXPECT_EQ(TileCodeLedger(bookWithTiles({}, 20'000'000)).floor(), 10'000'000);
    EXPECT_EQ(TileCodeLedger(bookWithTiles({}, 42)).floor(), 42);
}

TEST(TileCodeLedger, numbersNeverComeBackAfterAnOlderBookReturns) {
    TileCodeLedger ledger(bookWithTiles({}, 9));
    GlazeBook book = bookWithTiles({"T-001", "T-002"}, 3);
    const GlazeBook older = book;
    EXPECT_EQ(ledger.addTile(OrzaTest::tile(), book), "T-009");
    EXPECT_EQ(book.nextTileNumber, 10);
    EXPECT_EQ(ledger.floor(), 10);
    EXPECT_FALSE(ledger.isAhead(book));

    // An undo brings the older book back: the ledger still remembers T-009.
    EXPECT_TRUE(ledger.isAhead(older));
    EXPECT_EQ(ledger.bookForSaving(older).nextTileNumber, 10);
    GlazeBook again = older;
    EXPECT_EQ(ledger.addTile(OrzaTest::tile(), again), "T-010");
}

TEST(TileCodeLedger, bookForSavingCoversTilesInUseAndLeavesTheBookAlone) {
    TileCodeLedger ledger(bookWithTiles({}, 5));
    const GlazeBook book = bookWithTiles({"T-040", "T-2000000"}, 3);
    const GlazeBook saved = ledger.bookForSaving(book);
    EXPECT_EQ(saved.nextTileNumber, 41);
    EXPECT_EQ(book.nextTileNumber, 3);
    GlazeBook already = book;
    already.nextTileNumber = 60;
    EXPECT_EQ(ledger.bookForSaving(already).nextTileNumber, 60);
}

TEST(TileCodeLedger, bookForSavingCountsTilesUpTo999999) {
    const TileCodeLedger ledger(bookWithTiles({}, 1));
    EXPECT_EQ(ledger.bookForSaving(bookWithTiles({"T-999998"}, 1)).nextTileNumber, 999'999);
    EXPECT_EQ(ledger.bookForSaving(bookWithTiles({"T-999999"}, 1)).nextTileNumber, 1'000'000);
    EXPECT_EQ(ledger.bookForSaving(bookWithTiles({"T-1000000"}, 1)).nextTileNumber, 1);
}

TEST(TileCodeLedger, floorCapsAtTenMillion) {
    TileCodeLedger ledger(bookWithTiles({}, 10'000'000));
    GlazeBook book = bookWithTiles({}, 10'000'000);
    EXPECT_EQ(ledger.addTile(OrzaTest::tile(), book), "T-9999999");
    EXPECT_EQ(ledger.floor(), 10'000'000);
    EXPECT_LE(ledger.bookForSaving(book).nextTileNumber, 10'000'000);
}

TEST(TileCodeLedger, copiesAddedFromTwoThreadsGetDifferentNumbers) {
    TileCodeLedger ledger(bookWithTiles({}, 1));
    const GlazeBook start = bookWithTiles({}, 1);
    std::vector<std::string> codesA, codesB;
    auto addMany = [&](std::vector<std::string>& codes) {
        GlazeBook copy = start;
        for (int i = 0; i < 200; ++i)
            codes.push_back(ledger.addTile(OrzaTest::tile(), copy));
    };
    std::thread a(addMany, std::ref(codesA)), b(addMany, std::ref(codesB));
    a.join();
    b.join();
    std::set<std::string> all(codesA.begin(), codesA.end());
    all.insert(codesB.begin(), codesB.end());
    EXPECT_EQ(all.size(), 400u);
    EXPECT_EQ(ledger.floor(), 401);
}

// Many tiles at once get exactly what one at a time would give them: the same codes around taken ones, the
// same next number and floor, even where the numbering runs into the largest default number.
TEST(TileCodeLedger, tilesAddedTogetherMatchTilesAddedOneByOne) {
    struct Start {
        std::vector<std::string> codes;
        std::int64_t nextTileNumber;
        std::int64_t ledgerNext;
    };
    const Start starts[] = {
        {{"T-001", "T-003", "t-004", "T-6"}, 2, 2},
        {{"T-001"}, 2, 40},
        {{"T-999998", "Kiln A"}, 5, 5},
        {{}, 9'999'998, 9'999'998},
    };
    for (const Start& start : starts) {
        std::vector<TestTile> added;
        for (int i = 0; i < 6; ++i)
            added.push_back(OrzaTest::tile());
        TileCodeLedger oneLedger(bookWithTiles({}, start.ledgerNext));
        TileCodeLedger manyLedger(bookWithTiles({}, start.ledgerNext));
        GlazeBook one = bookWithTiles(start.codes, start.nextTileNumber);
        GlazeBook many = one;
        std::vector<std::string> oneCodes;
        for (const TestTile& tile : added)
            oneCodes.push_back(oneLedger.addTile(tile, one));
        const std::vector<std::string> manyCodes = manyLedger.addTiles(added, many);
        EXPECT_EQ(manyCodes, oneCodes) << start.codes.size() << " codes, next " << start.nextTileNumber;
        EXPECT_TRUE(many == one);
        EXPECT_EQ(manyLedger.floor(), oneLedger.floor());
    }
}
