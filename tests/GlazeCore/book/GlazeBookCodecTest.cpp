#include "GlazeCore/book/GlazeBookCodec.h"

#include "GlazeCore/book/GlazeBookError.h"
#include "GlazeCore/book/JsonReadError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>

using namespace GlazeCore;
using Kind = TileCode::BackfillNotice::Kind;

namespace {

std::string tileWithID(const std::string& id, const std::string& extraMembers) {
    return R"({"id": ")" + id + R"(", "recipeID": "33333333-4444-4555-8666-777777777778", "cone": "6",
              "atmosphere": "", "schedule": [], "notes": "", "date": "2024-05-17T16:03:09+02:00")" +
           extraMembers + "}";
}

std::string tile(int n, const std::string& extraMembers) {
    char id[40];
    std::snprintf(id, sizeof id, "33333333-4444-4555-8666-%012d", n);
    return tileWithID(id, extraMembers);
}

std::string book(const std::string& head, const std::vector<std::string>& tiles) {
    std::string text = "{" + head + R"(, "recipes": [], "customMaterials": [], "tests": [)";
    for (std::size_t i = 0; i < tiles.size(); ++i)
        text += (i ? "," : "") + tiles[i];
    return text + "]}";
}

std::vector<std::string> codes(const GlazeBook& b) {
    std::vector<std::string> out;
    for (const TestTile& t : b.tests)
        out.push_back(t.code);
    return out;
}

GlazeBook bookWithTileCodes(std::int64_t nextTileNumber, std::vector<std::string> tileCodes) {
    GlazeBook b;
    b.nextTileNumber = nextTileNumber;
    for (std::string& code : tileCodes) {
        TestTile t;
        t.id = Uuid::random();
        t.code = std::move(code);
        b.tests.push_back(t);
    }
    return b;
}

std::string encodeError(const GlazeBook& b) {
    try {
        GlazeBookCodec::encode(b);
    } catch (const GlazeBookError& error) {
        return error.message();
    }
    return "encoded";
}

GlazeBook celadonWithAmount(double amount) {
    GlazeBook b;
    Recipe recipe{Uuid::random(), "Celadon", "6", {}, ""};
    recipe.lines.push_back({Uuid::random(), "m", 40, false});
    recipe.lines.push_back({Uuid::random(), "m", amount, false});
    b.recipes.push_back(recipe);
    return b;
}

} // namespace

// ---- Opening -------------------------------------------------------------------------------------------------------

TEST(GlazeBookCodecDecode, OlderBookGetsCodesInTileOrderAndSavesAsVersion2) {
    auto decoded = GlazeBookCodec::decode(book(R"("version": 1)", {tile(1, ""), tile(2, ""), tile(3, "")}));
    EXPECT_EQ(codes(decoded.book), (std::vector<std::string>{"T-001", "T-002", "T-003"}));
    ASSERT_TRUE(decoded.notice.has_value());
    EXPECT_EQ(*decoded.notice, (TileCode::BackfillNotice{Kind::olderBook, {"T-001", "T-002", "T-003"}}));
    EXPECT_EQ(decoded.book.version, 1); // left as read; the save chooses it
    EXPECT_EQ(decoded.book.nextTileNumber, 4);

    decoded.book.version = GlazeBookCodec::formatVersion(decoded.book);
    EXPECT_EQ(decoded.book.version, 2);
    const auto reopened = GlazeBookCodec::decode(GlazeBookCodec::encode(decoded.book));
    EXPECT_FALSE(reopened.notice.has_value());
    EXPECT_EQ(reopened.book, decoded.book);
}

TEST(GlazeBookCodecDecode, LostCodeInCurrentBookNamesOnlyThatCode) {
    const auto decoded = GlazeBookCodec::decode(
        book(R"("version": 2, "nextTileNumber": 3)",
             {tile(1, R"(, "code": "T-001")"), tile(2, R"(, "code": "   ")"), tile(3, R"(, "code": "T-002")")}));
    EXPECT_EQ(codes(decoded.book), (std::vector<std::string>{"T-001", "T-003", "T-002"}));
    EXPECT_EQ(decoded.notice, (TileCode::BackfillNotice{Kind::missingCodes, {"T-003"}}));
}

