#pragma once

#include "GlazeCore/book/BookPage.h"
#include "Orza/document/GlazeDocument.h"
#include "Orza/document/RecipeBinding.h"
#include "Orza/models/WindowTypes.h"
#include "Orza/actions/BookActions.h"
#include "Orza/actions/RecipeActions.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>
#include <vector>

namespace Orza {

class BookDocument;
class DocumentChangeMarker;
class SidebarModel;
class SidebarView;
class WindowModel;
class WindowState;

/**
 * The window of one open book: a sidebar of recipes and book pages beside a detail area that follows the
 * selection. It owns its document and its WindowModel; every change it makes to the book goes through
 * the document's edit methods, one undoable change per action.
 *
 * The window keeps its own bookkeeping around the selection: on first show it offers the sample book once
 * per user, else restores the saved selection; it saves every new selection; it moves the selection when
 * the selected recipe disappears; it marks the document edited when the tile ledger is ahead of the book.
 */
class BookWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit BookWindow(std::unique_ptr<BookDocument> document, QWidget* parent = nullptr);
    ~BookWindow() override;

    BookDocument* document() const { return m_document; }
    WindowModel* model() const { return m_model; }
    WindowState* state() const { return m_state; }
    SidebarView* sidebar() const { return m_sidebar; }
    /// The widget the detail area shows now.
    QWidget* detail() const { return m_detail; }
    bool isUntitled() const;

    // Book actions, reached from the menus, the sidebar and the empty state.
    std::optional<GlazeCore::Uuid> selectedRecipeID() const;
    void addRecipe();
    void beginRename(const GlazeCore::Uuid& recipeID);
    void duplicateRecipe(const GlazeCore::Uuid& recipeID);
    void beginDelete(const GlazeCore::Uuid& recipeID);
    void showPage(GlazeCore::BookPage page);
    void addTestTile();
    void findTest();
    void printLabels();
    /// None while a sheet or dialog of the window is up.
    std::optional<BookActions> bookActions();
    /// The recipe pane's bundle; none without a pane on screen or while a sheet or dialog is up.
    std::optional<RecipeActions> recipeActions() const;
    /// The recipe pane publishes its bundle here (none to withdraw it); it lasts while `publisher` lives
    /// and the detail area shows it.
    void publishRecipeActions(QObject* publisher, std::optional<RecipeActions> actions);

    // The rename alert and the delete confirmation.
    const std::optional<GlazeCore::Uuid>& renaming() const { return m_renaming; }
    const QString& renameText() const { return m_renameText; }
    void setRenameText(const QString& text) { m_renameText = text; }
    void commitRename();
    const std::optional<GlazeCore::Uuid>& pendingDelete() const { return m_pendingDelete; }
    void deleteRecipe(const GlazeCore::Uuid& recipeID);

    /// Opens the sample book in a new window; this window stays as it is.
    void openSampleButton();
    static GlazeDocument makeSampleDocument();
    RecipeBinding recipeBinding(const GlazeCore::Uuid& recipeID) const;

    /// The selection saved with the window, when it still names something in the book.
    std::optional<SidebarItem> restoreSelection() const;
    int changeMark() const { return m_changeMark; }
    bool sampleNoteClosed() const { return m_sampleNoteClosed; }
    /// Closing a note hides it for the rest of the window's life; the document keeps its notice and flag.
    void setSampleNoteClosed(bool closed);
    bool codeNoteClosed() const { return m_codeNoteClosed; }
    void setCodeNoteClosed(bool closed);

    /// The unsaved-changes question is settled: the next close goes through.
    void approveClose() { m_closeApproved = true; }

signals:
    /// The inputs of bookActions() changed; menus read it again.
    void bookActionsChanged();
    /// The recipe pane published or withdrew its bundle.
    void recipeActionsChanged();
    /// A new untitled document of the sample book is wanted.
    void sampleDocumentRequested();
    /// The user closed a window with unsaved changes; the application asks what to do with them.
    void closeAttempted(Orza::BookWindow* window);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void connectSidebar();
    void updateNotes();
    void connectDocument();
    void connectModel();
    void updateTitle();
    void updateDetail();
    QWidget* makeDetail();
    void updateLabelSheet();
    void presentRenameDialog();
    void presentDeleteDialog();

    void openSampleOnFirstLaunch();
    void saveSelection();
    void rememberRecipeIDs();
    void keepSelectionValid();
    void syncLedgerMark();
    void trackDialogShown();

    BookDocument* m_document;
    WindowModel* m_model;
    WindowState* m_state;
    SidebarModel* m_sidebarModel = nullptr;
    SidebarView* m_sidebar = nullptr;
    QWidget* m_detailArea = nullptr;
    QWidget* m_detail = nullptr;
    QString m_detailKey;
    DocumentChangeMarker* m_marker;

    bool m_sampleNoteClosed = false;
    bool m_codeNoteClosed = false;
    int m_changeMark = 0;
    std::optional<GlazeCore::Uuid> m_renaming;
    QString m_renameText;
    std::optional<GlazeCore::Uuid> m_pendingDelete;
    std::vector<GlazeCore::Uuid> m_recipeIDsBefore;
    bool m_appeared = false;
    bool m_closeApproved = false;
    QPointer<QObject> m_recipeActionsPublisher;
    std::optional<RecipeActions> m_recipeActions;
};

} // namespace Orza
