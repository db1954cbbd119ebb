#include "Orza/testlog/TestLogModel.h"

#include "Orza/display/TextDisplay.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/widgets/TextStyle.h"

#include <QApplication>
#include <QFont>
#include <QLocale>
#include <QTimeZone>

#include <algorithm>
#include <chrono>

namespace Orza {

namespace {

QFont codeFont() {
    QFont font = TextStyle::monospacedDigits(QApplication::font());
    font.setWeight(QFont::Medium);
    return font;
}

} // namespace

TestLogModel::TestLogModel(BookDocument& document, WindowModel& model, QObject* parent)
    : QAbstractTableModel(parent), m_document(document), m_model(model), m_cache(TileSearchCache::of(document)) {
    // The cache hears of every change before this model: it was connected first.
    connect(&m_document, &BookDocument::tileChanged, this, &TestLogModel::tileChanged);
    connect(&m_document, &BookDocument::testsInserted, this, &TestLogModel::tilesInserted);
    connect(&m_document, &BookDocument::testsAboutToBeRemoved, this, &TestLogModel::tilesAboutToBeRemoved);
    connect(&m_document, &BookDocument::testsRemoved, this, &TestLogModel::tilesRemoved);
    connect(&m_document, &BookDocument::reset, this, &TestLogModel::resetRows);
    connect(&m_document, &BookDocument::recipeChanged, this, [this](const GlazeCore::Uuid&, RecipeField field) {
        if (field == RecipeField::name) recipeNamesChanged();
    });
    for (const auto signal : {&BookDocument::recipesInserted, &BookDocument::recipesRemoved})
        connect(&m_document, signal, this, [this] {
            recipeNamesChanged();
            searchedTextChanged();
        });
    connect(&m_document, &BookDocument::recipeEdited, this, &TestLogModel::searchedTextChanged);
    connect(&m_document, &BookDocument::libraryChanged, this, &TestLogModel::searchedTextChanged);
    for (const auto signal :
         {&WindowModel::testQueryChanged, &WindowModel::testConeChanged, &WindowModel::testAtmosphereChanged})
        connect(&m_model, signal, this, &TestLogModel::refilter);
    m_ids = matchingIDs();
}

std::optional<int> TestLogModel::rowOf(const GlazeCore::Uuid& id) const {
    const auto found = std::find(m_ids.begin(), m_ids.end(), id);
    if (found == m_ids.end()) return std::nullopt;
    return int(found - m_ids.begin());
}

int TestLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_ids.size());
}

int TestLogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(Column::columns);
}

QVariant TestLogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const GlazeCore::TestTile* tile = m_document.tile(m_ids[std::size_t(index.row())]);
    if (!tile) return {};
    switch (index.column()) {
    case Column::code:
        return codeCell(*tile, role);
    case Column::date:
        return dateCell(*tile, role);
    case Column::firing:
        return firingCell(*tile, role);
    case Column::recipe:
        return recipeCell(*tile, role);
    default:
        return {};
    }
}

QVariant TestLogModel::codeCell(const GlazeCore::TestTile& tile, int role) const {
    // As stored: a code of blanks shows its blanks; only the empty code reads as a dash.
    const QString code = shownText(tile.code);
    if (role == Qt::DisplayRole) return code.isEmpty() ? QStringLiteral("\u2013") : code;
    if (role == Qt::AccessibleTextRole) return code.isEmpty() ? tr("No code") : tr("Code %1").arg(code);
    if (role == Qt::FontRole) return codeFont();
    return {};
}

QVariant TestLogModel::dateCell(const GlazeCore::TestTile& tile, int role) const {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    return dateText(tile.date);
}

QString TestLogModel::dateText(GlazeCore::Date date) const {
    // The numeric date the search finds the tile by, in every locale: a locale's short date may name the month.
    std::pair<std::string, std::string> environment{QTimeZone::systemTimeZoneId().toStdString(),
                                                    QLocale().name().toStdString()};
    if (!m_dates || environment != m_datesFor) {
        m_dates = std::make_unique<GlazeCore::SearchDates>(environment.first, environment.second);
        m_datesFor = std::move(environment);
    }
    return QString::fromStdString(m_dates->of(date).localeDate);
}

QVariant TestLogModel::firingCell(const GlazeCore::TestTile& tile, int role) const {
    const QString cone = shownText(tile.cone);
    const QString atmosphere = shownText(tile.atmosphere);
    if (role == Qt::DisplayRole) return tr("%1 \u00B7 %2").arg(cone, atmosphere);
    if (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole) return tr("Cone %1, %2").arg(cone, atmosphere);
    return {};
}

