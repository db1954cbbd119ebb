// The token pass that reads a book must read exactly what the document reader reads, and leave to it every
// text it refuses, so that the errors and their paths stay the document reader's.
#include "GlazeCore/book/BookJson.h"
#include "GlazeCore/book/GlazeBookCodec.h"
#include "support/BookLayouts.h"

#include <gtest/gtest.h>
#include <simdjson.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

using namespace GlazeCore;

namespace {

std::string expectedFile() {
    std::ifstream in(ORZA_TEST_DATA_DIR "/book-expected.json", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every member, optional ones null and absent, members a later version might add, and every kind of escape
// and number the grammar allows.
const std::string richBook = R"({"future": {"a": [1, -2.5e-3, true, false, null, "x\u00e9\/"], "b": {}, "c": []},
 "customMaterials": [{"analysis": {"SiO2": 64.8, "Al2O3": 1.7E1, "K2O": 1e-320}, "id": "m\/1",
   "loi": 0.0, "name": "Ash \"wood\" \u00E9\uD83D\uDE00", "source": "tab\there\nnext \\ slash"}],
 "nextTileNumber": null, "version": 1,
 "recipes": [{"cone": "06", "id": "6f1c1e2a-0b7d-4c55-9e3a-1d2b3c4d5e6f", "name": "Celadon", "notes": "",
   "extra": [[[[{"deep": 1}]]]],
   "lines": [{"amount": 60, "id": "11111111-2222-4333-8444-555555555555", "isAddition": false,
              "materialID": "m\/1"},
             {"amount": -0.0, "id": "AAAAAAAA-BBBB-4CCC-8DDD-EEEEEEEEEEEE", "isAddition": true,
              "materialID": "silica"},
             {"amount": 123456789012345678, "id": "0A0B0C0D-0E0F-4A1B-9C2D-3E4F5A6B7C8D", "isAddition": false,
              "materialID": ""}]}],
 "tests": [{"atmosphere": "reduction", "code": null, "cone": "6", "date": "2024-05-17T16:03:09.5+02:00",
   "id": "33333333-4444-4555-8666-777777777777", "notes": "a\r\nb", "photoBookmark": "+\/+\/AAE=",
   "recipeID": "6F1C1E2A-0B7D-4C55-9E3A-1D2B3C4D5E6F",
   "schedule": [{"holdMinutes": 0, "ratePerHour": 150, "targetC": 1222.5}]},
  {"atmosphere": "", "cone": "", "date": "1969-12-31T23:59:59Z", "id": "44444444-5555-4666-8777-888888888888",
   "notes": "", "photoBookmark": null, "recipeID": "99999999-AAAA-4BBB-8CCC-DDDDDDDDDDDD", "schedule": []}]
})";

// Strings that hold what ends a window or starts a run (commas after closes and quotes, brackets, escaped quotes and
// backslashes), and objects inside items that start as the items do, so that guessed cuts fall inside strings and
// runs start inside items.
const std::string trickyBook = R"json({"customMaterials": [
  {"analysis": {"SiO2": 60}, "id": "m},{\"analysis\": 1}", "loi": 1, "name": "a\",b", "source": "x],y},z\\"},
  {"analysis": {}, "id": "n", "loi": 2, "name": "[{\"id\":\"q\"}]", "source": "\\\",\\\\\","}],
 "nextTileNumber": 4, "version": 2,
 "recipes": [
  {"cone": "6", "id": "6F1C1E2A-0B7D-4C55-9E3A-1D2B3C4D5E6F", "lines": [], "name": "},{\"cone\": \"6\"},",
   "notes": "", "later": [{"cone": "x"}, {"cone": "y", "id": 1}, {"cone": [{"cone": {}}, {"cone": 2}]}]},
  {"cone": "10", "id": "7F1C1E2A-0B7D-4C55-9E3A-1D2B3C4D5E6F", "name": "r2", "notes": "\r\n},\n",
   "lines": [{"amount": 1, "id": "11111111-2222-4333-8444-555555555555", "isAddition": false,
              "materialID": "a,b}],"}]}],
 "tests": [
  {"atmosphere": "},{\"atmosphere\": ", "cone": "6", "date": "2024-05-17T14:03:09Z", "code": "T-001",
   "id": "33333333-4444-4555-8666-777777777777", "notes": "", "recipeID": "6F1C1E2A-0B7D-4C55-9E3A-1D2B3C4D5E6F",
   "schedule": [{"holdMinutes": 0, "ratePerHour": 1, "targetC": 2},
                {"holdMinutes": 3, "ratePerHour": 4, "targetC": 5}]},
  {"atmosphere": "", "cone": "", "date": "2024-05-18T14:03:09Z", "id": "44444444-5555-4666-8777-888888888888",
   "notes": "\",\"", "recipeID": "7F1C1E2A-0B7D-4C55-9E3A-1D2B3C4D5E6F", "schedule": []}]
})json";

