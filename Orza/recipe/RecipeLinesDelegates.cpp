#include "Orza/recipe/RecipeLinesDelegates.h"

#include "Orza/actions/DocumentFieldKeys.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/widgets/MaterialPicker.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

namespace Orza {

namespace {

constexpr int warningSide = 14;
constexpr int warningGap = 4;

/// The orange warning triangle of a row that has an amount but no material.
void paintWarning(QPainter& painter, const QRect& rect) {
    QPainterPath triangle;
    triangle.moveTo(rect.center().x() + 0.5, rect.top() + 1);
    triangle.lineTo(rect.right(), rect.bottom());
    triangle.lineTo(rect.left(), rect.bottom());
    triangle.closeSubpath();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 149, 0));
    painter.drawPath(triangle);
    painter.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    const qreal x = rect.center().x() + 0.5;
    painter.drawLine(QPointF(x, rect.top() + 5), QPointF(x, rect.bottom() - 4.5));
    painter.drawPoint(QPointF(x, rect.bottom() - 2));
    painter.restore();
}

QString warningText() {
    return QCoreApplication::translate("RecipeLinesTable",
                                       "This row has an amount but no material. Choose a material or remove the row.");
}

/// The part of a cell the picker's name and chevron may take: a row that needs the warning keeps room for it.
QRect labelArea(const QRect& cell, bool withWarning) {
    QRect label = cell.adjusted(6, 0, -4, 0);
    if (withWarning) label.setRight(label.right() - warningGap - warningSide);
    return label;
}

} // namespace

QRect MaterialCellDelegate::warningRect(const QRect& cell, const QString& name, const QFontMetrics& metrics) {
    const QRect label = labelArea(cell, true);
    const int left = label.left() + MaterialPicker::labelWidth(metrics, label.width(), name) + warningGap;
    return {left, cell.center().y() - warningSide / 2, warningSide, warningSide};
}

void MaterialCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    if (const QWidget* widget = option.widget)
        widget->style()->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const bool missing = index.data(RecipeLinesModel::missingMaterialRole).toBool();
    const QString name = index.data(Qt::DisplayRole).toString();
    painter->save();
    painter->setFont(option.font);
    MaterialPicker::paintLabel(*painter, labelArea(option.rect, missing), name,
                               index.data(RecipeLinesModel::materialUsableRole).toBool(), option.palette,
                               option.state & QStyle::State_Selected);
    painter->restore();
    if (missing) paintWarning(*painter, warningRect(option.rect, name, QFontMetrics(option.font)));
}

bool MaterialCellDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && option.rect.contains(mouse->position().toPoint())) {
            emit pickRequested(index);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

bool MaterialCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) {
    if (event->type() == QEvent::ToolTip && index.data(RecipeLinesModel::missingMaterialRole).toBool() &&
        warningRect(option.rect, index.data(Qt::DisplayRole).toString(), QFontMetrics(option.font))
            .contains(event->pos())) {
        QToolTip::showText(event->globalPos(), warningText(), view);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

AmountDelegate::AmountDelegate(BookDocument& document, ActionRegistry* actions, QObject* parent)
    : QStyledItemDelegate(parent), m_document(document), m_actions(actions) {}

QWidget* AmountDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    auto* field = new LiveNumberField(tr("Amount"), index.data(Qt::EditRole).toDouble(), {0, 2}, false, parent);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    field->setFrame(false);
    field->setAccessibleName(index.data(Qt::AccessibleTextRole).toString());
    // Every value typed goes to the book at once: the percentages, totals and chemistry follow the typing.
    connect(field, &LiveNumberField::valueEdited, this,
            [this, field] { emit const_cast<AmountDelegate*>(this)->commitData(field); });
    if (m_actions) DocumentFieldKeys::attach(field, m_document, *m_actions);
    return field;
}

void AmountDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* field = qobject_cast<LiveNumberField*>(editor)) field->setValue(index.data(Qt::EditRole).toDouble());
}

void AmountDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    // Only what the user typed is written; the text shown at the start never is.
    auto* field = qobject_cast<LiveNumberField*>(editor);
    if (!field) return;
    // A refused text has taken its typing back already, so the value is never a prefix of it.
    if (field->value() != index.data(Qt::EditRole).toDouble()) model->setData(index, field->value());
}

bool AmountDelegate::eventFilter(QObject* object, QEvent* event) {
    // Escape cancels the edit, as in any item view: the amount typed so far is taken back with it.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        if (auto* field = qobject_cast<LiveNumberField*>(object)) field->revertEdit();
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace Orza
