#pragma once

#include "GlazeCore/book/TestSearch.h"
#include "GlazeCore/book/TestSearchCache.h"

#include <QObject>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Orza {

class BookDocument;

/**
 * The test log's search over one open book, kept from keystroke to keystroke: each tile's folded text stays
 * until the document says the tile changed, each recipe's until the recipe or the custom materials change, so
 * a keystroke folds only the query and answers with rows, not copies of tiles.
 *
 * One per document, made on first use by of() and living as long as the document; the Tests page and
 * WindowModel::filteredTests share it. It follows the document's change signals itself, so whatever asks it for
 * rows from a slot of those signals makes it (of()) before connecting that slot: it then hears of a change
 * first. Main thread only.
 */
class TileSearch final : public QObject {
    Q_OBJECT
public:
    /// The document's search, made on first use.
    static TileSearch& of(BookDocument& document);
    ~TileSearch() override;
    /// The search already made for the document that holds these tiles, if any.
    static TileSearch* forTiles(const std::vector<GlazeCore::TestTile>& tiles);

    /// The rows of the book's tiles that match the query and the filters, in book order, searched with the
    /// user's current calendar and locale. An empty query and no filters match every tile.
    std::vector<std::uint32_t> rows(std::string_view query, const std::optional<std::string>& cone,
                                    const std::optional<std::string>& atmosphere);

    const BookDocument& document() const { return m_document; }

private:
    explicit TileSearch(BookDocument& document);
    void follow();

    BookDocument& m_document;
    GlazeCore::TestSearchCache m_cache;
    GlazeCore::TestSearch::MaterialNames m_names;
    bool m_namesKnown = false;
};

} // namespace Orza
