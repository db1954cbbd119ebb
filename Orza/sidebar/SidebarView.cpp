#include "Orza/sidebar/SidebarView.h"

#include "Orza/sidebar/SidebarModel.h"
#include "Orza/widgets/ThemedIcon.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

namespace Orza {

namespace {

/// Extra room above a section title that follows another section.
constexpr int sectionGap = 10;

bool isSectionTitle(const QModelIndex& index) {
    return index.isValid() && !index.parent().isValid();
}

/// A copy of the icon in one colour: the shape of a symbol drawn in the selected row's text colour.
QIcon tinted(const QIcon& icon, const QSize& size, const QColor& color, qreal ratio) {
    return QIcon(ThemedIcon::tinted(icon.pixmap(size, ratio), color));
}

/// Rows with room to breathe, as a sidebar's are; section titles aligned with the rows they head.
class RowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rheight() += 8;
        if (isSectionTitle(index) && index.row() > 0) size.rheight() += sectionGap;
        return size;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QVariant badge = index.data(SidebarModel::badgeRole);
        if (badge.isValid()) paintBadge(painter, option, badge.toString());
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        // Section titles and the empty-list line can hold the keyboard cursor, but never look chosen.
        if (!(index.flags() & Qt::ItemIsSelectable)) option->state &= ~QStyle::State_HasFocus;
        if (isSectionTitle(index)) {
            const auto* tree = qobject_cast<const QTreeView*>(option->widget);
            option->rect.adjust(tree ? tree->indentation() : 12, index.row() > 0 ? sectionGap : 0, 0, 0);
        }
        // Page symbols take the selected row's text colour, as the title does (region dots draw their own).
        const bool pageRow = index.parent().isValid() && index.parent().row() == SidebarModel::bookSection;
        if (pageRow && (option->state & QStyle::State_Selected) && !option->icon.isNull()) {
            const qreal ratio = option->widget ? option->widget->devicePixelRatioF() : 1.0;
            option->icon =
                tinted(option->icon, option->decorationSize, option->palette.color(QPalette::HighlightedText), ratio);
        }
    }

private:
    /// A count in a rounded capsule at the row's trailing edge, as sidebars show them.
    static void paintBadge(QPainter* painter, const QStyleOptionViewItem& option, const QString& text) {
        QFont font = option.font;
        font.setPointSizeF(font.pointSizeF() * 0.85);
        const QFontMetrics metrics(font);
        const int height = metrics.height() + 2;
        const int width = std::max(height, metrics.horizontalAdvance(text) + 12);
        const QRect capsule(option.rect.right() - 8 - width, option.rect.center().y() - height / 2, width, height);
        const bool selected = option.state & QStyle::State_Selected;
        QColor fill = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        fill.setAlphaF(0.12f);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(fill);
        painter->drawRoundedRect(capsule, height / 2.0, height / 2.0);
        painter->setFont(font);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
        painter->drawText(capsule, Qt::AlignCenter, text);
        painter->restore();
    }
};

/// Whether a mouse event belongs to the context menu alone. Left unaccepted, so the menu's own event follows.
bool leftToTheMenu(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) return false;
    event->ignore();
    return true;
}

/// The sidebar's list: the keyboard and the mouse reach only rows that can be chosen.
class SidebarList final : public QTreeView {
public:
    using QTreeView::QTreeView;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const QModelIndex current = currentIndex();
        QModelIndex moved = QTreeView::moveCursor(action, modifiers);
        // Past a section title or the empty-list line, in the direction the key points.
        const bool down = action == MoveDown || action == MoveNext || action == MovePageDown || action == MoveHome;
        while (moved.isValid() && !(moved.flags() & Qt::ItemIsSelectable)) {
            const QModelIndex next = down ? indexBelow(moved) : indexAbove(moved);
            if (!next.isValid()) return current.isValid() && (current.flags() & Qt::ItemIsSelectable) ? current : moved;
            moved = next;
        }
        return moved;
    }

    void keyPressEvent(QKeyEvent* event) override {
        QTreeView::keyPressEvent(event);
        // The first row the keys reach may be current already without being chosen (the focus put it
        // there): a key that lands on it chooses it.
        const bool moves =
            event->matches(QKeySequence::MoveToNextLine) || event->matches(QKeySequence::MoveToPreviousLine) ||
            event->matches(QKeySequence::MoveToStartOfLine) || event->matches(QKeySequence::MoveToEndOfLine) ||
            event->key() == Qt::Key_Home || event->key() == Qt::Key_End || event->key() == Qt::Key_PageUp ||
            event->key() == Qt::Key_PageDown;
        const QModelIndex current = currentIndex();
        if (moves && current.isValid() && (current.flags() & Qt::ItemIsSelectable) &&
            !selectionModel()->isSelected(current))
            selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    // A right click only opens its row's menu: the selection, and the row the keys start from, stay put.
    void mousePressEvent(QMouseEvent* event) override {
        if (!leftToTheMenu(event)) QTreeView::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (!leftToTheMenu(event)) QTreeView::mouseReleaseEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (!leftToTheMenu(event)) QTreeView::mouseDoubleClickEvent(event);
    }

    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override {
        // A click on a section title leaves the selection as it is.
        if (index.isValid() && !(index.flags() & Qt::ItemIsSelectable)) return QItemSelectionModel::NoUpdate;
        return QTreeView::selectionCommand(index, event);
    }
};

} // namespace

SidebarView::SidebarView(SidebarModel* model, QWidget* parent)
    : QWidget(parent), m_model(model), m_list(new SidebarList), m_notes(new QVBoxLayout) {
    // Rows that come and go move the view's selection on their own; the window decides instead. The view
    // moves its current row as rows are about to go, so the count rises before the view hears of them.
    const auto begin = [this] { ++m_structuralChanges; };
    const auto end = [this] {
        if (--m_structuralChanges == 0) showSelection(m_shown);
    };
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, begin);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, begin);
    connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, begin);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, begin);
    m_list->setModel(model);
    m_list->setAccessibleName(tr("Sidebar"));
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
    m_list->setIconSize(QSize(16, 16));
    m_list->setTextElideMode(Qt::ElideMiddle);
    // One row height for all: a book of 100,000 recipes scrolls without measuring (and calculating) each row.
    m_list->setUniformRowHeights(true);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, &SidebarView::showContextMenu);
    m_list->setItemDelegate(new RowDelegate(m_list));
    m_list->expandAll();
    m_list->installEventFilter(this);

    // Ended once the view has taken the change in.
    connect(model, &QAbstractItemModel::rowsInserted, this, end);
    connect(model, &QAbstractItemModel::rowsRemoved, this, end);
    connect(model, &QAbstractItemModel::layoutChanged, this, end);
    connect(model, &QAbstractItemModel::modelReset, this, [this, end] {
        m_list->expandAll();
        end();
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SidebarView::reportSelection);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (const auto item = m_model->itemAt(index); item && item->isRecipe()) emit renameRequested(item->recipeID);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_list, 1);
    layout->addLayout(m_notes);
    m_notes->setContentsMargins(8, 8, 8, 8);
    m_notes->setSpacing(8);
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

void SidebarView::showContextMenu(const QPoint& position) {
    const auto item = m_model->itemAt(m_list->indexAt(position));
    if (!item || !item->isRecipe()) return;
    emit recipeMenuRequested(item->recipeID, m_list->viewport()->mapToGlobal(position));
}

bool SidebarView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            emit deleteRequested();
            return true;
        }
        if (key == Qt::Key_F2) {
            if (m_shown && m_shown->isRecipe()) emit renameRequested(m_shown->recipeID);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Orza
