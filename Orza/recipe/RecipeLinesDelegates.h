#pragma once

#include <QStyledItemDelegate>

namespace Orza {

class ActionRegistry;
class BookDocument;

/**
 * The Material cell: the material's name and a chevron, as a picker button shows them, and a warning
 * symbol after it when the row has an amount but no material. A click asks for the picker.
 */
class MaterialCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    /// Where the warning symbol stands in a cell that shows `name`: right after the name and its chevron.
    static QRect warningRect(const QRect& cell, const QString& name, const QFontMetrics& metrics);

signals:
    void pickRequested(const QModelIndex& index);
};

/**
 * The Amount cell's editor: a live number field (0 to 2 decimals, no negatives) that writes every value
 * typed at once, so the chemistry follows the typing, and whose undo keys undo the book. An edit that ends
 * on a text that is no number, or with Escape, takes back what it wrote.
 */
class AmountDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    AmountDelegate(BookDocument& document, ActionRegistry* actions, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    BookDocument& m_document;
    ActionRegistry* m_actions;
};

} // namespace Orza