/// What a reader made of the bytes: the written text of the book read (dates keep their fractions), or
/// the error's whole message.
struct Outcome {
    std::optional<std::string> written;
    std::string error;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

std::string writtenExactly(const GlazeBook& book) {
    std::string text = BookJson::writeBook(book);
    for (const TestTile& tile : book.tests)
        text += " " + std::to_string(tile.date.time_since_epoch().count());
    return text;
}

Outcome documentReader(const Json::PaddedBytes& bytes) {
    simdjson::dom::parser parser;
    try {
        return {writtenExactly(BookJson::Readers::document(bytes, parser)), {}};
    } catch (const JsonReadError& error) {
        return {std::nullopt, error.message()};
    }
}

/// The token pass agrees with the document reader, or declines; true when it read the book itself. It runs
/// with its usual window; indexing a few bytes at a time, so that nearly every line end or comma between tokens starts
/// a window; and, when asked, with every item of the long lists a batch of its own, read side by side.
bool agrees(std::string_view text, bool inBatches = true) {
    const Json::PaddedBytes bytes = Json::PaddedBytes::copyOf(text);
    std::vector<std::optional<GlazeBook>> reads{
        BookJson::Readers::tokens(bytes, Json::TokenReader::defaultWindow, Json::LongLists{}),
        BookJson::Readers::tokens(bytes, 8, Json::LongLists{})};
    if (inBatches) reads.push_back(BookJson::Readers::tokens(bytes, 8, Json::LongLists{true, 1}));
    if (std::none_of(reads.begin(), reads.end(), [](const auto& read) { return read.has_value(); })) return false;
    const Outcome expected = documentReader(bytes);
    EXPECT_TRUE(expected.written.has_value())
        << "trusted a text the document reader refuses (" << expected.error << "): " << text;
    for (const auto& read : reads) {
        if (read) {
            EXPECT_EQ(writtenExactly(*read), expected.written.value_or("")) << text;
        }
        EXPECT_EQ(read.has_value(), reads[0].has_value()) << text;
    }
    return reads[0].has_value();
}

} // namespace

TEST(BookReaders, TokenPassReadsWrittenAndHandWrittenBooksItself) {
    EXPECT_TRUE(agrees(expectedFile()));
    EXPECT_TRUE(agrees("\xEF\xBB\xBF" + expectedFile()));
    EXPECT_TRUE(agrees(richBook));
    EXPECT_TRUE(agrees(BookJson::writeBook(BookJson::readBook(richBook))));
    EXPECT_TRUE(agrees(trickyBook));
}

// The same book laid out as written, with commas starting the lines, with CR LF line ends, with CR line ends, on one
// line, with the objects inside the items as far in as the items, where a line starting an object does not start an
// item; and compact: on one line, with an item of each list a line, and with a member of the book a line.
std::vector<std::string> layoutsOf(const std::string& written) {
    std::string commaFirst, crLf, crOnly, oneLine, flat;
    for (std::size_t i = 0; i < written.size(); ++i) {
        const bool commaEndsLine = written[i] == ',' && written[i + 1] == '\n';
        const bool lineFeedAfterComma = written[i] == '\n' && i > 0 && written[i - 1] == ',';
        commaFirst += commaEndsLine ? '\n' : lineFeedAfterComma ? ',' : written[i];
        crLf += written[i] == '\n' ? "\r\n" : std::string(1, written[i]);
        crOnly += written[i] == '\n' ? '\r' : written[i];
    }
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] != '\n')
            oneLine += written[i];
        else
            while (i + 1 < written.size() && written[i + 1] == ' ')
                ++i;
    }
    for (std::size_t i = 0; i < written.size(); ++i) {
        flat += written[i];
        if (written.compare(i, 10, "\n        {") == 0 || written.compare(i, 10, "\n        }") == 0) i += 4;
    }
    return {written,
            commaFirst,
            crLf,
            crOnly,
            oneLine,
            flat,
            OrzaTest::compactText(written),
            OrzaTest::compactText(written, "\n", 2),
            OrzaTest::compactText(written, "\r", 1)};
}

