#include "Orza/sidebar/SidebarModel.h"

#include "GlazeCore/book/BookPage.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/resources/Resources.h"
#include "Orza/sidebar/SidebarRows.h"
#include "Orza/widgets/RegionDot.h"
#include "Orza/widgets/ThemedIcon.h"

#include <QBrush>
#include <QDataStream>
#include <QFont>
#include <QGuiApplication>
#include <QIODevice>
#include <QMimeData>
#include <QPalette>

namespace Orza {

namespace {

constexpr quintptr topLevel = 0;
const QString rowsMimeType = QStringLiteral("application/x-orza-recipe-rows");

QString pageTitle(GlazeCore::BookPage page) {
    return QString::fromUtf8(page.title());
}

} // namespace

SidebarModel::SidebarModel(BookDocument& document, QObject* parent)
    : QAbstractItemModel(parent), m_document(document), m_placeholderShown(document.book().recipes.empty()),
      m_testsHelp(SidebarRows::testsHelpText(document.book().tests)) {
    ensureResources();
    m_testsIcon = ThemedIcon::symbol(QStringLiteral("square.grid.3x3"));
    m_materialsIcon = ThemedIcon::symbol(QStringLiteral("shippingbox"));
    connectRecipes();
    connectPages();
    connect(&document, &BookDocument::aboutToReset, this, [this] { beginResetModel(); });
    connect(&document, &BookDocument::reset, this, [this] {
        m_placeholderShown = m_document.book().recipes.empty();
        m_regions.clear();
        m_testsHelp = SidebarRows::testsHelpText(m_document.book().tests);
        endResetModel();
    });
}

void SidebarModel::connectRecipes() {
    BookDocument& document = m_document;
    // A region rests on the recipe's lines and on the custom materials; its name and cone show in the row too.
    const auto forget = [this](const GlazeCore::Uuid& recipeID) { m_regions.erase(recipeID); };
    connect(&document, &BookDocument::lineChanged, this, forget);
    connect(&document, &BookDocument::linesInserted, this, forget);
    connect(&document, &BookDocument::linesRemoved, this, forget);
    connect(&document, &BookDocument::linesReset, this, forget);
    connect(&document, &BookDocument::recipeEdited, this, &SidebarModel::recipeRowChanged);
    connect(&document, &BookDocument::libraryChanged, this, &SidebarModel::allRegionsChanged);
    connect(&document, &BookDocument::recipesAboutToBeInserted, this, &SidebarModel::beginRecipeInsert);
    connect(&document, &BookDocument::recipesInserted, this, [this] { endInsertRows(); });
    connect(&document, &BookDocument::recipesAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows(sectionIndex(recipesSection), first, last); });
    connect(&document, &BookDocument::recipesRemoved, this, &SidebarModel::endRecipeRemove);
    connect(&document, &BookDocument::recipesAboutToBeMoved, this,
            [this] { emit layoutAboutToBeChanged({QPersistentModelIndex(sectionIndex(recipesSection))}); });
    connect(&document, &BookDocument::recipesMoved, this, &SidebarModel::finishMove);
}

void SidebarModel::connectPages() {
    BookDocument& document = m_document;
    // The Tests row counts tiles and names the last one's code.
    for (const auto signal : {&BookDocument::testsInserted, &BookDocument::testsRemoved})
        connect(&document, signal, this, &SidebarModel::updateTestsRow);
    connect(&document, &BookDocument::tileChanged, this, [this](const GlazeCore::Uuid&, int, TileField field) {
        if (field == TileField::code) updateTestsRow();
    });
}

void SidebarModel::recipeRowChanged(const GlazeCore::Uuid& recipeID) {
    const auto row = m_document.recipeIndex(recipeID);
    if (!row || m_placeholderShown) return;
    const QModelIndex changed = index(int(*row), 0, sectionIndex(recipesSection));
    emit dataChanged(changed, changed);
}

void SidebarModel::allRegionsChanged() {
    m_regions.clear();
    if (m_placeholderShown) return;
    const QModelIndex section = sectionIndex(recipesSection);
    emit dataChanged(index(0, 0, section), index(recipeCount() - 1, 0, section),
                     {Qt::DecorationRole, Qt::ToolTipRole, Qt::AccessibleTextRole, regionRole});
}