TEST(GlazeBookCodecDecode, CodedBookHasNoNoticeAndKeepsItsNumbers) {
    const auto decoded =
        GlazeBookCodec::decode(book(R"("version": 2)", {tile(1, R"(, "code": "A")"), tile(2, R"(, "code": "B")")}));
    EXPECT_FALSE(decoded.notice.has_value());
    EXPECT_EQ(decoded.book.nextTileNumber, 1); // absent gives 1, and nothing raised it
    EXPECT_EQ(codes(decoded.book), (std::vector<std::string>{"A", "B"}));
}

TEST(GlazeBookCodecDecode, LeadingByteOrderMarkIsSkipped) {
    const std::string text = book(R"("version": 2)", {tile(1, R"(, "code": "A")")});
    EXPECT_EQ(GlazeBookCodec::decode("\xEF\xBB\xBF" + text).book, GlazeBookCodec::decode(text).book);
    EXPECT_THROW(GlazeBookCodec::decode("\xEF\xBB\xBF"), JsonReadError);
    EXPECT_THROW(GlazeBookCodec::decode("\xEF\xBB" + text), JsonReadError);
}

TEST(GlazeBookCodecDecode, AbsentNextTileNumberIsRaisedByBackfill) {
    const auto decoded = GlazeBookCodec::decode(book(R"("version": 2, "nextTileNumber": null)",
                                                     {tile(1, R"(, "code": "T-007")"), tile(2, R"(, "code": null)")}));
    EXPECT_EQ(codes(decoded.book), (std::vector<std::string>{"T-007", "T-008"}));
    EXPECT_EQ(decoded.book.nextTileNumber, 9);
}

TEST(GlazeBookCodecDecode, AbsentAndNullPhotoBothReadAsNoneAndAreNotWritten) {
    auto decoded = GlazeBookCodec::decode(
        book(R"("version": 2)", {tile(1, R"(, "code": "A")"), tile(2, R"(, "code": "B", "photoBookmark": null)")}));
    EXPECT_FALSE(decoded.book.tests[0].photoBookmark.has_value());
    EXPECT_FALSE(decoded.book.tests[1].photoBookmark.has_value());
    EXPECT_EQ(GlazeBookCodec::encode(decoded.book).find("photoBookmark"), std::string::npos);
}

TEST(GlazeBookCodecDecode, OffsetDateIsWrittenBackInUtc) {
    const auto decoded = GlazeBookCodec::decode(book(R"("version": 2)", {tile(1, R"(, "code": "A")")}));
    const std::string written = GlazeBookCodec::encode(decoded.book);
    EXPECT_NE(written.find(R"("date" : "2024-05-17T14:03:09Z")"), std::string::npos);
}

TEST(GlazeBookCodecDecode, ReaderErrorsComeThroughUnchanged) {
    const auto readError = [](std::string_view bytes) -> std::string {
        try {
            GlazeBookCodec::decode(bytes);
        } catch (const JsonReadError& error) {
            return error.message();
        }
        return "opened";
    };
    EXPECT_EQ(readError(R"({"recipes": [], "customMaterials": [], "tests": []})"),
              "missing required member \"version\"");
    EXPECT_EQ(readError(R"({"recipes": [], "tests": [], "version": 2, "customMaterials": [
                           {"id": "a", "name": "", "loi": 0, "source": "", "analysis": {"al2o3": 10}}]})"),
              "customMaterials[0].analysis: unknown oxide formula \"al2o3\"");
    EXPECT_EQ(readError("").rfind("not valid JSON", 0), 0u);
}

TEST(GlazeBookCodecDecode, ValidationRunsBeforeCodesAreGiven) {
    try {
        GlazeBookCodec::decode(book(R"("version": 3)", {tile(1, "")}));
        ADD_FAILURE();
    } catch (const GlazeBookError& error) {
        EXPECT_EQ(error, GlazeBookError::unsupportedVersion(3, 2));
    }
    // Two tile ids that differ only in letter case clash, reported in upper case.
    try {
        GlazeBookCodec::decode(book(R"("version": 2)", {tileWithID("aaaaaaaa-4444-4555-8666-00000000000b", ""),
                                                        tileWithID("AAAAAAAA-4444-4555-8666-00000000000B", "")}));
        ADD_FAILURE();
    } catch (const GlazeBookError& error) {
        EXPECT_EQ(error, GlazeBookError::duplicateID("test tile", "AAAAAAAA-4444-4555-8666-00000000000B"));
    }
}

// ---- Format version ------------------------------------------------------------------------------------------------

