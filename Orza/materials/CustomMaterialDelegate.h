#pragma once

#include <QStyledItemDelegate>

namespace Orza {

/// A row of the custom materials list: the name, and under it the id in small secondary text, each on one
/// line and shortened in the middle when too long. An empty name leaves its line empty.
class CustomMaterialDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace Orza
