#pragma once

namespace Orza {

class BookWindow;
class DocumentController;

/// Gives the window its menu bar: File (documents and printing), Edit (the document's undo), View (the
/// book's pages), Recipe, Tests and Help. The menus act on this window alone.
void installAppMenus(BookWindow& window, DocumentController& controller);

} // namespace Orza
