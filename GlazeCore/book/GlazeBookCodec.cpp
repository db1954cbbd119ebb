#include "GlazeCore/book/GlazeBookCodec.h"

#include "GlazeCore/book/BookJson.h"
#include "GlazeCore/book/GlazeBookValidation.h"

#include <algorithm>
#include <vector>

namespace GlazeCore::GlazeBookCodec {

namespace {

// Validation and the codes the tiles lacked, once the text is read.
Decoded finish(GlazeBook read) {
    Decoded result{std::move(read), std::nullopt};
    GlazeBook& book = result.book;
    GlazeBookValidation::validate(book);

    std::vector<std::size_t> blank;
    for (std::size_t i = 0; i < book.tests.size(); ++i)
        if (TileCode::isBlank(book.tests[i].code)) blank.push_back(i);
    if (blank.empty()) return result;

    TileCode::assignMissing(book);
    TileCode::BackfillNotice notice{book.version > 1 ? TileCode::BackfillNotice::Kind::missingCodes
                                                     : TileCode::BackfillNotice::Kind::olderBook,
                                    {}};
    notice.codes.reserve(blank.size());
    for (const std::size_t i : blank)
        notice.codes.push_back(book.tests[i].code);
    result.notice = std::move(notice);
    return result;
}

} // namespace

Decoded decode(const Json::PaddedBytes& bytes) {
    return finish(BookJson::readBook(bytes));
}

Decoded decode(Json::PaddedBytes& bytes, const std::function<Json::PaddedBytes()>& again) {
    return finish(BookJson::readBook(bytes, again));
}

Decoded decode(std::string_view bytes) {
    return finish(BookJson::readBook(bytes));
}

bool cannotBeABook(std::string_view head) {
    return BookJson::cannotBeABook(head);
}

std::int64_t formatVersion(const GlazeBook& book) {
    return formatVersion(book, book.nextTileNumber);
}

std::int64_t formatVersion(const GlazeBook& book, std::int64_t nextTileNumber) {
    if (nextTileNumber > 1) return 2;
    const bool anyCode =
        std::any_of(book.tests.begin(), book.tests.end(), [](const TestTile& t) { return !TileCode::isBlank(t.code); });
    return anyCode ? 2 : 1;
}

std::string encode(const GlazeBook& book) {
    // The reader refuses what the validation refuses; a saved book must always open again.
    GlazeBookValidation::validate(book);
    return BookJson::writeBook(book);
}

void encode(const GlazeBook& book, std::int64_t version, std::int64_t nextTileNumber, const Json::Sink& sink) {
    GlazeBookValidation::validate(book, version, nextTileNumber);
    BookJson::writeBook(book, version, nextTileNumber, sink);
}

} // namespace GlazeCore::GlazeBookCodec
