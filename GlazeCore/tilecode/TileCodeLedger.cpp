#include "GlazeCore/tilecode/TileCodeLedger.h"

#include "GlazeCore/tilecode/TileCode.h"

#include <algorithm>

namespace GlazeCore {

TileCodeLedger::TileCodeLedger(const GlazeBook& book)
    : m_floor(std::clamp<std::int64_t>(book.nextTileNumber, 1, TileCode::largestDefaultNumber)) {}

std::int64_t TileCodeLedger::floor() const {
    std::lock_guard guard(m_lock);
    return m_floor;
}

std::string TileCodeLedger::addTile(TestTile tile, GlazeBook& book) {
    std::lock_guard guard(m_lock);
    if (book.nextTileNumber < m_floor) book.nextTileNumber = m_floor;
    std::string code = TileCode::addTile(std::move(tile), book);
    m_floor = std::max(m_floor, std::min(book.nextTileNumber, TileCode::largestDefaultNumber));
    return code;
}

std::vector<std::string> TileCodeLedger::addTiles(std::vector<TestTile> tiles, GlazeBook& book) {
    std::lock_guard guard(m_lock);
    if (book.nextTileNumber < m_floor) book.nextTileNumber = m_floor;
    std::vector<std::string> codes;
    codes.reserve(tiles.size());
    // The floor passes every number handed out, as it does one tile at a time, also where numbering wraps.
    for (auto& [n, code] : TileCode::addTiles(std::move(tiles), book)) {
        m_floor = std::max(m_floor, std::min(n + 1, TileCode::largestDefaultNumber));
        codes.push_back(std::move(code));
    }
    return codes;
}

bool TileCodeLedger::isAhead(const GlazeBook& book) const {
    std::lock_guard guard(m_lock);
    return book.nextTileNumber < m_floor;
}

std::int64_t TileCodeLedger::nextTileNumberForSaving(const GlazeBook& book) const {
    const std::int64_t currentFloor = floor();
    const std::int64_t highest = TileCode::highestNumber(book.tests);
    const std::int64_t target = std::min(TileCode::largestDefaultNumber,
                                         std::max<std::int64_t>({1, currentFloor, book.nextTileNumber, highest + 1}));
    return std::max(book.nextTileNumber, target);
}

GlazeBook TileCodeLedger::bookForSaving(const GlazeBook& book) const {
    GlazeBook saved = book;
    saved.nextTileNumber = nextTileNumberForSaving(book);
    return saved;
}

} // namespace GlazeCore
