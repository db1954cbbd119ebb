#include "GlazeCore/book/BookJson.h"

#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <thread>

using namespace GlazeCore;
using namespace std::chrono;

namespace {

Uuid uuid(std::string_view text) {
    return *Uuid::parse(text);
}

Date utc(int y, unsigned mo, unsigned d, int h, int mi, int s) {
    return sys_days{year{y} / month{mo} / day{d}} + hours{h} + minutes{mi} + seconds{s};
}

std::string expectedFile() {
    std::ifstream in(ORZA_TEST_DATA_DIR "/book-expected.json", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The book that tests/data/book-expected.json was written by hand for.
GlazeBook sampleBook() {
    GlazeBook book;
    book.version = 2;
    book.nextTileNumber = 3;
    // Enumeration order (K2O, CaO, BaO, B2O3, Al2O3, SiO2) differs from the formula order the file needs.
    book.customMaterials.push_back({"custom/ash-1",
                                    "Wood \"Ash\" \u00e9",
                                    {{Oxide::SiO2, 45.5},
                                     {Oxide::CaO, 30},
                                     {Oxide::K2O, 8.25},
                                     {Oxide::Al2O3, 10},
                                     {Oxide::BaO, 0.5},
                                     {Oxide::B2O3, 1e-7}},
                                    12.5,
                                    std::string("Line1\nLine2\ttab\x01\x1f\r\b\f")});
    book.customMaterials.push_back({"empty", "", {}, 0, ""});

    Recipe celadon{uuid("6f1c1e2a-0b7d-4c55-9e3a-1d2b3c4d5e6f"), "Celadon", "6", {}, "sieve 1/2 twice"};
    celadon.lines.push_back({uuid("11111111-2222-4333-8444-555555555555"), "custom/ash-1", 60, false});
    celadon.lines.push_back({uuid("AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE"), "", 0.1, true});
    celadon.lines.push_back({uuid("0A0B0C0D-0E0F-4A1B-9C2D-3E4F5A6B7C8D"), "frit-generic-calcium-borate", -0.0, false});
    book.recipes.push_back(celadon);
    book.recipes.push_back({uuid("22222222-3333-4444-8555-666666666666"), "Tenmoku \u2603", "", {}, "\\ back"});

    TestTile fired;
    fired.id = uuid("33333333-4444-4555-8666-777777777777");
    fired.recipeID = celadon.id;
    fired.cone = "6";
    fired.atmosphere = "reduction";
    fired.schedule = {{150, 1222.5, 10}, {0.25, -100, 0}};
    fired.notes = "shino/carbon trap";
    fired.photoBookmark = Bytes{0xFB, 0xFF, 0xBF, 0x00, 0x01};
    fired.date = utc(2024, 5, 17, 14, 3, 9) + milliseconds{999}; // written as :09, never rounded up
    fired.code = "T-001";
    book.tests.push_back(fired);

    TestTile orphan;
    orphan.id = uuid("44444444-5555-4666-8777-888888888888");
    orphan.recipeID = uuid("99999999-AAAA-4BBB-8CCC-DDDDDDDDDDDD");
    orphan.cone = "06";
    orphan.atmosphere = "oxidation";
    orphan.date = utc(1970, 1, 1, 0, 0, 0) - milliseconds{500}; // before 1970 the floor is the earlier second
    book.tests.push_back(orphan);
    return book;
}

// The smallest readable book, with `tiles` spliced into its test list.
std::string bookWithTiles(const std::string& tiles) {
    return R"({"recipes": [], "customMaterials": [], "version": 2, "tests": [)" + tiles + "]}";
}

std::string tileWith(const std::string& extraMembers, const std::string& date = "2024-05-17T14:03:09Z") {
    return R"({"id": "33333333-4444-4555-8666-777777777777", "recipeID": "33333333-4444-4555-8666-777777777778",
              "cone": "6", "atmosphere": "", "schedule": [], "notes": "", "date": ")" +
           date + "\"" + extraMembers + "}";
}

std::string bookWithLine(const std::string& line) {
    return R"({"customMaterials": [], "tests": [], "version": 2, "recipes": [
              {"id": "6F1C1E2A-0B7D-4C55-9E3A-1D2B3C4D5E6F", "name": "", "cone": "", "notes": "", "lines": [)" +
           line + "]}]}";
}

std::string lineWithAmount(const std::string& amount) {
    return R"({"id": "11111111-2222-4333-8444-555555555555", "materialID": "m", "isAddition": false, "amount": )" +
           amount + "}";
}

std::string bookWithAnalysis(const std::string& analysis) {
    return R"({"recipes": [], "tests": [], "version": 2, "customMaterials": [
              {"id": "a", "name": "Ash", "loi": 0, "source": "", "analysis": )" +
           analysis + "}]}";
}

JsonReadError readError(std::string_view bytes) {
    try {
        BookJson::readBook(bytes);
    } catch (const JsonReadError& error) {
        return error;
    }
    ADD_FAILURE() << "read succeeded: " << bytes.substr(0, 200);
    return JsonReadError("", "");
}

JsonWriteError writeError(const GlazeBook& book) {
    try {
        BookJson::writeBook(book);
    } catch (const JsonWriteError& error) {
        return error;
    }
    ADD_FAILURE() << "write succeeded";
    return JsonWriteError("", "");
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

} // namespace

// ---- Written form ------------------------------------------------------------------------------------------------

// The file is compared byte for byte: sorted members, two-space indent, " : ", "\/", empty containers as
// "[]" and "{}", and no line break after the closing brace.
TEST(BookJsonWrite, MatchesTheHandWrittenFileExactly) {
    const std::string expected = expectedFile();
    ASSERT_FALSE(expected.empty()) << "missing " ORZA_TEST_DATA_DIR "/book-expected.json";
    EXPECT_EQ(BookJson::writeBook(sampleBook()), expected);
    EXPECT_EQ(expected.back(), '}');
}

TEST(BookJsonWrite, SavingTwiceGivesTheSameBytes) {
    const GlazeBook book = sampleBook();
    EXPECT_EQ(BookJson::writeBook(book), BookJson::writeBook(book));
}

TEST(BookJsonWrite, TileMembersInByteOrder) {
    GlazeBook book;
    book.tests.push_back(sampleBook().tests.front());
    const std::string text = BookJson::writeBook(book);
    const char* order[] = {"atmosphere", "code",          "cone",     "date",    "id",
                           "notes",      "photoBookmark", "recipeID", "schedule"};
    std::size_t previous = 0;
    for (const char* name : order) {
        const std::size_t at = text.find("\"" + std::string(name) + "\" : ");
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_GT(at, previous) << name;
        previous = at;
    }
}

TEST(BookJsonWrite, NonFiniteNumberNamesItsPathAndProducesNothing) {
    GlazeBook book = sampleBook();
    book.recipes[0].lines[1].amount = std::nan("");
    EXPECT_EQ(writeError(book).path(), "recipes[0].lines[1].amount");

    book = sampleBook();
    book.customMaterials[0].analysis[Oxide::SiO2] = std::numeric_limits<double>::infinity();
    EXPECT_EQ(writeError(book).path(), "customMaterials[0].analysis.SiO2");

    book = sampleBook();
    book.tests[0].schedule[1].targetC = -std::numeric_limits<double>::infinity();
    EXPECT_EQ(writeError(book).path(), "tests[0].schedule[1].targetC");
}

// Such a file would be refused on open, so it is refused on save.
TEST(BookJsonWrite, BrokenUtf8TextIsRefused) {
    GlazeBook book = sampleBook();
    book.recipes[1].name = "Tenmoku \xE2\x98";
    EXPECT_EQ(writeError(book).path(), "recipes[1].name");
}

// ---- Round trips ---------------------------------------------------------------------------------------------------

TEST(BookJsonRoundTrip, HandWrittenFileReadsAsTheSampleBook) {
    GlazeBook expected = sampleBook();
    // Only whole seconds are stored.
    for (TestTile& tile : expected.tests)
        tile.date = floor<seconds>(tile.date);
    const GlazeBook read = BookJson::readBook(expectedFile());
    EXPECT_EQ(read, expected);
    EXPECT_TRUE(std::signbit(read.recipes[0].lines[2].amount)); // -0.0 keeps its sign
    EXPECT_FALSE(read.tests[1].photoBookmark.has_value());
}

TEST(BookJsonRoundTrip, EveryDoubleReadsBackBitForBit) {
    const double values[] = {0.1,
                             1.0 / 3,
                             100,
                             -2.5,
                             -0.0,
                             1e-7,
                             1e21,
                             123456789012345680000.0,
                             9223372036854775808.0,
                             18446744073709551616.0,
                             1.7976931348623157e308,
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::min(),
                             9007199254740993.0};
    GlazeBook book;
    Recipe recipe;
    for (double value : values)
        recipe.lines.push_back({Uuid::random(), "m", value, false});
    book.recipes.push_back(recipe);
    std::mt19937_64 random(42);
    for (int i = 0; i < 2000; ++i) {
        const double value = std::bit_cast<double>(random());
        if (std::isfinite(value)) book.recipes[0].lines.push_back({Uuid::random(), "m", value, false});
    }
    const GlazeBook read = BookJson::readBook(BookJson::writeBook(book));
    ASSERT_EQ(read.recipes[0].lines.size(), book.recipes[0].lines.size());
    for (std::size_t i = 0; i < read.recipes[0].lines.size(); ++i)
        EXPECT_TRUE(sameBits(read.recipes[0].lines[i].amount, book.recipes[0].lines[i].amount))
            << book.recipes[0].lines[i].amount;
}

TEST(BookJsonRoundTrip, BookmarksOfEveryLength) {
    std::mt19937 random(7);
    GlazeBook book;
    for (std::size_t length = 0; length < 40; ++length) {
        TestTile tile;
        tile.id = Uuid::random();
        tile.photoBookmark = Bytes(length);
        for (auto& byte : *tile.photoBookmark)
            byte = static_cast<std::uint8_t>(random());
        book.tests.push_back(tile);
    }
    EXPECT_EQ(BookJson::readBook(BookJson::writeBook(book)), book);
}

// ---- Dates ---------------------------------------------------------------------------------------------------------

TEST(BookJsonDates, OffsetsAndFractionsReadAsTheirUtcInstant) {
    const auto read = [](const std::string& date) {
        return BookJson::readBook(bookWithTiles(tileWith("", date))).tests[0].date;
    };
    EXPECT_EQ(read("2024-05-17T16:03:09+02:00"), utc(2024, 5, 17, 14, 3, 9));
    EXPECT_EQ(read("2024-05-17T08:33:09-05:30"), utc(2024, 5, 17, 14, 3, 9));
    EXPECT_EQ(read("2024-05-17T14:03:09-00:00"), utc(2024, 5, 17, 14, 3, 9));
    EXPECT_EQ(read("2024-05-17T14:03:09.25Z"), utc(2024, 5, 17, 14, 3, 9) + milliseconds{250});
    EXPECT_EQ(read("2024-02-29T00:00:00Z"), utc(2024, 2, 29, 0, 0, 0));
    EXPECT_EQ(read("2024-01-01T01:00:00+02:00"), utc(2023, 12, 31, 23, 0, 0));
}

TEST(BookJsonDates, MalformedDatesAreRefusedWithTheirPath) {
    for (const char* date :
         {"2024-02-30T00:00:00Z", "2023-02-29T00:00:00Z", "2024-05-17 14:03:09Z", "2024-05-17T14:03:09",
          "2024-05-17T24:00:00Z", "2024-05-17T14:60:00Z", "2024-05-17T14:03:09z", "2024-05-17T14:03:09+0200",
          "2024-05-17T14:03:09+02", "2024-05-17T14:03:09.Z", "2024-05-17T14:03:09Z ", "24-05-17T14:03:09Z",
          "2024-5-17T14:03:09Z", "", "1715954589"}) {
        const JsonReadError error = readError(bookWithTiles(tileWith("") + "," + tileWith("", date)));
        EXPECT_EQ(error.path(), "tests[1].date") << date;
        EXPECT_EQ(error.problem().rfind("not an ISO 8601 date", 0), 0u) << date;
    }
}

// A well-formed date the clock cannot hold is named as such, not as text that is no date.
TEST(BookJsonDates, DatesBeyondTheClockAreRefusedAsSuch) {
    for (const char* date : {"0001-01-01T00:00:00Z", "1500-06-01T12:00:00Z", "9999-12-31T23:59:59Z"}) {
        const JsonReadError error = readError(bookWithTiles(tileWith("", date)));
        EXPECT_EQ(error.path(), "tests[0].date") << date;
        EXPECT_EQ(error.problem().rfind("a date outside the years 1678 to 2261", 0), 0u) << error.problem();
    }
}

// ---- Other value encodings -----------------------------------------------------------------------------------------

TEST(BookJsonValues, UuidsReadInEitherCaseAndNothingElse) {
    const std::string lower = R"({"id": "aaaaaaaa-bbbb-4ccc-8ddd-eeeeeeeeeeee", "materialID": "", "isAddition": false,
                                  "amount": 1})";
    EXPECT_EQ(BookJson::readBook(bookWithLine(lower)).recipes[0].lines[0].id,
              uuid("AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE"));

    for (const char* id : {"{AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE}", "AAAAAAAABBBB4CCC8DDDEEEEEEEEEEEE",
                           "AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEE", "AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEEE",
                           "GAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE", "AAAAAAAA-BBBB-4CCC-8DDDEEEEEEEEEEEE-", ""}) {
        const std::string line = R"({"id": ")" + std::string(id) + R"(", "materialID": "", "isAddition": false,
                                      "amount": 1})";
        const JsonReadError error = readError(bookWithLine(line));
        EXPECT_EQ(error.path(), "recipes[0].lines[0].id") << id;
        EXPECT_NE(error.problem().find("not a UUID"), std::string::npos) << id;
    }
}

