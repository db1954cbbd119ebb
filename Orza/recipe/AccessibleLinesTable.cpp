#include "Orza/recipe/AccessibleLinesTable.h"

#include "Orza/platform/AccessibleOwnInterface.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/recipe/RecipeLinesView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPersistentModelIndex>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <utility>

namespace Orza {

namespace {

// The bounds an amount field takes: no negatives, at most the largest number a book stores, two decimals.
constexpr double largestAmount = 1'000'000;
constexpr double amountStep = 0.01;

/// What every element of the table that is no widget shares: no object, no children, read only.
class TablePart : public QAccessibleInterface {
public:
    explicit TablePart(QTableView* view) : m_view(view) {}

    QTableView* view() const { return m_view; }
    bool isValid() const override { return m_view; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_view); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

private:
    QPointer<QTableView> m_view;
};

/// A column's or a row's header, or the corner where they meet (section -1), as Qt's tables place them.
class HeaderCell final : public TablePart {
public:
    HeaderCell(QTableView* view, Qt::Orientation orientation, int section)
        : TablePart(view), m_orientation(orientation), m_section(section) {}

    QHeaderView* header() const {
        return m_orientation == Qt::Horizontal ? view()->horizontalHeader() : view()->verticalHeader();
    }
    QAccessible::Role role() const override {
        if (m_section < 0) return QAccessible::Pane;
        return m_orientation == Qt::Horizontal ? QAccessible::ColumnHeader : QAccessible::RowHeader;
    }
    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name || m_section < 0 || !isValid()) return {};
        return view()->model()->headerData(m_section, m_orientation).toString();
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !isValid() || m_section < 0 || header()->isHidden();
        return state;
    }
    QRect rect() const override {
        if (!isValid() || m_section < 0 || header()->isHidden()) return {};
        const int start = header()->sectionViewportPosition(m_section);
        const int size = header()->sectionSize(m_section);
        const QRect local = m_orientation == Qt::Horizontal ? QRect(start, 0, size, header()->height())
                                                            : QRect(0, start, header()->width(), size);
        return QRect(header()->viewport()->mapToGlobal(local.topLeft()), local.size());
    }

private:
    Qt::Orientation m_orientation;
    int m_section;
};

