#include "Orza/recipe/RecipeLinesTable.h"

#include "GlazeCore/recipe/Normalize.h"
#include "Orza/actions/CommandTable.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/recipe/RecipeLinesDelegates.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/recipe/RecipeLinesView.h"
#include "Orza/recipe/RecipeTotals.h"
#include "Orza/widgets/Divider.h"
#include "Orza/widgets/ListFootButtons.h"
#include "Orza/widgets/MaterialPicker.h"

#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orza {

RecipeLinesTable::RecipeLinesTable(BookDocument& document, const GlazeCore::Uuid& recipeID, ActionRegistry* actions,
                                   QWidget* parent)
    : QWidget(parent), m_document(document), m_recipeID(recipeID),
      m_model(new RecipeLinesModel(document, recipeID, this)), m_view(new RecipeLinesView(m_model)),
      m_totals(new RecipeTotals(m_model, m_view->horizontalHeader())),
      m_footer(new ListFootButtons(tr("Add Material"), tr("Remove Material"))),
      m_normalize(new QPushButton(tr("Normalize Base to 100"))) {
    auto* materialCell = new MaterialCellDelegate(m_view);
    m_view->setItemDelegateForColumn(RecipeLinesModel::materialColumn, materialCell);
    m_view->setItemDelegateForColumn(RecipeLinesModel::amountColumn, new AmountDelegate(document, actions, m_view));
    connect(materialCell, &MaterialCellDelegate::pickRequested, this, &RecipeLinesTable::openPicker);
    connect(m_view, &RecipeLinesView::pickRequested, this, &RecipeLinesTable::openPicker);
    connect(m_view, &RecipeLinesView::removeRequested, this, &RecipeLinesTable::removeSelectedLines);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QModelIndexList rows = m_view->selectionModel()->selectedRows();
        const QModelIndex clicked = m_view->indexAt(at);
        if (clicked.isValid() && !m_view->selectionModel()->isRowSelected(clicked.row())) rows = {clicked};
        QMenu* menu = contextMenuFor(rows, this);
        if (!menu) return;
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_view->viewport()->mapToGlobal(at));
    });

    m_normalize->setFlat(false);
    QFont small = m_normalize->font();
    small.setPointSizeF(small.pointSizeF() * 0.92);
    m_normalize->setFont(small);
    connect(m_normalize, &QPushButton::clicked, this, &RecipeLinesTable::normalizeBase);
    m_footer->setAddHelp(tr("Add a material line (%1)").arg(CommandTable::shortcutText(Command::addMaterial)));
    m_footer->setTrailing(m_normalize);
    connect(m_footer, &ListFootButtons::addRequested, this, &RecipeLinesTable::addLine);
    connect(m_footer, &ListFootButtons::removeRequested, this, &RecipeLinesTable::removeSelectedLines);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &RecipeLinesTable::updateFooter);
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_model, signal, this, &RecipeLinesTable::updateFooter);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, &RecipeLinesTable::rememberSelection);
    connect(m_model, &QAbstractItemModel::modelReset, this, &RecipeLinesTable::restoreSelection);
    connect(m_model, &QAbstractItemModel::modelReset, this, &RecipeLinesTable::updateFooter);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &RecipeLinesTable::updateFooter);
    connect(&document, &BookDocument::libraryChanged, this, &RecipeLinesTable::updateFooter);

    // Only the table grows; the totals and the footer keep their height.
    m_totals->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_footer->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(divider());
    layout->addWidget(m_totals);
    layout->addWidget(divider());
    layout->addWidget(m_footer);
    updateFooter();
}

