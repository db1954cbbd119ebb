#pragma once

namespace Orza {

class BookWindow;
class DocumentController;

/// Gives the window its menu bar: File (documents), Edit (the document's undo) and Help.
void installAppMenus(BookWindow& window, DocumentController& controller);

} // namespace Orza