TEST(GlazeBookCodecFormatVersion, FollowsCodesAndNextNumber) {
    EXPECT_EQ(GlazeBookCodec::formatVersion(bookWithTileCodes(1, {})), 1);
    EXPECT_EQ(GlazeBookCodec::formatVersion(bookWithTileCodes(2, {})), 2);
    EXPECT_EQ(GlazeBookCodec::formatVersion(bookWithTileCodes(0, {" \n"})), 1);
    EXPECT_EQ(GlazeBookCodec::formatVersion(bookWithTileCodes(-5, {"T-001"})), 2);
}

// ---- Saving --------------------------------------------------------------------------------------------------------

TEST(GlazeBookCodecEncode, RoundTripGivesAnEqualBook) {
    GlazeBook original;
    original.version = 2;
    original.nextTileNumber = 12;
    Recipe recipe{Uuid::random(), "Shino \u00e9", "10", {}, "notes/with slash"};
    recipe.lines.push_back({Uuid::random(), "custom-ash", 0.1 + 0.2, false});
    recipe.lines.push_back({Uuid::random(), "", -1e9, true});
    original.recipes.push_back(recipe);
    original.customMaterials.push_back({"custom-ash", "Ash", {{Oxide::CaO, 33.3}, {Oxide::P2O5, -100}}, 100, ""});
    TestTile t;
    t.id = Uuid::random();
    t.recipeID = recipe.id;
    t.schedule = {{100, 1000000, -1e6}};
    t.photoBookmark = Bytes{1, 2, 3, 0xFF};
    t.date = std::chrono::sys_days{std::chrono::year{2031} / 12 / 31} + std::chrono::seconds{86399};
    t.code = "Glaze A";
    original.tests.push_back(t);

    const std::string bytes = GlazeBookCodec::encode(original);
    const auto decoded = GlazeBookCodec::decode(bytes);
    EXPECT_EQ(decoded.book, original);
    EXPECT_FALSE(decoded.notice.has_value());
    EXPECT_EQ(GlazeBookCodec::encode(decoded.book), bytes);
}

// Before the fix the writer took what the reader refuses, so a saved book could fail to reopen.
TEST(GlazeBookCodecEncode, RefusesWhatCouldNotBeOpenedAgain) {
    EXPECT_EQ(encodeError(celadonWithAmount(2e9)),
              "This glaze book has a number that Orza cannot use (an amount in recipe Celadon is 2e+09; the limit "
              "is 1e+09). The file was not changed.");
    EXPECT_EQ(encodeError(celadonWithAmount(std::nan(""))),
              "This glaze book has a number that Orza cannot use (an amount in recipe Celadon is not a number; the "
              "limit is 1e+09). The file was not changed.");
    EXPECT_EQ(encodeError(celadonWithAmount(1e9)), "encoded");

    GlazeBook tooFar = bookWithTileCodes(10'000'001, {});
    EXPECT_EQ(encodeError(tooFar), GlazeBookError::numberOutOfRange("the next tile number", 1e7 + 1, 1e7).message());
    GlazeBook badVersion;
    badVersion.version = 0;
    EXPECT_EQ(encodeError(badVersion), GlazeBookError::invalidVersion(0).message());
}

// A file is refused by its first bytes only when no book starts so: never where those bytes end inside a character of
// two, three or four bytes, wherever the cut falls; always for a control byte other than white space, or bytes that
// are not UTF-8 before the last character.
TEST(GlazeBookCodecFirstBytes, RefusedOnlyWhenNoBookStartsSo) {
    const std::string book =
        "\xEF\xBB\xBF{\n  \"customMaterials\" : [\n    {\n      \"name\" : \"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x94\xA5"
        "\xC3\xA9\",\n";
    for (std::size_t cut = 0; cut <= book.size(); ++cut)
        EXPECT_FALSE(GlazeBookCodec::cannotBeABook(book.substr(0, cut))) << cut;

    for (int byte = 0; byte < 0x20; ++byte) {
        const bool space = byte == '\n' || byte == '\r' || byte == '\t';
        EXPECT_EQ(GlazeBookCodec::cannotBeABook(std::string(1, static_cast<char>(byte)) + "{\"recipes\" : []}"), !space)
            << byte;
    }
    for (const std::string head : {"{\"r\xC3\" : []}", "{\"r\xF0\x9F\x94\"", "{\"\xED\xA0\x80\"", "[{}]", "{ recipes"})
        EXPECT_TRUE(GlazeBookCodec::cannotBeABook(head)) << head;
}