void RecipeLinesTable::addLine() {
    appendLine(QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void RecipeLinesTable::appendLineKeepingSelection() {
    appendLine(QItemSelectionModel::NoUpdate);
}

void RecipeLinesTable::appendLine(QItemSelectionModel::SelectionFlags selecting) {
    const auto id = m_document.addLine(m_recipeID);
    if (!id) return;
    if (const auto row = m_model->rowOf(*id)) {
        const QModelIndex index = m_model->index(*row, RecipeLinesModel::materialColumn);
        // A cell being edited closes on the move, its value kept: the next keys go to the new line.
        m_view->selectionModel()->setCurrentIndex(index, selecting);
        m_view->scrollTo(index);
        m_view->setFocus(Qt::ShortcutFocusReason);
    }
}

void RecipeLinesTable::removeSelectedLines() {
    std::vector<GlazeCore::Uuid> ids;
    for (const QModelIndex& row : m_view->selectionModel()->selectedRows())
        if (const auto* line = m_model->line(row.row())) ids.push_back(line->id);
    m_view->selectionModel()->clearSelection();
    m_document.removeLines(m_recipeID, ids);
}

void RecipeLinesTable::normalizeBase() {
    const GlazeCore::Recipe* recipe = m_document.recipe(m_recipeID);
    if (!recipe) return;
    const auto normalized = GlazeCore::Normalize::toBase100(*recipe, 100);
    // Only the lines change; nothing is written when every scaled amount is already what is stored.
    if (normalized) m_document.setLines(m_recipeID, normalized->lines, tr("Normalize Base to 100"));
}

QMenu* RecipeLinesTable::contextMenuFor(const QModelIndexList& rows, QWidget* parent) {
    if (!m_replace || rows.size() != 1) return nullptr;
    const GlazeCore::RecipeLine* line = m_model->line(rows.front().row());
    if (!line || line->isAddition || !m_document.library().material(line->materialID)) return nullptr;
    auto* menu = new QMenu(parent);
    const std::string materialID = line->materialID;
    connect(menu->addAction(tr("Replace Material\u2026")), &QAction::triggered, this,
            [this, materialID] { m_replace(materialID); });
    return menu;
}

MaterialPicker* RecipeLinesTable::openPicker(const QModelIndex& index) {
    const GlazeCore::RecipeLine* line = m_model->line(index.row());
    if (!line) return nullptr;
    auto* picker = new MaterialPicker(m_document.library(), line->materialID, this);
    const GlazeCore::Uuid lineID = line->id;
    QPointer<RecipeLinesTable> table(this);
    connect(picker, &MaterialPicker::picked, this, [this, table, lineID](const QString& id) {
        if (table) m_document.setLineMaterial(m_recipeID, lineID, id.toStdString());
    });
    const QModelIndex cell = m_model->index(index.row(), RecipeLinesModel::materialColumn);
    const QRect rect = m_view->visualRect(cell);
    picker->popUp(QRect(m_view->viewport()->mapToGlobal(rect.topLeft()), rect.size()));
    return picker;
}

void RecipeLinesTable::rememberSelection() {
    m_selectedBeforeReset.clear();
    for (const QModelIndex& row : m_view->selectionModel()->selectedRows())
        if (const auto* line = m_model->line(row.row())) m_selectedBeforeReset.push_back(line->id);
    const auto* current = m_model->line(m_view->selectionModel()->currentIndex().row());
    m_currentBeforeReset = current ? std::optional(current->id) : std::nullopt;
}

void RecipeLinesTable::restoreSelection() {
    QItemSelectionModel* selection = m_view->selectionModel();
    const auto flags = QItemSelectionModel::Select | QItemSelectionModel::Rows;
    if (m_currentBeforeReset)
        if (const auto row = m_model->rowOf(*m_currentBeforeReset))
            selection->setCurrentIndex(m_model->index(*row, RecipeLinesModel::materialColumn),
                                       QItemSelectionModel::NoUpdate);
    QItemSelection kept;
    for (const GlazeCore::Uuid& id : m_selectedBeforeReset)
        if (const auto row = m_model->rowOf(id)) kept.select(m_model->index(*row, 0), m_model->index(*row, 0));
    selection->select(kept, flags);
    m_selectedBeforeReset.clear();
    m_currentBeforeReset.reset();
}

void RecipeLinesTable::updateFooter() {
    m_footer->setCanAdd(m_document.canAddLine(m_recipeID));
    m_footer->setCanRemove(m_view->selectionModel()->hasSelection());
    const GlazeCore::Recipe* recipe = m_document.recipe(m_recipeID);
    const auto problem = recipe ? GlazeCore::Normalize::problem(*recipe, 100) : std::nullopt;
    m_normalize->setEnabled(recipe && !problem);
    m_normalize->setToolTip(problem ? QString::fromStdString(*problem)
                                    : tr("Scale every line so that the base adds to 100"));
}

} // namespace Orza
