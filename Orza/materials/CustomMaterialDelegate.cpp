#include "Orza/materials/CustomMaterialDelegate.h"

#include "Orza/materials/CustomMaterialsModel.h"
#include "Orza/materials/MaterialsStyle.h"

#include <QApplication>
#include <QPainter>

namespace Orza {

namespace {

constexpr int horizontalPadding = 8;
constexpr int verticalPadding = 4;
constexpr int lineGap = 1;

} // namespace

void CustomMaterialDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    const QFont caption = MaterialsStyle::captionFont(option.font);
    const QFontMetrics nameMetrics(option.font);
    const QFontMetrics idMetrics(caption);
    const QRect area = option.rect.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);

    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QString name = nameMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideMiddle, area.width());
    painter->drawText(QRect(area.left(), area.top(), area.width(), nameMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter, name);

    painter->setFont(caption);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
    // The id by its ends: laying out an id of megabytes at every repaint would stop the window.
    const QString id =
        idMetrics.elidedText(index.data(CustomMaterialsModel::shownIdRole).toString(), Qt::ElideMiddle, area.width());
    painter->drawText(QRect(area.left(), area.top() + nameMetrics.height() + lineGap, area.width(), idMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter, id);
    painter->restore();
}

QSize CustomMaterialDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    const QFontMetrics nameMetrics(option.font);
    const QFontMetrics idMetrics(MaterialsStyle::captionFont(option.font));
    return {horizontalPadding * 2 + 120, verticalPadding * 2 + nameMetrics.height() + lineGap + idMetrics.height()};
}

} // namespace Orza
