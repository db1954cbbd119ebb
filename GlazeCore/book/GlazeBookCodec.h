#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/book/TileCode.h"

#include <cstdint>
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
Decoded decode(std::string_view bytes);

/// 2 once the book has a tile code or a next tile number above 1; 1 otherwise.
std::int64_t formatVersion(const GlazeBook& book);

/// Throws GlazeBookError when the book could not be opened again, JsonWriteError for what cannot be written;
/// either way nothing is produced.
std::string encode(const GlazeBook& book);

} // namespace GlazeCore::GlazeBookCodec
