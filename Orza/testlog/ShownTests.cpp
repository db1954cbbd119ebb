#include "Orza/testlog/ShownTests.h"

#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/testlog/TileSearchCache.h"

namespace Orza {

std::vector<GlazeCore::TestTile> shownTests(BookDocument& document, const WindowModel& model) {
    const std::vector<GlazeCore::TestTile>& tiles = document.book().tests;
    if (!model.isFiltering()) return tiles;
    std::vector<GlazeCore::TestTile> shown;
    for (const std::uint32_t position :
         TileSearchCache::of(document).search({model.testQuery(), model.testCone(), model.testAtmosphere()}))
        shown.push_back(tiles[position]);
    return shown;
}

} // namespace Orza
