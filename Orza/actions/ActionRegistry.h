#pragma once

#include "GlazeCore/book/BookPage.h"
#include "GlazeCore/text/Uuid.h"
#include "Orza/actions/Command.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace Orza {

class BookDocument;

/// What runs a command, given by the window or the pane on screen; it runs on the main thread.
struct CommandHandler {
    std::function<void()> run;
    /// Whether it can run now; none: whenever it is set.
    std::function<bool()> canRun = {};
    /// For a switch: whether what it switches is on now, which its titles follow.
    std::function<bool()> isOn = {};
};

/**
 * The commands of one book window: one QAction per command of the CommandTable, shared by the menu bar,
 * the toolbar and every context menu, so an item is enabled, titled and run the same way wherever it shows.
 *
 * The window, the pane on screen and the menus set the handlers that run the commands, each for as long
 * as its owner lives or until the owner withdraws it, so a pane's commands leave with the pane. update() is
 * the one place that sets every action's enabled state and titles, by the table's rule for each command;
 * an action runs its handler as it is when the action is chosen, after the focused field's edit has ended
 * as leaving the field ends it (BookDocument::endFieldEdits), unless the command is that field's own
 * editing (Cut, Copy, Paste, Delete, Select All). While a sheet or dialog of the window is up, the commands
 * that need a handler wait.
 *
 * Actions carry two titles: the menu title (text) and the short title (iconText) that the toolbar and
 * context menus show.
 */
class ActionRegistry final : public QObject {
    Q_OBJECT
public:
    /// Undo, Redo, Page Setup and the text field's editing are the registry's own.
    ActionRegistry(QWidget* window, BookDocument& document);

    QAction* action(Command command) const { return m_actions[std::size_t(command)]; }

    /// Makes `owner`'s handler the one that runs `command`, in place of any other. It goes with its owner.
    void setHandler(QObject* owner, Command command, CommandHandler handler);
    /// Takes back every handler `owner` set; a pane on its way out never takes those of the pane after it.
    void withdraw(QObject* owner);
    bool hasHandler(Command command) const { return handler(command) != nullptr; }
    /// Whether the command can be chosen now, by its rule in the CommandTable.
    bool canRun(Command command) const;

    /// A sheet or dialog of the window is up, or no longer.
    void setSheetShown(bool shown);

    /// What the chemistry command offers: true (to hide it) unless a pane shows no chemistry.
    bool chemistryShown() const;

    /// The page the window shows, which the View menu marks; none when nothing is selected.
    void setShownPage(std::optional<GlazeCore::BookPage> page);

    /// The recipe a context menu stands for while it is open; the selected-recipe commands act on it.
    const std::optional<GlazeCore::Uuid>& contextRecipe() const { return m_contextRecipe; }
    /// A context menu of the shared actions for one recipe: "Rename…", "Duplicate", "Delete…". While the
    /// menu lives, those commands act on that recipe, selected or not.
    QMenu* recipeContextMenu(const GlazeCore::Uuid& recipeID, QWidget* parent);

    /// Sets every action's enabled state and titles from the handlers as they are now.
    void update();
    /// The window is going: handlers still leave with their owners, but nothing is updated or announced,
    /// as whoever would hear it may already be half taken apart.
    void retire() { m_retired = true; }

signals:
    /// Titles or enabled states may read differently now.
    void updated();

private:
    struct Slot {
        QPointer<QObject> owner;
        CommandHandler handler;
    };

    void makeActions();
    void setOwnHandlers();
    const CommandHandler* handler(Command command) const;
    void run(Command command);
    void updateTitles();
    void updateUndo();
    void updatePageChecks();
    /// Cut, Copy, Paste, Delete and Select All follow the text field that has the focus.
    void updateTextCommands();
    void followFocus(QWidget* focused);
    void setContextRecipe(std::optional<GlazeCore::Uuid> recipeID);

    QWidget* m_window;
    std::array<QAction*, commandCount> m_actions{};
    std::array<Slot, commandCount> m_handlers{};
    bool m_sheetShown = false;
    bool m_retired = false;
    std::optional<GlazeCore::Uuid> m_contextRecipe;
    std::optional<GlazeCore::BookPage> m_shownPage;
    QPointer<QWidget> m_textField;
    BookDocument& m_document;
};

} // namespace Orza
