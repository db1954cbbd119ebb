#pragma once

class QMenu;
class QMenuBar;

namespace Orza {

class FocusedValues;

// The menu commands that reach a book window only through the bundles it publishes (FocusedValues).
// An item is enabled while its bundle, and the optional member it calls, exist; choosing it reads the
// bundle again at that moment and does nothing when the member has gone. No group keeps state of its own
// or changes the book, the window model or a setting itself.

/// The "Recipe" menu: the book's recipe items, then the recipe pane's material, reformulation, blend and
/// batch sheet items.
struct RecipeCommands {
    static QMenu* install(QMenuBar& bar, FocusedValues& focused);
};

/// The "Tests" menu: add, find, and the label sheet.
struct TestsCommands {
    static QMenu* install(QMenuBar& bar, FocusedValues& focused);
};

/// A divider and one item per book page at the end of the View menu, Ctrl and the page's position.
struct PageCommands {
    static void install(QMenu& view, FocusedValues& focused);
};

/// The File menu's print group: "Page Setup…", always there, and "Print Batch Sheet…" of the recipe pane.
/// Nothing here prints the book itself.
struct PrintCommands {
    static void install(QMenu& file, FocusedValues& focused);
};

} // namespace Orza
