#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <vector>

namespace Orza {

class BookDocument;
class WindowModel;

/// The tiles the test log shows: every tile of the document's book, or, while the window model's search or
/// filters narrow the log, those they leave, as the document's TileSearchCache finds them; in book order.
std::vector<GlazeCore::TestTile> shownTests(BookDocument& document, const WindowModel& model);

} // namespace Orza
