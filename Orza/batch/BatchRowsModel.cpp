#include "Orza/batch/BatchRowsModel.h"

namespace Orza {

BatchRowsModel::BatchRowsModel(QObject* parent) : QAbstractTableModel(parent) {}

void BatchRowsModel::setRows(std::vector<BatchRow> rows, double precision) {
    // The list is made anew on every change; a reset is as cheap as any diff and keeps no stale row.
    beginResetModel();
    m_rows = std::move(rows);
    m_precision = precision;
    endResetModel();
}

int BatchRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int BatchRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Column::columns;
}

QVariant BatchRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const BatchRow& row = m_rows[std::size_t(index.row())];
    const bool isGrams = index.column() == Column::grams;
    switch (role) {
    case Qt::DisplayRole:
        return isGrams ? gramsText(row.grams, m_precision) : batchRowTitle(row);
    case Qt::AccessibleTextRole:
        return isGrams ? tr("%1 g").arg(gramsText(row.grams, m_precision)) : batchRowTitle(row);
    case Qt::ToolTipRole:
        return isGrams ? QVariant() : batchRowTitle(row);
    case Qt::TextAlignmentRole:
        return isGrams ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant BatchRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return section == Column::grams ? tr("Grams") : tr("Material");
    if (role == Qt::TextAlignmentRole)
        return section == Column::grams ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                        : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags BatchRowsModel::flags(const QModelIndex& index) const {
    // Listed, not chosen: the rows can be read but never selected.
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

} // namespace Orza