QVariant TestLogModel::recipeCell(const GlazeCore::TestTile& tile, int role) const {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole && role != Qt::ToolTipRole) return {};
    const QString name = recipeNameOrDeleted(tile.recipeID);
    // The cell is cut in the middle when narrow; the tooltip gives the whole name.
    if (role == Qt::ToolTipRole && name.isEmpty()) return {};
    return name;
}

QString TestLogModel::recipeNameOrDeleted(const GlazeCore::Uuid& recipeID) const {
    const GlazeCore::Recipe* recipe = m_document.recipe(recipeID);
    return recipe ? shownText(recipe->name) : tr("Deleted recipe");
}

QVariant TestLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Column::code:
        return tr("Code");
    case Column::date:
        return tr("Date");
    case Column::firing:
        return tr("Firing");
    case Column::recipe:
        return tr("Recipe");
    default:
        return {};
    }
}

TileFilters TestLogModel::filters() const {
    return {m_model.testQuery(), m_model.testCone(), m_model.testAtmosphere()};
}

std::vector<GlazeCore::Uuid> TestLogModel::matchingIDs() {
    const auto& tests = m_document.book().tests;
    std::vector<GlazeCore::Uuid> ids;
    if (!m_model.isFiltering()) {
        ids.reserve(tests.size());
        for (const GlazeCore::TestTile& tile : tests)
            ids.push_back(tile.id);
        return ids;
    }
    const TileSearchCache::Positions positions = m_cache.search(filters());
    ids.reserve(positions.size());
    for (const std::uint32_t position : positions)
        ids.push_back(m_cache.idAt(position));
    return ids;
}

void TestLogModel::refilter() {
    std::vector<GlazeCore::Uuid> ids = matchingIDs();
    if (ids == m_ids) return;
    beginResetModel();
    m_ids = std::move(ids);
    endResetModel();
}

void TestLogModel::resetRows() {
    beginResetModel();
    m_ids = matchingIDs();
    endResetModel();
}

int TestLogModel::rowFrom(std::size_t position) const {
    // Rows stand in book order, so the rows before `position` come first.
    const auto at = std::partition_point(m_ids.begin(), m_ids.end(), [&](const GlazeCore::Uuid& id) {
        const auto index = m_document.tileIndex(id);
        return index && *index < position;
    });
    return int(at - m_ids.begin());
}

void TestLogModel::tileChanged(const GlazeCore::Uuid& id, int position, TileField field) {
    if (field == TileField::schedule || field == TileField::photoBookmark) return;
    const int row = rowFrom(std::size_t(position));
    const bool shown = row < rowCount() && m_ids[std::size_t(row)] == id;
    const bool matches = !m_model.isFiltering() || m_cache.matches(std::size_t(position), filters());
    if (shown && matches) {
        emit dataChanged(index(row, 0), index(row, Column::columns - 1));
    } else if (matches) {
        beginInsertRows({}, row, row);
        m_ids.insert(m_ids.begin() + row, id);
        endInsertRows();
    } else if (shown) {
        beginRemoveRows({}, row, row);
        m_ids.erase(m_ids.begin() + row);
        endRemoveRows();
    }
}

void TestLogModel::tilesInserted(int first, int last) {
    const auto& tests = m_document.book().tests;
    const bool filtering = m_model.isFiltering();
    const TileFilters now = filters();
    for (int position = first; position <= last; ++position) {
        if (filtering && !m_cache.matches(std::size_t(position), now)) continue;
        const int row = rowFrom(std::size_t(position));
        beginInsertRows({}, row, row);
        m_ids.insert(m_ids.begin() + row, tests[std::size_t(position)].id);
        endInsertRows();
    }
}

void TestLogModel::tilesAboutToBeRemoved(int first, int last) {
    const int from = rowFrom(std::size_t(first));
    const int to = rowFrom(std::size_t(last) + 1);
    m_removing.reset();
    if (to > from) {
        m_removing = {from, to - 1};
        beginRemoveRows({}, from, to - 1);
    }
}

void TestLogModel::tilesRemoved() {
    if (!m_removing) return;
    const auto [from, to] = *m_removing;
    m_removing.reset();
    m_ids.erase(m_ids.begin() + from, m_ids.begin() + to + 1);
    endRemoveRows();
}

void TestLogModel::recipeNamesChanged() {
    if (m_ids.empty()) return;
    emit dataChanged(index(0, Column::recipe), index(rowCount() - 1, Column::recipe));
}

void TestLogModel::searchedTextChanged() {
    // Recipe names and material names are part of what the search text finds.
    if (m_model.isFiltering()) refilter();
}

} // namespace Orza