TEST(BookJsonValues, Base64MustBeStandardAndPadded) {
    const auto photo = [](const std::string& value) { return tileWith(R"(, "photoBookmark": )" + value); };
    EXPECT_EQ(BookJson::readBook(bookWithTiles(photo(R"("+\/+\/AAE=")"))).tests[0].photoBookmark,
              (Bytes{0xFB, 0xFF, 0xBF, 0x00, 0x01}));
    EXPECT_EQ(BookJson::readBook(bookWithTiles(photo(R"("")"))).tests[0].photoBookmark, Bytes{});
    EXPECT_FALSE(BookJson::readBook(bookWithTiles(photo("null"))).tests[0].photoBookmark.has_value());
    EXPECT_FALSE(BookJson::readBook(bookWithTiles(tileWith(""))).tests[0].photoBookmark.has_value());

    for (const char* bad : {R"("QQ")", R"("QQ=")", R"("-_8=")", R"("QQ==QQ==")", R"("Q=Q=")", R"("QR==")", R"("QUJ=")",
                            R"("QUJD\nREVG")", R"(" QUJD")", "42"}) {
        const JsonReadError error = readError(bookWithTiles(photo(bad)));
        EXPECT_EQ(error.path(), "tests[0].photoBookmark") << bad;
    }
}

