#include "Orza/recipe/RecipeLinesView.h"

#include "GlazeCore/layout/WindowLayout.h"
#include "Orza/recipe/AccessibleLinesTable.h"
#include "Orza/recipe/RecipeLinesModel.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <cmath>

namespace Orza {

RecipeLinesView::RecipeLinesView(RecipeLinesModel* model, QWidget* parent)
    : FocusReportingView(parent), m_model(model) {
    setModel(model);
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(DoubleClicked | SelectedClicked | EditKeyPressed | AnyKeyPressed);
    setAlternatingRowColors(true);
    setShowGrid(false);
    setWordWrap(false);
    // Tab leaves the table for the next control, as from any list; the arrows move between the cells.
    setTabKeyNavigation(false);
    setAccessibleName(tr("Recipe materials"));
    readCellsAsControls(this);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(int(std::lround(GlazeCore::WindowLayout::tableRowHeight)));
    QHeaderView* columns = horizontalHeader();
    columns->setHighlightSections(false);
    columns->setSectionsMovable(false);
    columns->setMinimumSectionSize(40);
    columns->setSectionResizeMode(RecipeLinesModel::materialColumn, QHeaderView::Stretch);
    const std::pair<int, int> fixed[] = {{RecipeLinesModel::amountColumn, 70},
                                         {RecipeLinesModel::percentColumn, 70},
                                         {RecipeLinesModel::additionColumn, 58}};
    for (const auto& [column, width] : fixed) {
        columns->setSectionResizeMode(column, QHeaderView::Fixed);
        columns->resizeSection(column, width);
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, signal, this, &RecipeLinesView::followRowCount);
    connect(model, &QAbstractItemModel::modelReset, this, &RecipeLinesView::followRowCount);
    followRowCount();
}

void RecipeLinesView::followRowCount() {
    // Up to eight rows show without scrolling; more scroll.
    setMaximumHeight(sizeHint().height());
    updateGeometry();
}

int RecipeLinesView::heightForRows(int rows) const {
    // The table's own rule is in points for a header and rows of a set height; add the frame around it.
    return int(std::ceil(GlazeCore::WindowLayout::tableBaseHeight + GlazeCore::WindowLayout::tableRowHeight * rows)) +
           2 * frameWidth();
}

QSize RecipeLinesView::sizeHint() const {
    const int rows = std::clamp(m_model->rowCount(), 2, 8);
    return {130 + 70 + 70 + 58, heightForRows(rows)};
}

QSize RecipeLinesView::minimumSizeHint() const {
    const int rows = std::clamp(m_model->rowCount(), 2, 3);
    return {130 + 70 + 70 + 58, heightForRows(rows)};
}

void RecipeLinesView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // Tab and Shift+Tab end an amount's edit as leaving it does, and go on to the next or previous control
    // as from the table, not to the next cell.
    const bool tabbed = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, tabbed ? QAbstractItemDelegate::NoHint : hint);
    if (tabbed) focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
}

void RecipeLinesView::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    const bool onMaterial = current.isValid() && current.column() == RecipeLinesModel::materialColumn;
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (state() != EditingState && selectionModel()->hasSelection()) {
            emit removeRequested();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_F2:
        if (onMaterial && state() != EditingState) {
            emit pickRequested(current);
            return;
        }
        break;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

} // namespace Orza
