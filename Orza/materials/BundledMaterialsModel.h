#pragma once

#include "Orza/materials/MaterialFilter.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

namespace Orza {

/**
 * The table of built-in materials that pass the page's search, in load order: the name (the whole name
 * also as the tooltip) and the loss on ignition with one decimal. Read-only.
 */
class BundledMaterialsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { name, loi };
    static constexpr int columns = 2;
    /// The material's id, on every cell.
    static constexpr int idRole = Qt::UserRole + 1;

    BundledMaterialsModel(const std::vector<GlazeCore::Material>& materials, QObject* parent = nullptr);

    void setFilter(const MaterialFilter& filter);
    /// The shown row of the first material with this id, when it is shown.
    std::optional<int> rowOf(const std::string& id) const;
    const GlazeCore::Material& materialAt(int row) const { return m_materials[m_shown[std::size_t(row)]]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const std::vector<GlazeCore::Material>& m_materials;
    std::vector<std::size_t> m_shown;
};

} // namespace Orza
