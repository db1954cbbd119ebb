#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <cstdint>
#include <vector>

namespace Orza {

class BookDocument;
class WindowModel;

/// The tiles the test log shows: every tile of the document's book, or, while the window model's search or
/// filters narrow the log, those they leave, as the document's TileSearchCache finds them; in book order.
std::vector<GlazeCore::TestTile> shownTests(BookDocument& document, const WindowModel& model);
/// Where those tiles stand in the book's tiles, in book order: what shownTests() copies.
std::vector<std::uint32_t> shownTestPositions(BookDocument& document, const WindowModel& model);

} // namespace Orza
