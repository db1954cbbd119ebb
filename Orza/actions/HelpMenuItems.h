#pragma once

namespace Orza {

class BookWindow;
class DocumentController;

/// The Help menu: the help window (once it exists), the support and privacy pages, and the sample book.
void installHelpMenu(BookWindow& window, DocumentController& controller);

} // namespace Orza