void SidebarModel::updateTestsRow() {
    const QString testsHelp = SidebarRows::testsHelpText(m_document.book().tests);
    if (testsHelp == m_testsHelp) return;
    m_testsHelp = testsHelp;
    const QModelIndex tests = index(testsRow, 0, sectionIndex(bookSection));
    emit dataChanged(tests, tests);
}

std::optional<GlazeCore::StullRegion> SidebarModel::region(const GlazeCore::Recipe& recipe) const {
    const auto found = m_regions.find(recipe.id);
    if (found != m_regions.end()) return found->second;
    const auto region = SidebarRows::rowRegion(recipe, m_document.library());
    m_regions.emplace(recipe.id, region);
    return region;
}

int SidebarModel::recipeCount() const {
    return m_placeholderShown ? 1 : int(m_document.book().recipes.size());
}

void SidebarModel::beginRecipeInsert(int first, int last) {
    const QModelIndex section = sectionIndex(recipesSection);
    if (m_placeholderShown) {
        beginRemoveRows(section, 0, 0);
        m_placeholderShown = false;
        endRemoveRows();
    }
    beginInsertRows(section, first, last);
}

void SidebarModel::endRecipeRemove() {
    endRemoveRows();
    if (m_document.book().recipes.empty()) {
        beginInsertRows(sectionIndex(recipesSection), 0, 0);
        m_placeholderShown = true;
        endInsertRows();
    }
}

void SidebarModel::finishMove(const RowMove& move, bool reversed) {
    const QModelIndex section = sectionIndex(recipesSection);
    const QModelIndexList persistent = persistentIndexList();
    for (const QModelIndex& old : persistent) {
        if (old.parent() != section) continue;
        const auto row = std::size_t(old.row());
        const auto moved = int(reversed ? move.oldRow(row) : move.newRow(row));
        changePersistentIndex(old, createIndex(moved, old.column(), quintptr(recipesSection + 1)));
    }
    emit layoutChanged({QPersistentModelIndex(section)});
}

QModelIndex SidebarModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) return {};
    if (!parent.isValid()) return createIndex(row, column, topLevel);
    return createIndex(row, column, quintptr(parent.row() + 1));
}

QModelIndex SidebarModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == topLevel) return {};
    return createIndex(int(child.internalId() - 1), 0, topLevel);
}

int SidebarModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return sectionCount;
    if (parent.internalId() != topLevel || parent.column() != 0) return 0;
    return parent.row() == recipesSection ? recipeCount() : bookRowCount;
}

int SidebarModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant SidebarModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (index.internalId() == topLevel) {
        if (role == Qt::DisplayRole) return index.row() == recipesSection ? tr("Recipes") : tr("Book");
        if (role == Qt::FontRole) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    }
    if (index.internalId() == recipesSection + 1) {
        if (!m_placeholderShown) return recipeData(m_document.book().recipes[std::size_t(index.row())], role);
        switch (role) {
        case Qt::DisplayRole:
            return tr("No recipes yet");
        case Qt::AccessibleTextRole:
            return tr("No recipes yet. Use Add Recipe.");
        case Qt::ForegroundRole:
            return QGuiApplication::palette().brush(QPalette::PlaceholderText);
        default:
            return {};
        }
    }
    return pageData(index.row() == testsRow ? testsRow : materialsRow, role);
}

QVariant SidebarModel::recipeData(const GlazeCore::Recipe& recipe, int role) const {
    switch (role) {
    case Qt::DisplayRole:
        return SidebarRows::displayName(recipe);
    case Qt::DecorationRole:
        return RegionDot::icon(region(recipe));
    case Qt::ToolTipRole:
        return SidebarRows::rowHelpText(region(recipe), SidebarRows::displayName(recipe));
    case Qt::AccessibleTextRole:
        return SidebarRows::accessibilityLabel(recipe, region(recipe));
    case regionRole:
        if (const auto found = region(recipe)) return int(*found);
        return {};
    default:
        return {};
    }
}

