#pragma once

#include "Orza/models/PaneContext.h"

#include <QWidget>

#include <optional>

class QPushButton;
class QSplitter;
class QStackedWidget;
class QTableView;
class QVBoxLayout;

namespace Orza {

class ActionRegistry;
class BookDocument;
class ContentUnavailableView;
class ListFootButtons;
class ProblemLabel;
class TestLogModel;
class TestSearchBar;
class TestTileEditor;
class WindowModel;

/**
 * The Tests page of a book window: the table of the book's test tiles, narrowed by the search box and the
 * cone and atmosphere menus above it, with Add Test and Delete Test under it and the editor of the selected
 * tile beside it. A warning above the table names codes that two or more tiles share. While the book has no
 * tiles the page is one invitation to add the first.
 *
 * Search, filters and selection live in the window model, so they outlast the page: the selection is a
 * tile id that survives searching, undo and a revert, and may name a tile the table does not show. Every
 * change of the book goes through the document's edit methods, one undo step each.
 */
class TestLogPage final : public QWidget {
    Q_OBJECT
public:
    TestLogPage(const PaneContext& context, QWidget* parent = nullptr);
    ~TestLogPage() override;

    /// A new tile of the selected tile's recipe (else the book's first), coded by the ledger; clears the
    /// search and filters so it shows, selects it and puts the keyboard in its code field.
    void addTestTile();
    /// Gives the selected tile's code field the keyboard with its code selected, for a tile just made.
    void focusSelectedTileCode();
    /// Deletes the selected tile, shown or not, as one undo step; nothing is selected afterwards.
    void deleteSelectedTest();
    /// With nothing selected, selects the most recently fired tile (the first of equals); then serves a
    /// pending request to focus the search field.
    void selectNewestTest();
    /// Focuses the search field, on the next turn of the event loop, when Find Test asked for it.
    void applySearchFocusRequest();
    /// Selects the tile whose code the search text is; on Return, also the one tile the search leaves.
    void findTestByCode(bool submitted);
    /// Asks for the label sheet of the selected tile.
    void printSelectedLabel();

    // The page's parts, as the user reaches them.
    TestSearchBar* searchBar() const { return m_bar; }
    QTableView* table() const { return m_table; }
    TestLogModel* tableModel() const { return m_tableModel; }
    ListFootButtons* footButtons() const { return m_foot; }
    /// The shared-code warning; hidden while every code is its own.
    ProblemLabel* sharedCodeBanner() const { return m_banner; }
    QWidget* sharedCodeRow() const { return m_bannerRow; }
    /// "No Test Tiles": the whole page while the book has no tiles.
    bool showsEmptyState() const;
    ContentUnavailableView* emptyState() const { return m_emptyView; }
    QPushButton* emptyStateAddButton() const { return m_emptyAdd; }
    /// "No Matching Tiles", over the table while the search leaves nothing.
    ContentUnavailableView* noMatchView() const { return m_noMatch; }
    /// The editor of the selected tile, or the "No Test Selected" view.
    QWidget* detail() const { return m_detail; }
    /// The editor, while one is shown.
    TestTileEditor* editor() const;

signals:
    /// Print Label… of the selected tile: the window opens the label sheet for it.
    void printLabelRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeEmptyPage();
    QWidget* makeListColumn();
    QWidget* makeTable();
    void connectModels();

    void updateForm();
    void updateEmptyState();
    void updateBanner();
    void updateCount();
    void updateFoot();
    void updateDetail();
    void showSelection();
    void rowsChanged();
    void rowChosen();
    void replaceDetail(QWidget* replacement);
    void fitListWidth();

    PaneContext m_context;
    BookDocument& m_document;
    WindowModel& m_model;
    ActionRegistry& m_actions;
    TestLogModel* m_tableModel;
    /// Set while the page moves the table's selection to match the model, so the echo is not a choice.
    bool m_syncing = false;

    QStackedWidget* m_forms = nullptr;
    QSplitter* m_split = nullptr;
    /// The list's width when the page has room for it: its ideal until the user drags the divider.
    int m_listWidth = 0;
    QVBoxLayout* m_emptyHolder = nullptr;
    ContentUnavailableView* m_emptyView = nullptr;
    QPushButton* m_emptyAdd = nullptr;
    std::optional<bool> m_emptyForRecipes;
    TestSearchBar* m_bar = nullptr;
    QWidget* m_bannerRow = nullptr;
    ProblemLabel* m_banner = nullptr;
    QTableView* m_table = nullptr;
    ContentUnavailableView* m_noMatch = nullptr;
    ListFootButtons* m_foot = nullptr;
    QVBoxLayout* m_detailHolder = nullptr;
    QWidget* m_detail = nullptr;
};

} // namespace Orza
