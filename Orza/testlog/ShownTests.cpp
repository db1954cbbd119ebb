#include "Orza/testlog/ShownTests.h"

#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/testlog/TileSearchCache.h"

namespace Orza {

std::vector<GlazeCore::TestTile> shownTests(BookDocument& document, const WindowModel& model) {
    const std::vector<GlazeCore::TestTile>& tiles = document.book().tests;
    if (!model.isFiltering()) return tiles;
    std::vector<GlazeCore::TestTile> shown;
    for (const std::uint32_t position : shownTestPositions(document, model))
        shown.push_back(tiles[position]);
    return shown;
}

std::vector<std::uint32_t> shownTestPositions(BookDocument& document, const WindowModel& model) {
    if (model.isFiltering())
        return TileSearchCache::of(document).search({model.testQuery(), model.testCone(), model.testAtmosphere()});
    std::vector<std::uint32_t> all(document.book().tests.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = std::uint32_t(i);
    return all;
}

} // namespace Orza
