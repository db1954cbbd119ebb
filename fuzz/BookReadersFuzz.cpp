// Any bytes read both ways a book is read: the token pass must read a text exactly as the document reader does,
// or leave it to that reader, with its usual window, a window of a few bytes (nearly every line end or comma between
// tokens starts one), and its long lists cut into batches of one item read side by side. No start of a text that
// reads as a book is refused by its first bytes. Use the glaze_book corpus and dictionary.

#include "GlazeCore/book/BookJson.h"

#include <simdjson.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

using namespace GlazeCore;

namespace {

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "fuzz_book_readers: %s\n", what);
    std::abort();
}

// Every field, dates to the nanosecond: the written text keeps whole seconds only.
std::string exactly(const GlazeBook& book) {
    std::string text = BookJson::writeBook(book);
    for (const TestTile& tile : book.tests)
        text += ' ' + std::to_string(tile.date.time_since_epoch().count());
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Json::PaddedBytes bytes = Json::PaddedBytes::copyOf({reinterpret_cast<const char*>(data), size});
    std::optional<std::string> expected;
    try {
        // One parser for every input: making its memory anew costs more than reading a small input.
        static simdjson::dom::parser parser;
        expected = exactly(BookJson::Readers::document(bytes, parser));
    } catch (const JsonReadError&) {
    } catch (const JsonWriteError&) {
        return 0; // a book that reads but holds a value that cannot be written again; the round trip fuzzer's
    }
    if (expected) {
        // A book's start, cut anywhere, is never refused by its first bytes.
        const std::string_view text(reinterpret_cast<const char*>(data), size);
        const auto refused = [&](std::size_t cut) { return BookJson::cannotBeABook(text.substr(0, cut)); };
        for (std::size_t cut = 0; cut <= std::min<std::size_t>(size, 64); ++cut)
            if (refused(cut)) broken("a book's first bytes were taken for no book's");
        if (refused(size / 2) || refused(size)) broken("a book's first bytes were taken for no book's");
    }
    const std::optional<GlazeBook> reads[] = {
        BookJson::Readers::tokens(bytes, Json::TokenReader::defaultWindow, Json::LongLists{}),
        BookJson::Readers::tokens(bytes, 8, Json::LongLists{}),
        BookJson::Readers::tokens(bytes, 8, Json::LongLists{true, 1}),
    };
    for (const std::optional<GlazeBook>& read : reads) {
        if (!read) continue;
        if (!expected) broken("the token pass read a text the document reader refuses");
        if (exactly(*read) != *expected) broken("the token pass read a book the document reader reads otherwise");
    }
    if (reads[0].has_value() != reads[1].has_value() || reads[0].has_value() != reads[2].has_value())
        broken("the token pass trusted a text in one way of reading and not another");
    return 0;
}
