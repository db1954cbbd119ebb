#include "Orza/materials/CustomMaterialsModel.h"

#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"

#include <algorithm>

namespace Orza {

CustomMaterialsModel::CustomMaterialsModel(BookDocument& document, QObject* parent)
    : QAbstractListModel(parent), m_document(document), m_shown(m_filter.positions(document.book().customMaterials)) {
    // Rows come and go rarely (add, delete, their undo, a revert): the list is built again for them.
    connect(&document, &BookDocument::materialsAboutToBeInserted, this, &CustomMaterialsModel::beginReset);
    connect(&document, &BookDocument::materialsInserted, this, &CustomMaterialsModel::endReset);
    connect(&document, &BookDocument::materialsAboutToBeRemoved, this, &CustomMaterialsModel::beginReset);
    connect(&document, &BookDocument::materialsRemoved, this, &CustomMaterialsModel::endReset);
    connect(&document, &BookDocument::aboutToReset, this, &CustomMaterialsModel::beginReset);
    connect(&document, &BookDocument::reset, this, &CustomMaterialsModel::endReset);
    connect(&document, &BookDocument::materialChanged, this, &CustomMaterialsModel::materialChanged);
}

void CustomMaterialsModel::beginReset() {
    beginResetModel();
}

void CustomMaterialsModel::endReset() {
    m_shown = m_filter.positions(m_document.book().customMaterials);
    endResetModel();
}

void CustomMaterialsModel::setFilter(const MaterialFilter& filter) {
    m_filter = filter;
    std::vector<std::size_t> shown = m_filter.positions(m_document.book().customMaterials);
    if (shown == m_shown) return;
    beginResetModel();
    m_shown = std::move(shown);
    endResetModel();
}

void CustomMaterialsModel::materialChanged(int bookRow, MaterialField field) {
    const auto position = std::size_t(bookRow);
    const auto at = std::lower_bound(m_shown.begin(), m_shown.end(), position);
    const bool shown = at != m_shown.end() && *at == position;
    const int row = int(at - m_shown.begin());
    // Only the name and the source decide whether a material passes; the id never changes.
    const bool passes = (field == MaterialField::name || field == MaterialField::source)
                            ? m_filter.matches(m_document.book().customMaterials[position])
                            : shown;
    if (shown && passes) {
        emit dataChanged(index(row), index(row));
    } else if (shown) {
        beginRemoveRows({}, row, row);
        m_shown.erase(at);
        endRemoveRows();
    } else if (passes) {
        beginInsertRows({}, row, row);
        m_shown.insert(at, position);
        endInsertRows();
    }
}

std::optional<int> CustomMaterialsModel::rowOf(const std::string& id) const {
    const auto position = m_document.materialIndex(id);
    if (!position) return std::nullopt;
    const auto at = std::lower_bound(m_shown.begin(), m_shown.end(), *position);
    if (at == m_shown.end() || *at != *position) return std::nullopt;
    return int(at - m_shown.begin());
}

const std::string& CustomMaterialsModel::idAt(int row) const {
    return m_document.book().customMaterials[m_shown[std::size_t(row)]].id;
}

int CustomMaterialsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant CustomMaterialsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const GlazeCore::Material& material = m_document.book().customMaterials[m_shown[std::size_t(index.row())]];
    // Views ask for many roles at every repaint: a text is shortened only for the roles that show it.
    switch (role) {
    case idRole:
        return QString::fromStdString(material.id);
    case Qt::EditRole:
        return QString::fromStdString(material.name);
    case shownIdRole:
        return shownText(material.id);
    case Qt::DisplayRole:
        return shownText(material.name);
    case Qt::ToolTipRole:
        return material.name.empty() ? shownText(material.id) : shownText(material.name);
    case Qt::AccessibleTextRole:
        // Name and id are read as one.
        return material.name.empty() ? shownText(material.id)
                                     : shownText(material.name) + QStringLiteral(", ") + shownText(material.id);
    default:
        return {};
    }
}

} // namespace Orza
