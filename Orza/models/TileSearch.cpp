#include "Orza/models/TileSearch.h"

#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"

#include <QLocale>
#include <QTimeZone>

#include <algorithm>

namespace Orza {

namespace {

std::vector<TileSearch*>& made() {
    static std::vector<TileSearch*> searches;
    return searches;
}

} // namespace

TileSearch& TileSearch::of(BookDocument& document) {
    if (auto* search = document.findChild<TileSearch*>(QString(), Qt::FindDirectChildrenOnly)) return *search;
    return *new TileSearch(document);
}

TileSearch* TileSearch::forTiles(const std::vector<GlazeCore::TestTile>& tiles) {
    // A document's tiles stay in one place for the document's life, so their address names the document.
    for (TileSearch* search : made())
        if (&search->m_document.book().tests == &tiles) return search;
    return nullptr;
}

TileSearch::TileSearch(BookDocument& document) : QObject(&document), m_document(document) {
    made().push_back(this);
    follow();
}

TileSearch::~TileSearch() {
    std::erase(made(), this);
}

std::vector<std::uint32_t> TileSearch::rows(std::string_view query, const std::optional<std::string>& cone,
                                            const std::optional<std::string>& atmosphere) {
    if (!m_namesKnown) {
        m_names = GlazeCore::TestSearch::materialNames(m_document.library());
        m_namesKnown = true;
    }
    const GlazeCore::GlazeBook& book = m_document.book();
    return m_cache.search(book.tests, book.recipes, m_names, query, cone, atmosphere,
                          QTimeZone::systemTimeZoneId().toStdString(), QLocale().name().toStdString());
}

void TileSearch::follow() {
    BookDocument* document = &m_document;
    connect(document, &BookDocument::tileChanged, this,
            [this](const GlazeCore::Uuid&, int row, TileField) { m_cache.tileChanged(std::size_t(row)); });
    connect(document, &BookDocument::testsInserted, this,
            [this](int first, int last) { m_cache.tilesInserted(std::size_t(first), std::size_t(last - first + 1)); });
    connect(document, &BookDocument::testsRemoved, this,
            [this](int first, int last) { m_cache.tilesRemoved(std::size_t(first), std::size_t(last - first + 1)); });
    connect(document, &BookDocument::testsMoved, this, [this](const RowMove& move, bool reversed) {
        // Where each tile now in the list stood before this change.
        std::vector<std::size_t> oldRows(m_document.book().tests.size());
        for (std::size_t row = 0; row < oldRows.size(); ++row)
            oldRows[row] = reversed ? move.newRow(row) : move.oldRow(row);
        m_cache.tilesMoved(oldRows);
    });
    connect(document, &BookDocument::recipeEdited, this,
            [this](const GlazeCore::Uuid& recipeID) { m_cache.recipeChanged(recipeID); });
    const auto recipesChanged = [this] { m_cache.recipesChanged(); };
    connect(document, &BookDocument::recipesInserted, this, recipesChanged);
    connect(document, &BookDocument::recipesRemoved, this, recipesChanged);
    connect(document, &BookDocument::recipesMoved, this, recipesChanged);
    connect(document, &BookDocument::libraryChanged, this, [this] {
        m_namesKnown = false;
        m_cache.materialNamesChanged();
    });
    connect(document, &BookDocument::reset, this, [this] {
        m_namesKnown = false;
        m_cache.reset();
    });
}

} // namespace Orza