TEST(BookJsonValues, IntegersMustBeWholeAndWithinSigned64Bits) {
    const auto withVersion = [](const std::string& version) {
        return R"({"recipes": [], "customMaterials": [], "tests": [], "version": )" + version + "}";
    };
    EXPECT_EQ(BookJson::readBook(withVersion("-9223372036854775808")).version,
              std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(BookJson::readBook(withVersion("9223372036854775807")).version, std::numeric_limits<std::int64_t>::max());
    for (const char* bad : {"1.5", "1.0", "1e0", "9223372036854775808", "\"2\"", "true", "null"}) {
        const JsonReadError error = readError(withVersion(bad));
        EXPECT_EQ(error.path(), "version") << bad;
        EXPECT_NE(error.problem().find("integer"), std::string::npos) << bad << ": " << error.problem();
    }
}

TEST(BookJsonValues, DoublesAcceptAnyJsonNumber) {
    const auto amount = [](const std::string& text) {
        return BookJson::readBook(bookWithLine(lineWithAmount(text))).recipes[0].lines[0].amount;
    };
    EXPECT_EQ(amount("60"), 60.0);
    EXPECT_EQ(amount("-7"), -7.0);
    EXPECT_EQ(amount("18446744073709551615"), 18446744073709551615.0);
    EXPECT_EQ(amount("2.5E3"), 2500.0);
    EXPECT_EQ(readError(bookWithLine(lineWithAmount("\"60\""))).problem(), "expected a number, found a string");
}

// ---- Members -------------------------------------------------------------------------------------------------------

TEST(BookJsonMembers, MissingRequiredMemberNamesObjectAndMember) {
    const JsonReadError noVersion = readError(R"({"recipes": [], "customMaterials": [], "tests": []})");
    EXPECT_EQ(noVersion.path(), "");
    EXPECT_EQ(noVersion.problem(), "missing required member \"version\"");

    const JsonReadError noAmount = readError(
        bookWithLine(R"({"id": "11111111-2222-4333-8444-555555555555", "materialID": "", "isAddition": false})"));
    EXPECT_EQ(noAmount.message(), "recipes[0].lines[0]: missing required member \"amount\"");

    EXPECT_EQ(readError(bookWithTiles(tileWith("") + ",{}")).message(), "tests[1]: missing required member \"id\"");
}

TEST(BookJsonMembers, OptionalMembersDefaultWhenAbsentOrNull) {
    const GlazeBook absent = BookJson::readBook(bookWithTiles(tileWith("")));
    EXPECT_EQ(absent.nextTileNumber, 1);
    EXPECT_EQ(absent.tests[0].code, "");

    const GlazeBook nulls = BookJson::readBook(
        R"({"recipes": [], "customMaterials": [], "version": 1, "nextTileNumber": null, "tests": [)" +
        tileWith(R"(, "code": null, "photoBookmark": null)") + "]}");
    EXPECT_EQ(nulls.nextTileNumber, 1);
    EXPECT_EQ(nulls.tests[0].code, "");
    EXPECT_FALSE(nulls.tests[0].photoBookmark.has_value());
}

TEST(BookJsonMembers, NullInARequiredMemberIsAWrongType) {
    const std::string tile = tileWith("");
    const std::string nullCone = std::string(tile).replace(tile.find(R"("cone": "6")"), 11, R"("cone": null)");
    const JsonReadError error = readError(bookWithTiles(nullCone));
    EXPECT_EQ(error.message(), "tests[0].cone: expected a string, found null");
    EXPECT_EQ(readError(R"({"recipes": {}, "customMaterials": [], "tests": [], "version": 1})").message(),
              "recipes: expected an array, found an object");
    EXPECT_EQ(readError("[]").problem(), "expected an object, found an array");
}

TEST(BookJsonMembers, UnknownMembersIgnoredRepeatedOnesRefused) {
    const GlazeBook book = BookJson::readBook(
        R"({"future": {"deep": [1, {"x": null}]}, "recipes": [], "customMaterials": [], "tests": [], "version": 2})");
    EXPECT_EQ(book.version, 2);
    const JsonReadError repeated =
        readError(R"({"recipes": [], "customMaterials": [], "tests": [], "version": 2, "version": 1})");
    EXPECT_EQ(repeated.problem(), "repeated member \"version\"");
}

// ---- Analysis ------------------------------------------------------------------------------------------------------

TEST(BookJsonAnalysis, OnlyExactFormulasAreKeys) {
    const Material read =
        BookJson::readBook(bookWithAnalysis(R"({"SiO2": 64.8, "Al2O3": 17, "K2O": 10.1})")).customMaterials[0];
    EXPECT_EQ(read.analysis, (Analysis{{Oxide::SiO2, 64.8}, {Oxide::Al2O3, 17.0}, {Oxide::K2O, 10.1}}));

    for (const char* bad : {R"({"sio2": 1})", R"({"SIO2": 1})", R"({" SiO2": 1})", R"({"SiO₂": 1})", R"({"Xx": 1})",
                            R"({"SiO2": 1, "SiO2": 2})", R"({"SiO2": "1"})", "[]"}) {
        const JsonReadError error = readError(bookWithAnalysis(bad));
        EXPECT_EQ(error.path().rfind("customMaterials[0].analysis", 0), 0u) << bad << " -> " << error.message();
    }
    EXPECT_EQ(readError(bookWithAnalysis(R"({"sio2": 1})")).problem(), "unknown oxide formula \"sio2\"");
}

// ---- Hostile input -------------------------------------------------------------------------------------------------

TEST(BookJsonHostile, EveryTruncationIsRefused) {
    const std::string whole = expectedFile();
    for (std::size_t length = 0; length < whole.size(); ++length)
        EXPECT_THROW(BookJson::readBook(std::string_view(whole).substr(0, length)), JsonReadError) << length;
}

TEST(BookJsonHostile, MalformedBytesAreRefusedNotCrashed) {
    const std::string cases[] = {
        "",
        "   ",
        "{\"recipes\": [], \"customMaterials\": [], \"tests\": [], \"version\": 2, \"n\": \"\xC3\x28\"}",
        "{\"recipes\": [], \"customMaterials\": [], \"tests\": [], \"version\": 2, \"\xFF\": 1}",
        bookWithLine(lineWithAmount("1e400")),
        bookWithLine(lineWithAmount("-1e400")),
        bookWithLine(lineWithAmount("NaN")),
        bookWithLine(lineWithAmount("0x10")),
        std::string(100'000, '['),
        "{\"x\": " + std::string(5000, '[') + std::string(5000, ']') +
            ", \"recipes\": [], \"customMaterials\": [], \"tests\": [], \"version\": 2}",
        "{\"recipes\": [], \"customMaterials\": [], \"tests\": [], \"version\": 2, \"s\": \"\\ud800\"}",
        "{\"recipes\": [], \"customMaterials\": [], \"tests\": [], \"version\": 2} {}",
        std::string("{\"recipes\": [], \"customMaterials\": [], \"tests\": [], \"version\": 2}") + std::string(1, '\0'),
    };
    for (const std::string& bytes : cases) {
        const JsonReadError error = readError(bytes);
        EXPECT_EQ(error.path(), "");
        EXPECT_EQ(error.problem().rfind("not valid JSON (", 0), 0u) << error.problem();
    }
}

TEST(BookJsonHostile, TenThousandMembers) {
    std::string analysis = "{";
    for (int i = 0; i < 10'000; ++i)
        analysis += (i ? ", \"X" : "\"X") + std::to_string(i) + "\": 1";
    analysis += "}";
    EXPECT_EQ(readError(bookWithAnalysis(analysis)).problem(), "unknown oxide formula \"X0\"");

    // The same many members where unknown ones are allowed: read, and ignored.
    const std::string book =
        R"({"recipes": [], "customMaterials": [], "tests": [], "version": 2, "extra": )" + analysis + "}";
    EXPECT_EQ(BookJson::readBook(book).version, 2);

    std::string repeatedSiO2 = "{";
    for (int i = 0; i < 10'000; ++i)
        repeatedSiO2 += i ? ", \"SiO2\": 1" : "\"SiO2\": 1";
    repeatedSiO2 += "}";
    EXPECT_EQ(readError(bookWithAnalysis(repeatedSiO2)).problem(), "repeated oxide formula \"SiO2\"");
}

TEST(BookJsonHostile, ReadsRunSideBySide) {
    const std::string bytes = expectedFile();
    const GlazeBook expected = BookJson::readBook(bytes);
    std::vector<std::thread> threads;
    std::atomic<int> equal{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i)
                if (BookJson::readBook(bytes) == expected) ++equal;
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(equal, 200);
}

// ---- Built-in tables -----------------------------------------------------------------------------------------------

TEST(BookJsonTables, MaterialsRows) {
    const auto rows = BookJson::readMaterials(
        R"([{"id": "frit-generic-calcium-borate", "name": "Frit", "analysis": {"CaO": 20, "B2O3": 23.5}, "loi": 0,
             "source": "typical"}])");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].analysis.at(Oxide::B2O3), 23.5);

    try {
        BookJson::readMaterials(R"([{"id": "a", "name": "", "analysis": {}, "loi": 0}])");
        ADD_FAILURE();
    } catch (const JsonReadError& error) {
        EXPECT_EQ(error.message(), "[0]: missing required member \"source\"");
    }
}

TEST(BookJsonTables, OxideRows) {
    const auto rows = BookJson::readOxideTable(
        R"([{"oxide": "SiO2", "molarMass": 60.08, "role": "glassFormer", "expansionCoefficient": 3.5},
            {"oxide": "Fe2O3", "molarMass": 159.69, "role": "colorant", "expansionCoefficient": null},
            {"oxide": "CuO", "molarMass": 79.55, "role": "colorant"}])");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].oxide, Oxide::SiO2);
    EXPECT_EQ(rows[0].role, OxideRole::glassFormer);
    EXPECT_EQ(rows[0].expansionCoefficient, 3.5);
    EXPECT_FALSE(rows[1].expansionCoefficient.has_value());
    EXPECT_FALSE(rows[2].expansionCoefficient.has_value());

    const auto tableError = [](const std::string& bytes) -> std::string {
        try {
            BookJson::readOxideTable(bytes);
        } catch (const JsonReadError& error) {
            return error.message();
        }
        return "read succeeded";
    };
    EXPECT_EQ(tableError(R"([{"oxide": "SiO2", "molarMass": 60.08, "role": "glassformer"}])"),
              "[0].role: unknown oxide role \"glassformer\"");
    EXPECT_EQ(tableError(R"([{"oxide": "sio2", "molarMass": 60.08, "role": "flux"}])"),
              "[0].oxide: unknown oxide formula \"sio2\"");
    EXPECT_EQ(tableError(R"({"oxide": "SiO2"})"), "expected an array, found an object");
}