QVariant SidebarModel::pageData(BookRow row, int role) const {
    const auto& tests = m_document.book().tests;
    switch (role) {
    case Qt::DisplayRole:
        return pageTitle(row == testsRow ? GlazeCore::BookPage::tests : GlazeCore::BookPage::materials);
    case Qt::DecorationRole:
        return row == testsRow ? m_testsIcon : m_materialsIcon;
    case Qt::ToolTipRole:
        if (row == testsRow) return SidebarRows::testsHelpText(tests);
        return {};
    case Qt::AccessibleTextRole:
        return row == testsRow ? SidebarRows::testsAccessibilityLabel(tests.size()) : tr("Materials");
    case badgeRole:
        if (row == testsRow && !tests.empty()) return qulonglong(tests.size());
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags SidebarModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    if (index.internalId() == topLevel)
        return index.row() == recipesSection ? Qt::ItemIsEnabled | Qt::ItemIsDropEnabled : Qt::ItemIsEnabled;
    if (index.internalId() == recipesSection + 1) {
        if (m_placeholderShown) return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

Qt::DropActions SidebarModel::supportedDropActions() const {
    return Qt::MoveAction;
}

QStringList SidebarModel::mimeTypes() const {
    return {rowsMimeType};
}

QMimeData* SidebarModel::mimeData(const QModelIndexList& indexes) const {
    QByteArray encoded;
    QDataStream stream(&encoded, QIODevice::WriteOnly);
    for (const QModelIndex& index : indexes)
        if (index.internalId() == recipesSection + 1 && !m_placeholderShown) stream << qint64(index.row());
    auto* data = new QMimeData;
    data->setData(rowsMimeType, encoded);
    return data;
}

bool SidebarModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                   const QModelIndex& parent) const {
    if (action != Qt::MoveAction || !data || !data->hasFormat(rowsMimeType)) return false;
    const bool intoSection = parent.isValid() && parent.internalId() == topLevel && parent.row() == recipesSection;
    const bool ontoRecipe = parent.isValid() && parent.internalId() == recipesSection + 1;
    return intoSection || ontoRecipe;
}

bool SidebarModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent)) return false;
    std::size_t destination = 0;
    if (parent.internalId() == recipesSection + 1)
        destination = std::size_t(parent.row()); // dropped onto a row: before it
    else
        destination = row < 0 ? m_document.book().recipes.size() : std::size_t(row);
    QByteArray encoded = data->data(rowsMimeType);
    QDataStream stream(&encoded, QIODevice::ReadOnly);
    std::vector<std::size_t> rows;
    while (!stream.atEnd()) {
        qint64 value = -1;
        stream >> value;
        if (value >= 0) rows.push_back(std::size_t(value));
    }
    m_document.moveRecipes(RowMove::make(std::move(rows), destination, m_document.book().recipes.size()));
    // The document moved the rows itself; answering false keeps the view from removing the dragged rows.
    return false;
}

QModelIndex SidebarModel::sectionIndex(Section section) const {
    return createIndex(section, 0, topLevel);
}

QModelIndex SidebarModel::indexFor(const std::optional<SidebarItem>& item) const {
    if (!item) return {};
    switch (item->kind) {
    case SidebarItem::Kind::tests:
        return index(testsRow, 0, sectionIndex(bookSection));
    case SidebarItem::Kind::materials:
        return index(materialsRow, 0, sectionIndex(bookSection));
    case SidebarItem::Kind::recipe:
        if (const auto row = m_document.recipeIndex(item->recipeID))
            return index(int(*row), 0, sectionIndex(recipesSection));
        return {};
    }
    return {};
}

std::optional<SidebarItem> SidebarModel::itemAt(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == topLevel) return std::nullopt;
    if (index.internalId() == recipesSection + 1) {
        if (m_placeholderShown) return std::nullopt;
        return SidebarItem::recipe(m_document.book().recipes[std::size_t(index.row())].id);
    }
    return index.row() == testsRow ? SidebarItem::tests() : SidebarItem::materials();
}

} // namespace Orza
