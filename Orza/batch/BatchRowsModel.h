#pragma once

#include "Orza/batch/BatchRows.h"

#include <QAbstractTableModel>

#include <vector>

namespace Orza {

/// The batch sheet's table: the material of each row and its grams, read-only.
class BatchRowsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { material, grams, columns };

    explicit BatchRowsModel(QObject* parent = nullptr);

    /// New rows, their grams written for `precision`.
    void setRows(std::vector<BatchRow> rows, double precision);
    const std::vector<BatchRow>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<BatchRow> m_rows;
    double m_precision = 0.1;
};

} // namespace Orza
