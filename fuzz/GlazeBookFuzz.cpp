// Any bytes opened as a book: decoding either gives a valid book or throws one of the library's errors. A book
// that opens saves, and the saved bytes open to the same book and save to the same bytes. The test log's search
// of it finds what the plain reference search of the tests finds.

#include "GlazeCore/book/GlazeBookCodec.h"
#include "GlazeCore/search/TestSearch.h"

#include "GlazeCore/core/Error.h"
#include "support/ReferenceSearch.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace GlazeCore;

namespace {

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "fuzz_glaze_book: %s\n", what);
    std::abort();
}

// The file keeps whole seconds.
GlazeBook inWholeSeconds(GlazeBook book) {
    for (TestTile& tile : book.tests)
        tile.date = std::chrono::floor<std::chrono::seconds>(tile.date);
    return book;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    GlazeBookCodec::Decoded opened;
    try {
        opened = GlazeBookCodec::decode(bytes);
    } catch (const Error& error) {
        // The sentence is shown to the user, so building it must be as safe as the reading.
        if (error.message().empty()) broken("an error without a message");
        return 0;
    }
    if (opened.notice && opened.notice->message().empty()) broken("a notice without a message");
    GlazeBookCodec::formatVersion(opened.book);

    // The test log searches every tile's text and dates as soon as the book is open; a word found nowhere makes
    // the search build all of it. Zones far east and west move the clock's first and last days across midnight.
    static const char* const zones[] = {"Europe/Berlin", "Pacific/Kiritimati", "Pacific/Pago_Pago", "America/St_Johns"};
    static const char* const locales[] = {"de_DE", "ar_SA", "th_TH_TH", "en_US"};
    const std::vector<TestTile>& tiles = opened.book.tests;
    const std::string zone = zones[size % 4], locale = locales[size / 4 % 4];
    // The first tile's notes, which the book's own bytes make, ask for words that are there.
    for (const std::string& query : {std::string("zqzq cone 6"), tiles.empty() ? std::string() : tiles[0].notes})
        if (TestSearch::results(tiles, opened.book.recipes, {}, query, std::nullopt, std::nullopt, zone, locale) !=
            OrzaTest::ReferenceSearch::results(tiles, opened.book.recipes, {}, query, std::nullopt, std::nullopt, zone,
                                               locale))
            broken("the search and the reference search found different tiles");
    if (!tiles.empty()) TestSearch::findByCode(tiles.front().code, tiles);

    std::string saved;
    GlazeBookCodec::Decoded reopened;
    try {
        saved = GlazeBookCodec::encode(opened.book);
        reopened = GlazeBookCodec::decode(saved);
    } catch (const Error& error) {
        std::fprintf(stderr, "%s\n", error.message().c_str());
        broken("a book that opened could not be saved and opened again");
    }
    if (reopened.notice) broken("a saved book lost tile codes");
    if (!(reopened.book == inWholeSeconds(opened.book))) broken("a saved book opened as a different book");
    if (GlazeBookCodec::encode(reopened.book) != saved) broken("saving the same book twice gave different bytes");
    return 0;
}
