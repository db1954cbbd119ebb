// What changes only with a book's size: long lists checked by sorting, saving in pieces, reading in batches.
#include "GlazeCore/book/BookJson.h"
#include "GlazeCore/book/GlazeBookCodec.h"
#include "GlazeCore/book/GlazeBookError.h"
#include "GlazeCore/json/TextPart.h"
#include "support/BookBuilders.h"
#include "support/BookLayouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

using namespace GlazeCore;

namespace {

GlazeBook bookOf(std::size_t items) {
    GlazeBook book;
    book.version = 2;
    book.nextTileNumber = static_cast<std::int64_t>(items) + 1;
    for (std::size_t i = 0; i < items; ++i) {
        book.recipes.push_back(OrzaTest::recipe("Glaze " + std::to_string(i),
                                                {OrzaTest::line("silica", 20.5), OrzaTest::line("kaolin/ball", 1e-7)}));
        TestTile tile = OrzaTest::tile(TileCode::defaultCode(static_cast<std::int64_t>(i) + 1));
        tile.recipeID = book.recipes.back().id;
        tile.notes = i % 3 ? "crawled\nat the rim \u00E9" : "";
        tile.schedule = {{150, 600, 0}, {60, 1222.5, 10}};
        book.tests.push_back(std::move(tile));
    }
    return book;
}

/// The compact text of a book of 401 recipes, the last holding a list of `variants` (as a later version might write
/// them) that start as the recipes do; so a run of recipes read side by side may end inside that list and fail, after
/// the runs before it were taken in. `notesBytes` of notes to each recipe, `variantBytes` of name to each variant.
std::string bookEndingInRecipeLikeObjects(std::size_t notesBytes, std::size_t variants, std::size_t variantBytes) {
    GlazeBook book;
    book.version = 2;
    for (std::size_t i = 0; i < 401; ++i) {
        book.recipes.push_back(OrzaTest::recipe("Glaze " + std::to_string(i), {OrzaTest::line("silica", 20.5)}));
        book.recipes.back().notes = std::string(notesBytes, 'n');
    }
    std::string text = OrzaTest::compactText(GlazeBookCodec::encode(book));
    std::string list = "\"variants\":[";
    for (std::size_t i = 0; i < variants; ++i)
        list += (i ? ",{\"cone\":\"" : "{\"cone\":\"") + std::to_string(i) + "\",\"name\":\"" +
                std::string(variantBytes, 'v') + "\"}";
    text.insert(text.rfind("{\"cone\":") + 1, list + "],");
    return text;
}

std::string duplicateOf(const GlazeBook& book) {
    try {
        GlazeBookCodec::encode(book);
    } catch (const GlazeBookError& error) {
        return error.message();
    }
    return "";
}

} // namespace

TEST(LargeBook, TheFirstRepeatedIDOfALongListIsReported) {
    GlazeBook book = bookOf(40);
    book.tests[30].id = book.tests[5].id;  // repeated at 30
    book.tests[25].id = book.tests[20].id; // repeated at 25, so this one is reported
    book.tests[39].id = book.tests[20].id;
    EXPECT_NE(duplicateOf(book).find("(test tile " + book.tests[20].id.uppercaseText() + ")"), std::string::npos);
    book.tests[25].id = Uuid::random();
    book.tests[39].id = Uuid::random();
    EXPECT_NE(duplicateOf(book).find("(test tile " + book.tests[5].id.uppercaseText() + ")"), std::string::npos);
    book.tests[30].id = Uuid::random();
    EXPECT_EQ(duplicateOf(book), "");
}

TEST(LargeBook, SavedInPiecesAsInOneTextAndUnderItsOwnHeader) {
    const GlazeBook book = bookOf(3000);
    const std::string whole = GlazeBookCodec::encode(book);
    std::string pieces;
    std::size_t count = 0;
    GlazeBookCodec::encode(book, book.version, book.nextTileNumber, [&](std::string_view piece) {
        pieces += piece;
        ++count;
    });
    EXPECT_EQ(pieces, whole);
    EXPECT_GT(count, 1u);

    // The header goes straight into the text: no copy of the book, and the same bytes as a copy would give.
    GlazeBook raised = book;
    raised.nextTileNumber = 9000;
    std::string withHeader;
    GlazeBookCodec::encode(book, 2, 9000, [&](std::string_view piece) { withHeader += piece; });
    EXPECT_EQ(withHeader, GlazeBookCodec::encode(raised));
    EXPECT_THROW(GlazeBookCodec::encode(book, 3, 1, [](std::string_view) { FAIL() << "wrote a refused book"; }),
                 GlazeBookError);
}

