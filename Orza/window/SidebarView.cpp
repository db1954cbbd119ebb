#include "Orza/window/SidebarView.h"

#include "Orza/models/SidebarModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

namespace Orza {

namespace {

/// Rows with room to breathe, as a sidebar's are.
class RowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rheight() += 8;
        return size;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        // Section titles and the empty-list line can hold the keyboard cursor, but never look chosen.
        if (!(index.flags() & Qt::ItemIsSelectable)) option->state &= ~QStyle::State_HasFocus;
    }
};

} // namespace

SidebarView::SidebarView(SidebarModel* model, QWidget* parent)
    : QWidget(parent), m_model(model), m_list(new QTreeView), m_notes(new QVBoxLayout) {
    m_list->setModel(model);
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setExpandsOnDoubleClick(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setDefaultDropAction(Qt::MoveAction);
    m_list->setDropIndicatorShown(true);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setIndentation(12);
    m_list->setItemDelegate(new RowDelegate(m_list));
    m_list->expandAll();
    m_list->installEventFilter(this);

    // Rows that come and go move the view's selection on their own; the window decides instead.
    const auto begin = [this] { ++m_structuralChanges; };
    const auto end = [this] {
        if (--m_structuralChanges == 0) showSelection(m_shown);
    };
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, begin);
    connect(model, &QAbstractItemModel::rowsInserted, this, end);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, begin);
    connect(model, &QAbstractItemModel::rowsRemoved, this, end);
    connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, begin);
    connect(model, &QAbstractItemModel::layoutChanged, this, end);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, begin);
    connect(model, &QAbstractItemModel::modelReset, this, [this, end] {
        m_list->expandAll();
        end();
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SidebarView::reportSelection);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_list, 1);
    layout->addLayout(m_notes);
    setMinimumWidth(minimumWidth);
    setMaximumWidth(maximumWidth);
}

QSize SidebarView::sizeHint() const {
    return {idealWidth, QWidget::sizeHint().height()};
}

void SidebarView::showSelection(const std::optional<SidebarItem>& item) {
    m_shown = item;
    if (m_structuralChanges > 0) return;
    const QModelIndex index = m_model->indexFor(item);
    m_showing = true;
    if (index.isValid()) {
        m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_list->scrollTo(index);
    } else {
        m_list->selectionModel()->clear(); // no selection and no current row to draw a focus frame on
    }
    m_showing = false;
}

void SidebarView::reportSelection() {
    if (m_showing || m_structuralChanges > 0) return;
    const QModelIndexList selected = m_list->selectionModel()->selectedRows();
    std::optional<SidebarItem> item;
    if (!selected.isEmpty()) item = m_model->itemAt(selected.first());
    if (item == m_shown) return;
    m_shown = item;
    emit selectionChosen(item);
}

bool SidebarView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            emit deleteRequested();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Orza
