#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <QAbstractListModel>

#include <string>
#include <unordered_set>
#include <vector>

namespace Orza {

class BookLibrary;

/// The materials a search found, in the library's order; each row knows whether it is one of the book's own.
class MaterialResultsModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { idRole = Qt::UserRole + 1, subtitleRole, customRole };

    explicit MaterialResultsModel(const BookLibrary& library, QObject* parent = nullptr);

    /// Filters the library's materials by the query (the material search's own rule).
    void search(const std::string& query);
    const std::vector<GlazeCore::Material>& results() const { return m_results; }
    std::vector<std::string> ids() const;
    int rowOf(const std::string& id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<GlazeCore::Material> m_all; // a copy: the library may be rebuilt while the list is open
    std::unordered_set<std::string> m_customIDs;
    std::vector<GlazeCore::Material> m_results;
};

} // namespace Orza