TEST(LargeBook, TheFirstTextThatCannotBeWrittenIsReportedWhenSavingInPieces) {
    GlazeBook book = bookOf(3000);
    book.tests[2500].notes = "bad \xFF";
    book.tests[1700].notes = "bad \xC3";
    const auto failingPath = [&] {
        try {
            GlazeBookCodec::encode(book, book.version, book.nextTileNumber, [](std::string_view) {});
        } catch (const JsonWriteError& error) {
            return error.path();
        }
        return std::string("written");
    };
    EXPECT_EQ(failingPath(), "tests[1700].notes");
    book.tests[1700].notes = "fine";
    EXPECT_EQ(failingPath(), "tests[2500].notes");
    book.tests[2500].notes = "fine";
    EXPECT_EQ(failingPath(), "written");
}

TEST(LargeBook, BatchesReadAsOneReaderReads) {
    const std::string text = GlazeBookCodec::encode(bookOf(2000));
    const Json::PaddedBytes bytes = Json::PaddedBytes::copyOf(text);
    const auto inOrder = BookJson::Readers::tokens(bytes, 4096, Json::LongLists{});
    const auto inBatches = BookJson::Readers::tokens(bytes, 4096, Json::LongLists{true, 7});
    ASSERT_TRUE(inOrder && inBatches);
    EXPECT_EQ(BookJson::writeBook(*inBatches), text);
    EXPECT_EQ(BookJson::writeBook(*inOrder), text);
}

// A run that fails leaves the whole list to be read again in order, with none of the items the runs before it gave.
TEST(LargeBook, AListReadAgainInOrderHoldsEachItemOnce) {
    const std::string text = bookEndingInRecipeLikeObjects(0, 4, 1);
    const Json::PaddedBytes bytes = Json::PaddedBytes::copyOf(text);
    const auto inRuns = BookJson::Readers::tokens(bytes, 4096, Json::LongLists{true, 1});
    ASSERT_TRUE(inRuns);
    EXPECT_EQ(inRuns->recipes.size(), 401u);
    EXPECT_TRUE(BookJson::writeBook(*inRuns) == BookJson::writeBook(BookJson::readBook(text)));

    // From 8 MiB the document reader reads long lists side by side itself, given more than one reading thread.
    const std::string large = bookEndingInRecipeLikeObjects(std::size_t{20} << 10, 2000, 500);
    ASSERT_GT(large.size(), std::size_t{8} << 20);
    const GlazeBook book = BookJson::readBook(large);
    EXPECT_EQ(book.recipes.size(), 401u);
    EXPECT_EQ(book.recipes.back().name, "Glaze 400");
}

// However the text is laid out, each byte goes to the parser about once, in order and in runs side by side: windows
// and runs end between tokens without the rest of the text, and runs start before items however the items are set.
TEST(LargeBook, EveryLayoutIsHandedToTheParserAboutOnce) {
    const std::string written = GlazeBookCodec::encode(bookOf(2000));
    std::string crOnly = written;
    std::replace(crOnly.begin(), crOnly.end(), '\n', '\r');
    const std::pair<const char*, std::string> layouts[] = {
        {"as written", written},
        {"with CR line ends", crOnly},
        {"compact", OrzaTest::compactText(written)},
        {"an item a line", OrzaTest::compactText(written, "\n", 2)},
        {"a member a line", OrzaTest::compactText(written, "\r\n", 1)},
    };
    constexpr std::size_t window = std::size_t{16} << 10;
    for (const auto& [layout, text] : layouts) {
        const Json::PaddedBytes bytes = Json::PaddedBytes::copyOf(text);
        for (const bool sideBySide : {false, true}) {
            // Once the runs of a list are read, the text up to its close is given back.
            std::vector<std::size_t> givenBack;
            const std::function<void(std::size_t)> giveBack = [&](std::size_t offset) { givenBack.push_back(offset); };
            const Json::LongLists plan{sideBySide, window, sideBySide ? &giveBack : nullptr};
            const std::size_t before = Json::TextPart::handedBytes();
            const auto read = BookJson::Readers::tokens(bytes, window, plan);
            const double handed = static_cast<double>(Json::TextPart::handedBytes() - before) / text.size();
            const std::string how = std::string(layout) + (sideBySide ? ", side by side" : ", in order");
            ASSERT_TRUE(read) << how;
            EXPECT_EQ(BookJson::writeBook(*read), written) << how;
            EXPECT_LT(handed, 1.25) << how;
            if (!sideBySide) continue;
            const std::size_t recipesClose = text.rfind(']', text.find("\"tests\"")) + 1;
            const std::size_t testsClose = text.rfind(']') + 1;
            const auto gaveBack = [&](std::size_t offset) {
                return std::find(givenBack.begin(), givenBack.end(), offset) != givenBack.end();
            };
            EXPECT_TRUE(gaveBack(recipesClose)) << how;
            EXPECT_TRUE(gaveBack(testsClose)) << how;
        }
    }
}

