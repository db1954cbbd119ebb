#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace GlazeCore {

/// A document's high-water mark of default tile numbers. Shared by the document and its views; the floor
/// never decreases, so a number handed out once is not handed out again in this document, even after the
/// book is replaced by an older copy (an undo). Every operation takes the lock exactly once.
class TileCodeLedger final {
public:
    explicit TileCodeLedger(const GlazeBook& book);
    TileCodeLedger(const TileCodeLedger&) = delete;
    TileCodeLedger& operator=(const TileCodeLedger&) = delete;

    std::int64_t floor() const;
    /// Adds the tile with a fresh code numbered from at least the floor; returns the code.
    std::string addTile(TestTile tile, GlazeBook& book);
    /// Adds the tiles in order as addTile adds each, under one lock; returns their codes.
    std::vector<std::string> addTiles(std::vector<TestTile> tiles, GlazeBook& book);
    /// True when the book's next tile number lags the floor, so the raised number still has to be saved.
    bool isAhead(const GlazeBook& book) const;
    /// A copy of the book whose next tile number covers the floor and every tile number in use.
    GlazeBook bookForSaving(const GlazeBook& book) const;
    /// That copy's next tile number, for saving without a copy.
    std::int64_t nextTileNumberForSaving(const GlazeBook& book) const;

private:
    mutable std::mutex m_lock;
    std::int64_t m_floor;
};

} // namespace GlazeCore
