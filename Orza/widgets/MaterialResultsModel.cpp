#include "Orza/widgets/MaterialResultsModel.h"

#include "GlazeCore/library/MaterialSearch.h"
#include "GlazeCore/text/UnicodeText.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/widgets/MaterialSearchList.h"

namespace Orza {

MaterialResultsModel::MaterialResultsModel(const BookLibrary& library, QObject* parent)
    : QAbstractListModel(parent), m_all(library.all()) {
    for (const GlazeCore::Material& material : library.custom())
        m_customIDs.insert(GlazeCore::UnicodeText::canonicalForm(material.id));
    m_results = m_all;
}

void MaterialResultsModel::search(const std::string& query) {
    beginResetModel();
    m_results = GlazeCore::MaterialSearch::matches(m_all, query);
    endResetModel();
}

std::vector<std::string> MaterialResultsModel::ids() const {
    std::vector<std::string> ids;
    ids.reserve(m_results.size());
    for (const GlazeCore::Material& material : m_results)
        ids.push_back(material.id);
    return ids;
}

int MaterialResultsModel::rowOf(const std::string& id) const {
    for (std::size_t i = 0; i < m_results.size(); ++i)
        if (m_results[i].id == id) return int(i);
    return -1;
}

int MaterialResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_results.size());
}

QVariant MaterialResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || std::size_t(index.row()) >= m_results.size()) return {};
    const GlazeCore::Material& material = m_results[std::size_t(index.row())];
    const bool custom = m_customIDs.contains(GlazeCore::UnicodeText::canonicalForm(material.id));
    switch (role) {
    case Qt::DisplayRole:
        return shownText(material.name);
    case idRole:
        return QString::fromStdString(material.id);
    case subtitleRole:
        return MaterialSearchList::materialSubtitle(material);
    case customRole:
        return custom;
    case Qt::AccessibleTextRole: {
        QString text = shownText(material.name);
        if (custom) text += QLatin1Char(' ') + tr("custom");
        const QString subtitle = MaterialSearchList::materialSubtitle(material);
        return subtitle.isEmpty() ? text : text + QStringLiteral(", ") + subtitle;
    }
    default:
        return {};
    }
}

} // namespace Orza
