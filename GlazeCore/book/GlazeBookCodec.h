#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/json/JsonWrite.h"
#include "GlazeCore/json/PaddedBytes.h"
#include "GlazeCore/tilecode/TileCode.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

/// Turns a book file's bytes into a validated, fully coded book, and a book into the bytes to save.
/// Pure functions: any thread, no state kept.
namespace GlazeCore::GlazeBookCodec {

struct Decoded {
    GlazeBook book;
    /// Present when tiles without a code were given one on open.
    std::optional<TileCode::BackfillNotice> notice;
};

/// Throws JsonReadError for a file that is not a book, GlazeBookError for a book that breaks a rule.
Decoded decode(const Json::PaddedBytes& bytes);
/// The same, giving the pages of a large text back as the book is made (BookJson::readBook); `again` gives the
/// bytes anew should they be needed whole once more.
Decoded decode(Json::PaddedBytes& bytes, const std::function<Json::PaddedBytes()>& again);
/// The same for bytes without the parser's padding, which are copied.
Decoded decode(std::string_view bytes);

/// Whether a file starting with `head` cannot hold a book, whatever follows (BookJson::cannotBeABook): such a file
/// need not be read whole to be refused.
bool cannotBeABook(std::string_view head);

/// 2 once the book has a tile code or a next tile number above 1; 1 otherwise.
std::int64_t formatVersion(const GlazeBook& book);
/// The same for the book with this next tile number.
std::int64_t formatVersion(const GlazeBook& book, std::int64_t nextTileNumber);

/// Throws GlazeBookError when the book could not be opened again, JsonWriteError for what cannot be written;
/// either way nothing is produced.
std::string encode(const GlazeBook& book);
/// The bytes of the book as it would be with `version` and `nextTileNumber`, handed to `sink` in pieces and
/// never held whole. A book that breaks a rule throws before anything goes out; text that is not UTF-8 throws
/// JsonWriteError when it is met, so the receiver must drop what it got on any throw.
void encode(const GlazeBook& book, std::int64_t version, std::int64_t nextTileNumber, const Json::Sink& sink);

} // namespace GlazeCore::GlazeBookCodec
