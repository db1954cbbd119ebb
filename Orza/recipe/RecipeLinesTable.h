#pragma once

#include "GlazeCore/text/Uuid.h"

#include <QItemSelectionModel>
#include <QModelIndexList>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QPushButton;

namespace Orza {

class ActionRegistry;
class BookDocument;
class ListFootButtons;
class MaterialPicker;
class RecipeLinesModel;
class RecipeLinesView;
class RecipeTotals;

/**
 * The lines of one recipe: the table, the totals under it, and a footer with Add Material, Remove
 * Material and "Normalize Base to 100". Every edit is one of the document's line edits by id.
 */
class RecipeLinesTable final : public QWidget {
    Q_OBJECT
public:
    using ReplaceAction = std::function<void(const std::string& materialID)>;

    RecipeLinesTable(BookDocument& document, const GlazeCore::Uuid& recipeID, ActionRegistry* actions,
                     QWidget* parent = nullptr);

    RecipeLinesModel* model() const { return m_model; }
    RecipeLinesView* view() const { return m_view; }
    RecipeTotals* totals() const { return m_totals; }
    ListFootButtons* footer() const { return m_footer; }
    QPushButton* normalizeButton() const { return m_normalize; }

    /// Starts Replace Material for a row's material; without one the rows offer no context menu.
    void setReplaceAction(ReplaceAction replace) { m_replace = std::move(replace); }

    /// Appends a blank line, makes it the current row on its material cell and gives the table the keyboard,
    /// so that Return opens that line's picker. The footer's button selects the new line; the menu command
    /// leaves the selection as it is.
    void addLine();
    void appendLineKeepingSelection();
    void removeSelectedLines();
    void normalizeBase();
    /// The row context menu for the rows it is opened on; empty when it has nothing to offer.
    QMenu* contextMenuFor(const QModelIndexList& rows, QWidget* parent);
    /// Opens the material picker for the row; it writes the chosen material into that line.
    MaterialPicker* openPicker(const QModelIndex& index);

private:
    void appendLine(QItemSelectionModel::SelectionFlags selecting);
    void updateFooter();
    /// The lines are replaced at once (a normalised base, an applied reformulation, their undo): the lines
    /// that keep their ids keep their selection and the current row.
    void rememberSelection();
    void restoreSelection();

    BookDocument& m_document;
    GlazeCore::Uuid m_recipeID;
    RecipeLinesModel* m_model;
    RecipeLinesView* m_view;
    RecipeTotals* m_totals;
    ListFootButtons* m_footer;
    QPushButton* m_normalize;
    ReplaceAction m_replace;
    std::vector<GlazeCore::Uuid> m_selectedBeforeReset;
    std::optional<GlazeCore::Uuid> m_currentBeforeReset;
};

} // namespace Orza