// A book holding one long text, wherever it is, is handed to the parser a few times at most: a window cut off inside
// the text's item is followed by one that holds the item whole, and a window before the text stops short of it. So
// reading it costs the same for each byte of a text four times as long.
TEST(LargeBook, OneLongTextIsHandedToTheParserAFewTimesAtMost) {
    constexpr std::size_t window = std::size_t{4} << 10;
    const auto bookHolding = [](std::size_t bytes, int where) {
        GlazeBook book = bookOf(20);
        std::string text;
        while (text.size() < bytes)
            text += where == 1 ? "runs \"thick\"\nat the foot, " : "Celadon over iron, glossy at cone 10, ";
        if (where == 0) book.recipes[10].name = text;
        if (where == 1) book.recipes[10].notes = text;
        if (where == 2) book.tests[19].notes = text;
        if (where == 3) book.customMaterials.push_back({"local-clay", text, {{Oxide::SiO2, 60.0}}, 8.0, ""});
        return GlazeBookCodec::encode(book);
    };
    for (const int where : {0, 1, 2, 3})
        for (const bool compact : {false, true})
            for (const bool sideBySide : {false, true}) {
                std::vector<double> handedPerByte;
                for (const std::size_t bytes : {std::size_t{256} << 10, std::size_t{1} << 20}) {
                    const std::string written = bookHolding(bytes, where);
                    const std::string text = compact ? OrzaTest::compactText(written) : written;
                    const Json::PaddedBytes padded = Json::PaddedBytes::copyOf(text);
                    const std::size_t before = Json::TextPart::handedBytes();
                    const auto read = BookJson::Readers::tokens(padded, window, Json::LongLists{sideBySide, window});
                    handedPerByte.push_back(static_cast<double>(Json::TextPart::handedBytes() - before) / text.size());
                    ASSERT_TRUE(read);
                    EXPECT_EQ(BookJson::writeBook(*read), written);
                }
                const std::string how = "text " + std::to_string(where) + (compact ? ", compact" : ", as written") +
                                        (sideBySide ? ", side by side" : ", in order");
                EXPECT_LT(handedPerByte[0], 4.0) << how;
                EXPECT_LT(handedPerByte[1], 4.0) << how;
                EXPECT_LT(handedPerByte[1], handedPerByte[0] + 0.5) << how;
            }
}

TEST(LargeBook, ALargeTextGivesItsPagesBackAndIsReadAgainOnlyToNameAProblem) {
    const std::string text = GlazeBookCodec::encode(bookOf(9000));
    ASSERT_GT(text.size(), std::size_t{8} << 20); // large enough to be read in batches
    int readAgain = 0;
    const auto again = [&] {
        ++readAgain;
        return Json::PaddedBytes::copyOf(text);
    };
    Json::PaddedBytes bytes = Json::PaddedBytes::copyOf(text);
    EXPECT_EQ(BookJson::writeBook(BookJson::readBook(bytes, again)), text);
    EXPECT_TRUE(bytes.discarded());
    EXPECT_EQ(readAgain, 0);

    // A problem near the end, met after most pages went back: named as the document reader names it.
    std::string damaged = text;
    damaged.replace(damaged.rfind("\"recipeID\" : \"") + 15, 1, "Z");
    const auto problem = [](auto read) {
        try {
            read();
        } catch (const JsonReadError& error) {
            return error.message();
        }
        return std::string("read");
    };
    const std::string expected = problem([&] { BookJson::readBook(std::string_view(damaged)); });
    EXPECT_EQ(expected.rfind("tests[8999].recipeID: not a UUID", 0), 0u) << expected;
    Json::PaddedBytes damagedBytes = Json::PaddedBytes::copyOf(damaged);
    EXPECT_EQ(problem([&] {
                  BookJson::readBook(damagedBytes, [&] {
                      ++readAgain;
                      return Json::PaddedBytes::copyOf(damaged);
                  });
              }),
              expected);
    EXPECT_EQ(readAgain, 1);
}
