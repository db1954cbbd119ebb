#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/layout/LabelLayout.h"
#include "Orza/labels/LabelPage.h"
#include "Orza/models/WindowTypes.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace Orza {

class BookDocument;
class LabelPreview;
class WindowModel;
struct PaneContext;

/// What the label sheet takes from a book, once each time the book changes: what the labels show of every
/// tile and of the tiles the test log shows, and the names of their recipes. Never a recipe's lines or notes
/// nor a tile's notes, schedule or photo: a large book holds hundreds of megabytes of those.
struct LabelSource {
    std::vector<GlazeCore::LabelLayout::Tile> tiles;
    std::vector<GlazeCore::LabelLayout::Tile> shown;
    std::shared_ptr<const GlazeCore::LabelLayout::RecipeNames> recipes;
};

/// The label source of `book` whose test log shows the tiles at `shownPositions` (in book order).
LabelSource labelSource(const GlazeCore::GlazeBook& book, const std::vector<std::uint32_t>& shownPositions);
/// The label source of the document's book as the window model's test log shows it now.
LabelSource labelSource(BookDocument& document, const WindowModel& model);

/// The scope the sheet starts with: a selected tile only while the book still holds it, the search's
/// tiles only while a search or filter is active, else all tiles.
LabelScope initialLabelScope(LabelScope requested, const std::vector<GlazeCore::LabelLayout::Tile>& tiles,
                             const std::optional<GlazeCore::Uuid>& selectedID, bool filterActive);
/// The sheet with that id, or the Letter sheet for an id that names none.
const GlazeCore::LabelLayout::Sheet& chosenLabelSheet(const QString& sheetID);
/// Positions left empty before label `startAt` (1-based), so that the first page holds at least one label.
int labelSkipCount(const GlazeCore::LabelLayout::Sheet& sheet, int startAt);
/// "45 labels on 2 pages. The preview shows page 1.", or "No tiles to print." for no labels.
QString labelSummaryText(int labels, int pages);

/**
 * The label sheet: which tiles get labels (all, those the test log's search shows, or the selected one),
 * which label sheet is in the printer (a per-user setting shared by every window) and at which label a
 * partly used sheet starts, with a preview of the first page and what will print. Print… and Export PDF…
 * report their outcome in one line of the sheet. It never changes the book.
 */
class LabelSheet final : public QDialog {
    Q_OBJECT
public:
    LabelSheet(LabelSource source, std::optional<GlazeCore::Uuid> selectedID, bool filterActive, LabelScope requested,
               QWidget* parent = nullptr);

    /**
     * Opens the sheet window-modal over the window with the scope asked for: the book, the tiles the test
     * log shows and its selection as they are now, kept up to date while it is open. The window model's
     * labelScope is the scope asked for and showLabels is true while it is up: clearing showLabels closes
     * it, closing it clears showLabels. A sheet already up is brought forward instead.
     */
    static LabelSheet* open(const PaneContext& context, LabelScope requested);
    using QDialog::open;

    /// What the labels show of the book, after the book changed; the choices stay.
    void setSource(LabelSource source);

    LabelScope scope() const { return m_scope; }
    void setScope(LabelScope scope);
    /// The label sheet chosen now.
    const GlazeCore::LabelLayout::Sheet& sheet() const;
    int startAt() const { return m_startAt; }
    void setStartAt(int startAt);
    int skipCount() const { return labelSkipCount(sheet(), m_startAt); }

    /// The tiles to label, in order.
    std::vector<GlazeCore::LabelLayout::Tile> tiles() const;
    /// Everything the pages are made of.
    LabelSet labelSet() const;
    std::vector<std::vector<int>> pages() const;
    QString summaryText() const;
    /// The outcome of the last Print… or Export PDF….
    const std::optional<QString>& message() const { return m_message; }

    /// Export PDF…: the save panel offering "Tile labels.pdf", then every page. Nothing without tiles.
    void exportLabels();
    /// Print…: the print panel, then every page at 100 %. Nothing without tiles.
    void printLabels();

    QComboBox* tilesPicker() const { return m_tilesPicker; }
    QComboBox* sheetPicker() const { return m_sheetPicker; }
    QComboBox* startPicker() const { return m_startPicker; }
    LabelPreview* preview() const { return m_preview; }
    QLabel* summaryLabel() const { return m_summary; }
    QLabel* messageLabel() const { return m_messageLabel; }
    QPushButton* exportButton() const { return m_export; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* printButton() const { return m_print; }

private:
    void build();
    QWidget* makeForm();
    QWidget* makeButtons();
    void refresh();
    void fillTilesPicker();
    void fillSheetPicker();
    void fillStartPicker();
    void sheetChanged();
    void setMessage(const QString& text);

    LabelSource m_source;
    std::optional<GlazeCore::Uuid> m_selectedID;
    bool m_filterActive = false;
    LabelScope m_scope = LabelScope::all;
    int m_startAt = 1;
    std::optional<QString> m_message;

    QComboBox* m_tilesPicker = nullptr;
    QComboBox* m_sheetPicker = nullptr;
    QComboBox* m_startPicker = nullptr;
    LabelPreview* m_preview = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_messageLabel = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_print = nullptr;
};

} // namespace Orza
