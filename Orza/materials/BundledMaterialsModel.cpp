#include "Orza/materials/BundledMaterialsModel.h"

#include "GlazeCore/text/UnicodeText.h"
#include "Orza/display/NumberDisplay.h"

namespace Orza {

BundledMaterialsModel::BundledMaterialsModel(const std::vector<GlazeCore::Material>& materials, QObject* parent)
    : QAbstractTableModel(parent), m_materials(materials), m_shown(MaterialFilter().positions(materials)) {}

void BundledMaterialsModel::setFilter(const MaterialFilter& filter) {
    std::vector<std::size_t> shown = filter.positions(m_materials);
    if (shown == m_shown) return;
    beginResetModel();
    m_shown = std::move(shown);
    endResetModel();
}

std::optional<int> BundledMaterialsModel::rowOf(const std::string& id) const {
    for (std::size_t row = 0; row < m_shown.size(); ++row)
        if (GlazeCore::UnicodeText::canonicallyEqual(m_materials[m_shown[row]].id, id)) return int(row);
    return std::nullopt;
}

int BundledMaterialsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_shown.size());
}

int BundledMaterialsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns;
}

QVariant BundledMaterialsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const GlazeCore::Material& material = materialAt(index.row());
    if (role == idRole) return QString::fromStdString(material.id);
    if (index.column() == Column::name) {
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return QString::fromStdString(material.name);
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return formatDoublePlaces(1, material.loi);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant BundledMaterialsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return section == Column::name ? tr("Name") : tr("LOI %");
    if (role == Qt::TextAlignmentRole && section == Column::loi)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

} // namespace Orza