// A window may end between any two tokens, and the element it cuts off is read again in the next one: every window
// size reads the same book, whether the long lists are read in order or in batches of one item.
TEST(BookReaders, EveryWindowReadsTheSameBook) {
    std::vector<std::string> texts = layoutsOf(expectedFile());
    for (const std::string& text : layoutsOf(trickyBook))
        texts.push_back(text);
    texts.push_back(richBook);
    for (const std::string& text : texts) {
        const Json::PaddedBytes bytes = Json::PaddedBytes::copyOf(text);
        const Outcome expected = documentReader(bytes);
        ASSERT_TRUE(expected.written.has_value()) << expected.error;
        for (std::size_t window = 1; window <= 200; ++window) {
            for (const Json::LongLists& plan : {Json::LongLists{}, Json::LongLists{true, 1}}) {
                const auto read = BookJson::Readers::tokens(bytes, window, plan);
                ASSERT_TRUE(read.has_value()) << "window " << window << (plan.shared ? " in batches" : "");
                EXPECT_EQ(writtenExactly(*read), *expected.written) << "window " << window;
            }
        }
    }
}

TEST(BookReaders, WhatTheTokenPassLeavesIsReadTheSameWay) {
    const auto book = [](const std::string& amount, const std::string& extra = "") {
        return R"({"recipes": [{"cone": "", "id": "6F1C1E2A-0B7D-4C55-9E3A-1D2B3C4D5E6F", "name": "", "notes": "",
                   "lines": [{"id": "11111111-2222-4333-8444-555555555555", "materialID": "m", "isAddition": false,
                   "amount": )" +
               amount + "}]}], \"customMaterials\": [], \"tests\": [], \"version\": 2" + extra + "}";
    };
    // Integers that may not fit, a zero that may be a fraction, numbers past a double's range, escaped names and
    // values nested deeper than a book: left to the document reader, which reads or refuses them as it always did.
    const std::string declined[] = {book("-0"),
                                    book("9223372036854775807"),
                                    book("18446744073709551616"),
                                    book("1e400"),
                                    book("1e-400"),
                                    book("1", ", \"versio\\u006e\": 3"),
                                    book("1", ", \"x\": " + std::string(40, '[') + std::string(40, ']'))};
    for (const std::string& text : declined) {
        const Json::PaddedBytes bytes = Json::PaddedBytes::copyOf(text);
        EXPECT_FALSE(BookJson::Readers::tokens(bytes)) << text;
        const Outcome expected = documentReader(bytes);
        try {
            EXPECT_EQ(writtenExactly(BookJson::readBook(bytes)), expected.written.value_or("")) << text;
        } catch (const JsonReadError& error) {
            EXPECT_EQ(error.message(), expected.error) << text;
        }
    }
    EXPECT_TRUE(agrees(book("-0.0")));
    EXPECT_TRUE(agrees(book("4.9e-324")));
    EXPECT_TRUE(agrees(book("-123456789012345678")));
}

// Damage of every kind at every place: the pass must never read a text the document reader refuses, nor read
// one differently.
TEST(BookReaders, DamagedTextsAreReadAlikeOrDeclined) {
    const char replacements[] = {'"', '\\', ',', ':', '{', '}',    '[',    ']',    ' ',    'x', '0', '9', '-',
                                 '.', 'e',  '+', 'n', 't', '\x01', '\x7f', '\xC3', '\xFF', '/', 'u', '\0'};
    std::size_t trusted = 0;
    for (const std::string& original : {richBook, expectedFile(), OrzaTest::compactText(trickyBook)}) {
        for (std::size_t at = 0; at < original.size(); ++at) {
            trusted += agrees(original.substr(0, at), at % 4 == 0);
            std::string cut = original;
            cut.erase(at, 1);
            trusted += agrees(cut, at % 4 == 1);
            // Batches cost a hand-over to other threads, so they read every fourth place's damage.
            for (const char c : replacements) {
                if (original[at] == c) continue;
                std::string changed = original;
                changed[at] = c;
                trusted += agrees(changed, at % 4 == 2);
            }
        }
    }
    // Most single changes inside strings and numbers still leave a book to read.
    EXPECT_GT(trusted, 1000u);

    std::mt19937 random(11);
    const std::string whole = richBook;
    for (int round = 0; round < 3000; ++round) {
        std::string changed = whole;
        for (int k = 0; k < 3; ++k)
            changed[random() % changed.size()] = replacements[random() % std::size(replacements)];
        agrees(changed);
    }
}
