#pragma once

#include "Orza/document/BookFieldNames.h"
#include "Orza/materials/MaterialFilter.h"

#include <QAbstractListModel>

#include <optional>
#include <string>
#include <vector>

namespace Orza {

class BookDocument;

/**
 * The list of the book's custom materials that pass the page's search, in book order. It follows the
 * document's change signals: a rename or a new source moves only that one row in or out of the list; a
 * material added, deleted or a reverted book resets it.
 */
class CustomMaterialsModel final : public QAbstractListModel {
    Q_OBJECT
public:
    /// The material's id.
    static constexpr int idRole = Qt::UserRole + 1;
    /// The material's id as one line shows it: a very long one by its ends (shownText).
    static constexpr int shownIdRole = Qt::UserRole + 2;

    explicit CustomMaterialsModel(BookDocument& document, QObject* parent = nullptr);

    void setFilter(const MaterialFilter& filter);
    /// The shown row of the material with this id, when it is shown.
    std::optional<int> rowOf(const std::string& id) const;
    /// The id of the material in the shown row, as the book holds it.
    const std::string& idAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void materialChanged(int bookRow, MaterialField field);
    void beginReset();
    void endReset();

    BookDocument& m_document;
    MaterialFilter m_filter;
    std::vector<std::size_t> m_shown; // positions in the book's custom materials
};

} // namespace Orza