/// A cell of a line. An Amount cell reads as a number field: its number is its value and its text. An
/// Addition cell reads as a check box: checkable, checked while the line is an addition, toggled by its action.
class LineCell final : public TablePart,
                       public QAccessibleTableCellInterface,
                       public QAccessibleValueInterface,
                       public QAccessibleTextInterface,
                       public QAccessibleActionInterface {
public:
    LineCell(QTableView* view, const QModelIndex& index) : TablePart(view), m_index(index), m_heard(reading()) {}

    bool isValid() const override { return TablePart::isValid() && m_index.isValid(); }
    bool isAmount() const { return m_index.column() == RecipeLinesModel::amountColumn; }
    bool isAddition() const { return m_index.column() == RecipeLinesModel::additionColumn; }
    QString shown() const { return m_index.data(Qt::DisplayRole).toString(); }
    /// Whether the cell still stands at `row` and `column`: lines come and go beneath it.
    bool standsAt(int row, int column) const {
        return m_index.isValid() && m_index.row() == row && m_index.column() == column;
    }

    QAccessible::Role role() const override { return QAccessible::Cell; }
    QString text(QAccessible::Text kind) const override {
        if (!isValid()) return {};
        switch (kind) {
        case QAccessible::Name:
            return m_index.data(Qt::AccessibleTextRole).toString();
        case QAccessible::Description:
            return m_index.data(Qt::AccessibleDescriptionRole).toString();
        case QAccessible::Value:
            return isAmount() ? shown() : QString();
        default:
            return {};
        }
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) return state;
        const QRect shownArea(view()->viewport()->mapToGlobal(QPoint()), view()->viewport()->size());
        state.invisible = !shownArea.intersects(rect());
        state.selectable = state.focusable = state.extSelectable = true;
        state.selected = view()->selectionModel()->isSelected(m_index);
        state.focused = view()->currentIndex() == m_index;
        state.editable = isAmount();
        state.checkable = isAddition();
        state.checked = isAddition() && m_index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return state;
    }
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect cell = view()->visualRect(m_index);
        return QRect(view()->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        switch (type) {
        case QAccessible::TableCellInterface:
            return static_cast<QAccessibleTableCellInterface*>(this);
        case QAccessible::ValueInterface:
            return isAmount() ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
        case QAccessible::TextInterface:
            return isAmount() ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
        case QAccessible::ActionInterface:
            return isAddition() ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
        default:
            return nullptr;
        }
    }

    // Its place in the table.
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    int columnIndex() const override { return m_index.column(); }
    int rowIndex() const override { return m_index.row(); }
    bool isSelected() const override { return isValid() && view()->selectionModel()->isSelected(m_index); }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        QAccessibleInterface* table = parent();
        if (!table || !table->tableInterface() || view()->horizontalHeader()->isHidden()) return {};
        return {table->child(m_index.column() + 1)};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    QAccessibleInterface* table() const override { return parent(); }

    // The amount as a number.
    QVariant currentValue() const override { return m_index.data(Qt::EditRole); }
    void setCurrentValue(const QVariant& value) override {
        bool ok = false;
        const double amount = value.toDouble(&ok);
        if (ok && std::isfinite(amount) && amount >= 0 && amount <= largestAmount)
            view()->model()->setData(m_index, amount);
    }
    QVariant maximumValue() const override { return largestAmount; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return amountStep; }

    // The amount as the text it shows, read only.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return int(shown().size()); }
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // The addition flag, switched as a check box is.
    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString& name) override {
        if (name != toggleAction() || !isValid()) return;
        const bool checked = m_index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        view()->model()->setData(m_index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    /// Tells a reader what changed since the cell was last read or announced: its name, its number and
    /// text, its check.
    void announceChanges() {
        const Reading now = reading();
        const Reading before = std::exchange(m_heard, now);
        if (now.name != before.name) {
            QAccessibleEvent renamed(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&renamed);
        }
        if (now.value != before.value) {
            QAccessibleValueChangeEvent valued(this, currentValue());
            QAccessible::updateAccessibility(&valued);
            QAccessibleTextUpdateEvent retyped(this, 0, before.value, now.value);
            QAccessible::updateAccessibility(&retyped);
        }
        if (now.checked != before.checked) {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent checked(this, changed);
            QAccessible::updateAccessibility(&checked);
        }
    }

private:
    /// What a reader hears of the cell.
    struct Reading {
        QString name;
        QString value;
        bool checked = false;
    };
    Reading reading() const { return {text(QAccessible::Name), text(QAccessible::Value), bool(state().checked)}; }

    QPersistentModelIndex m_index;
    Reading m_heard;
};

/// The table: its children in the order Qt's tables give them and its views report focus by, a row of
/// headers (the corner first) and then each line, its row header first.
class LinesTable final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit LinesTable(QTableView* view) : QAccessibleWidget(view, QAccessible::Table) {
        // Qt's tables send no word of a cell whose data changed: each changed cell shown is told here.
        m_dataFollower = QObject::connect(view->model(), &QAbstractItemModel::dataChanged, view,
                                          [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                                              if (!QAccessible::isActive()) return;
                                              announceShownChanges(topLeft.row(), bottomRight.row(), topLeft.column(),
                                                                   bottomRight.column());
                                          });
    }
    ~LinesTable() override {
        QObject::disconnect(m_dataFollower);
        forgetParts();
    }

    QTableView* view() const { return static_cast<QTableView*>(widget()); }
    QAbstractItemModel* model() const { return view()->model(); }
    int width() const { return model()->columnCount() + 1; }
    int logicalIndex(const QModelIndex& index) const { return (index.row() + 1) * width() + index.column() + 1; }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return (model()->rowCount() + 1) * width(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        const int row = index / width() - 1;
        const int column = index % width() - 1;
        if (const auto known = m_parts.constFind(index); known != m_parts.cend()) {
            // Without a reader the view sends no word of lines that came or went: a cell that moved is made anew.
            QAccessibleInterface* part = QAccessible::accessibleInterface(*known);
            const auto* cell = dynamic_cast<const LineCell*>(part);
            if (!cell || cell->standsAt(row, column)) return part;
            QAccessible::deleteAccessibleInterface(m_parts.take(index));
        }
        QAccessibleInterface* part = makePart(row, column);
        m_parts.insert(index, QAccessible::registerAccessibleInterface(part));
        return part;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (auto part = m_parts.cbegin(); part != m_parts.cend(); ++part)
            if (QAccessible::accessibleInterface(part.value()) == child) return part.key();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QModelIndex index = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? child(logicalIndex(index)) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        // An open editor is a widget of its own, and reads as one.
        const QModelIndex current = view()->currentIndex();
        if (!view()->hasFocus() || !current.isValid()) return QAccessibleWidget::focusChild();
        return child(logicalIndex(current));
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        const QModelIndex index = model()->index(row, column);
        return index.isValid() ? child(logicalIndex(index)) : nullptr;
    }
    int columnCount() const override { return model()->columnCount(); }
    int rowCount() const override { return model()->rowCount(); }
    QString columnDescription(int column) const override {
        return model()->headerData(column, Qt::Horizontal).toString();
    }
    QString rowDescription(int row) const override { return model()->headerData(row, Qt::Vertical).toString(); }

    // Whole lines are selected, never columns.
    int selectedCellCount() const override { return int(view()->selectionModel()->selectedIndexes().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (const QModelIndex& index : view()->selectionModel()->selectedIndexes())
            cells << child(logicalIndex(index));
        return cells;
    }
    int selectedColumnCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    int selectedRowCount() const override { return int(view()->selectionModel()->selectedRows().size()); }
    QList<int> selectedRows() const override {
        QList<int> rows;
        for (const QModelIndex& index : view()->selectionModel()->selectedRows())
            rows << index.row();
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return view()->selectionModel()->isRowSelected(row, {}); }
    bool selectRow(int row) override { return selectLine(row, QItemSelectionModel::Select); }
    bool unselectRow(int row) override { return selectLine(row, QItemSelectionModel::Deselect); }
    bool selectColumn(int) override { return false; }
    bool unselectColumn(int) override { return false; }

    // Lines come and go, and a cell's place is its index: the parts are made afresh when next asked for.
    void modelChange(QAccessibleTableModelChangeEvent* event) override {
        if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) forgetParts();
    }

private:
    /// The cells of the lines shown in the rows and columns given whose reading changed: a share that every
    /// line's amount moves is told for the lines in view only, however long the recipe.
    void announceShownChanges(int firstRow, int lastRow, int firstColumn, int lastColumn) {
        const int topShown = view()->rowAt(0);
        if (topShown < 0 || !view()->isVisible()) return;
        const int bottom = view()->rowAt(view()->viewport()->height() - 1);
        const int bottomShown = bottom < 0 ? model()->rowCount() - 1 : bottom;
        firstColumn = std::max(firstColumn, 0);
        lastColumn = std::min(lastColumn < 0 ? columnCount() - 1 : lastColumn, columnCount() - 1);
        for (int row = std::max(firstRow, topShown); row <= std::min(lastRow, bottomShown); ++row)
            for (int column = firstColumn; column <= lastColumn; ++column)
                if (auto* cell = dynamic_cast<LineCell*>(cellAt(row, column))) cell->announceChanges();
    }
    QAccessibleInterface* makePart(int row, int column) const {
        if (row < 0) return new HeaderCell(view(), Qt::Horizontal, column);
        if (column < 0) return new HeaderCell(view(), Qt::Vertical, row);
        return new LineCell(view(), model()->index(row, column));
    }
    bool selectLine(int row, QItemSelectionModel::SelectionFlag flag) {
        const QModelIndex index = model()->index(row, 0);
        if (!index.isValid()) return false;
        view()->selectionModel()->select(index, flag | QItemSelectionModel::Rows);
        return true;
    }
    void forgetParts() {
        const QHash<int, QAccessible::Id> parts = std::exchange(m_parts, {});
        for (const QAccessible::Id id : parts)
            QAccessible::deleteAccessibleInterface(id);
    }

    mutable QHash<int, QAccessible::Id> m_parts;
    QMetaObject::Connection m_dataFollower;
};

QAccessibleInterface* linesFactory(const QString&, QObject* object) {
    auto* view = qobject_cast<RecipeLinesView*>(object);
    return view ? new LinesTable(view) : nullptr;
}

} // namespace

void readCellsAsControls(RecipeLinesView* view) {
    useOwnInterface<LinesTable>(view, linesFactory);
}

} // namespace Orza
