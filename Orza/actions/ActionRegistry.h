#pragma once

#include "GlazeCore/book/BookPage.h"
#include "GlazeCore/text/Uuid.h"
#include "Orza/actions/BookActions.h"
#include "Orza/actions/ChemistryShown.h"
#include "Orza/actions/Command.h"
#include "Orza/actions/RecipeActions.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace Orza {

class BookDocument;

/**
 * The commands of one book window: one QAction per command, shared by the menu bar, the toolbar and every
 * context menu, so an item is enabled, titled and run the same way wherever it shows.
 *
 * The window publishes its book actions and the recipe pane its recipe actions and chemistry flag, each
 * as an optional bundle (none while a sheet or dialog is up). update() is the one place that reads them
 * and sets every action's enabled state and titles; an action runs the bundle's closure as it is when the
 * action is chosen. An action whose bundle, or whose closure in it, is missing is disabled.
 *
 * Actions carry two titles: the menu title (text) and the short title (iconText) that the toolbar and
 * context menus show.
 */
class ActionRegistry final : public QObject {
    Q_OBJECT
public:
    /// Undo, Redo and Revert to Saved act on the document.
    ActionRegistry(QWidget* window, BookDocument& document);

    QAction* action(Command command) const { return m_actions[std::size_t(command)]; }
    /// The registry of the book window that holds `widget`, or null.
    static ActionRegistry* of(const QWidget* widget);

    void publishBookActions(std::optional<BookActions> actions);
    const std::optional<BookActions>& bookActions() const { return m_book; }
    /// Published by the pane on screen; it lasts while `publisher` lives. A pane on its way out withdraws
    /// only its own bundle, never the one of the pane that replaced it. Like the book actions, the recipe
    /// actions are none while a sheet or dialog of the window is up.
    void publishRecipeActions(QObject* publisher, std::optional<RecipeActions> actions);
    std::optional<RecipeActions> recipeActions() const;
    void publishChemistryShown(QObject* publisher, std::optional<ChemistryShown> shown);
    /// What the chemistry command offers: true (to hide it) unless a pane publishes a hidden chemistry.
    bool chemistryShown() const;

    /// The page the window shows, which the View menu marks; none when nothing is selected.
    void setShownPage(std::optional<GlazeCore::BookPage> page);

    /// The recipe a context menu stands for while it is open; the selected-recipe commands act on it.
    const std::optional<GlazeCore::Uuid>& contextRecipe() const { return m_contextRecipe; }
    /// A context menu of the shared actions for one recipe: "Rename…", "Duplicate", "Delete…". While the
    /// menu lives, those commands act on that recipe, selected or not.
    QMenu* recipeContextMenu(const GlazeCore::Uuid& recipeID, QWidget* parent);

    /// Sets every action's enabled state and titles from the published bundles.
    void update();

signals:
    /// The context recipe changed: the window publishes its book actions for it again.
    void contextRecipeChanged();
    /// Titles or enabled states may read differently now.
    void updated();

private:
    QAction* make(Command command, const QString& title, const QString& shortTitle = {});
    void makeFileActions();
    void makeEditActions();
    void makeViewActions();
    void makeRecipeActions();
    void makeTestsActions();
    void makeHelpActions();
    void run(Command command);
    bool canRun(Command command) const;
    void updateTitles();
    void updateUndo();
    void updatePageChecks();
    /// Cut, Copy, Paste, Delete and Select All follow the text field that has the focus.
    void updateTextCommands();
    void followFocus(QWidget* focused);
    QWidget* focusedTextField() const;
    void setContextRecipe(std::optional<GlazeCore::Uuid> recipeID);

    QWidget* m_window;
    std::array<QAction*, commandCount> m_actions{};
    std::optional<BookActions> m_book;
    QPointer<QObject> m_recipePublisher;
    std::optional<RecipeActions> m_recipe;
    QPointer<QObject> m_chemistryPublisher;
    std::optional<ChemistryShown> m_chemistry;
    std::optional<GlazeCore::Uuid> m_contextRecipe;
    std::optional<GlazeCore::BookPage> m_shownPage;
    QPointer<QWidget> m_textField;
    BookDocument& m_document;
};

} // namespace Orza
