#pragma once

#include "GlazeCore/book/BookPage.h"
#include "Orza/display/ShownTextEdit.h"
#include "Orza/document/GlazeDocument.h"
#include "Orza/models/PaneContext.h"
#include "Orza/models/WindowTypes.h"

#include <QMainWindow>
#include <QSize>

#include <memory>
#include <optional>
#include <vector>

class QSplitter;

namespace Orza {

class ActionRegistry;
class BookDocument;
class SidebarModel;
class SidebarView;
class WindowModel;
class WindowState;

/**
 * The window of one open book: a sidebar of recipes and book pages beside a detail area that follows the
 * selection. It owns its document, its WindowModel and its ActionRegistry; every change it makes to the
 * book goes through the document's edit methods, one undoable change per action. It builds the pane of
 * the selection itself, one family of panes per folder.
 *
 * The window keeps its own bookkeeping around the selection: on first show it offers the sample book once
 * per user, else restores the saved selection; it saves every new selection; it moves the selection when
 * the selected recipe disappears.
 */
class BookWindow final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr QSize minimumSize{640, 420};

    explicit BookWindow(std::unique_ptr<BookDocument> document, QWidget* parent = nullptr);
    ~BookWindow() override;

    BookDocument* document() const { return m_document; }
    WindowModel* model() const { return m_model; }
    WindowState* state() const { return m_state; }
    ActionRegistry* actions() const { return m_actions; }
    /// What the window hands its panes and sheets.
    PaneContext paneContext();
    SidebarView* sidebar() const { return m_sidebar; }
    /// View > Hide Sidebar: for this window, while it is open.
    bool sidebarShown() const;
    void setSidebarShown(bool shown);
    /// The widget the detail area shows now.
    QWidget* detail() const { return m_detail; }
    bool isUntitled() const;

    // Book actions, reached from the menus, the toolbar, the sidebar and the empty state.
    std::optional<GlazeCore::Uuid> selectedRecipeID() const;
    void addRecipe();
    void beginRename(const GlazeCore::Uuid& recipeID);
    void duplicateRecipe(const GlazeCore::Uuid& recipeID);
    void beginDelete(const GlazeCore::Uuid& recipeID);
    void showPage(GlazeCore::BookPage page);
    void addTestTile();
    void findTest();
    /// Print Labels…: the label sheet for the tiles the test log shows while its search is on screen and
    /// active, else for all tiles.
    void printLabels();

    // The rename alert and the delete confirmation.
    const std::optional<GlazeCore::Uuid>& renaming() const { return m_renaming; }
    void setRenameText(const QString& text) { m_renameText = text; }
    void commitRename();
    const std::optional<GlazeCore::Uuid>& pendingDelete() const { return m_pendingDelete; }
    void deleteRecipe(const GlazeCore::Uuid& recipeID);

    /// Opens the sample book in a new window; this window stays as it is.
    void openSampleButton();
    static GlazeDocument makeSampleDocument();

    /// The selection saved with the window, when it still names something in the book.
    std::optional<SidebarItem> restoreSelection() const;
    bool sampleNoteClosed() const { return m_sampleNoteClosed; }
    /// Closing a note hides it for the rest of the window's life; the document keeps its notice and flag.
    void setSampleNoteClosed(bool closed);
    bool codeNoteClosed() const { return m_codeNoteClosed; }
    void setCodeNoteClosed(bool closed);

    /// The unsaved-changes question is settled: the next close goes through.
    void approveClose() { m_closeApproved = true; }

signals:
    /// A new untitled document of the sample book is wanted.
    void sampleDocumentRequested();
    /// The sample book is wanted in place of this window, which closes.
    void replaceWithSampleRequested();
    /// The user closed a window with unsaved changes; the application asks what to do with them.
    void closeAttempted(Orza::BookWindow* window);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    /// What the window's title says after the book's name: the pane's title; empty for none.
    void setSubtitle(const QString& subtitle);
    void buildLayout();
    void connectSidebar();
    void updateNotes();
    void connectDocument();
    void connectModel();
    /// The book's commands: the selected-recipe ones act on the recipe of an open context menu, else on the
    /// selection; none runs while a sheet or dialog of the window is up.
    void setBookHandlers();
    void updateActions();
    void updateTitle();
    void updateDetail();
    QWidget* makeDetail();
    void presentRenameDialog();
    void presentDeleteDialog();
    std::optional<GlazeCore::Uuid> subjectRecipeID() const;
    std::optional<GlazeCore::BookPage> shownPage() const;

    void openSampleOnFirstLaunch();
    void saveSelection();
    void rememberRecipeIDs();
    void keepSelectionValid();
    void trackDialogShown();

    BookDocument* m_document;
    WindowModel* m_model;
    WindowState* m_state;
    ActionRegistry* m_actions;
    SidebarModel* m_sidebarModel = nullptr;
    SidebarView* m_sidebar = nullptr;
    QWidget* m_detailArea = nullptr;
    QSplitter* m_splitter = nullptr;
    QWidget* m_detail = nullptr;
    QString m_detailKey;
    QString m_subtitle;

    bool m_sampleNoteClosed = false;
    bool m_codeNoteClosed = false;
    std::optional<GlazeCore::Uuid> m_renaming;
    QString m_renameText;
    ShownTextEdit m_renameEdit;
    std::optional<GlazeCore::Uuid> m_pendingDelete;
    std::vector<GlazeCore::Uuid> m_recipeIDsBefore;
    bool m_appeared = false;
    bool m_closeApproved = false;
};

} // namespace Orza
