#pragma once

#include "GlazeCore/book/BookPage.h"
#include "Orza/actions/Command.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace Orza {

/// What a command needs before it can be chosen.
enum class Needs {
    /// Nothing: the documents, page setup, the toolbar and the sidebar, help.
    nothing,
    /// A handler that can run now, and no sheet or dialog of the window up: the book's and the pane's work.
    handler,
    /// A handler that can run now, sheet or not: undo, redo, the text field's editing, the chemistry switch.
    handlerAnyTime,
    /// A book with a file of its own and changes since it was saved: Revert to Saved.
    savedChanges,
    /// One of the commands of its menu that can be chosen: the toolbar's blend menu.
    anyOfMenu,
};

/// One command of a book window. Texts are untranslated, in CommandTable's context.
struct CommandInfo {
    Command command;
    /// The menu title; a page command takes its page's title.
    const char* title = nullptr;
    /// What the toolbar and context menus show; none: the title.
    const char* shortTitle = nullptr;
    /// For a switch, the title while what it switches is off; the title is the one while it is on.
    const char* offTitle = nullptr;
    /// The title names the application (%1).
    bool namesApp = false;
    /// The status tip and tooltip.
    const char* hint = nullptr;
    /// The shortcut: a standard key of the platform, else these keys (the first is the one shown).
    QKeySequence::StandardKey standardKey = QKeySequence::UnknownKey;
    std::vector<QKeyCombination> keys = {};
    Needs needs = Needs::handler;
    /// The page a page command shows: it takes the page's title and Ctrl with its key, and is checked while
    /// the window shows the page.
    std::optional<GlazeCore::BookPage> page = std::nullopt;
    /// A command that opens a menu of these commands.
    std::vector<Command> menu = {};
    QAction::MenuRole menuRole = QAction::TextHeuristicRole;
};

/**
 * Every command of a book window, in menu order, described once: its titles, its keys and what enables it.
 * The action registry makes one QAction of each row; the window and the pane on screen give the handlers
 * that run them.
 */
class CommandTable final {
    Q_DECLARE_TR_FUNCTIONS(CommandTable)
public:
    static const std::vector<CommandInfo>& all();
    static const CommandInfo& of(Command command);
    /// The command that shows the page.
    static Command showing(GlazeCore::BookPage page);

    /// The menu title, translated; `on` picks a switch's title.
    static QString title(const CommandInfo& info, bool on = true);
    static QString shortTitle(const CommandInfo& info);
    static QList<QKeySequence> shortcuts(const CommandInfo& info);
    /// The shortcut shown for the command, as the platform writes it, for hints and help texts; empty
    /// when it has none.
    static QString shortcutText(Command command);
};

} // namespace Orza
