// The test log's search runs on every keystroke: a three-word query over 1,000, 10,000 and 100,000 tiles (one
// recipe per hundred tiles). The cached search folds each tile once and answers with rows; a keystroke is that
// search plus the list of matching tile ids a table model takes. The cache remembers its answers until the book
// changes, so each timed search follows a change of one tile, as a search the user has not asked before does.
// Aims at 100,000 tiles: search under 8 ms, a keystroke under 10 ms.
#include "BenchBooks.h"

#include "GlazeCore/book/OrtonCones.h"
#include "GlazeCore/library/BundledLibrary.h"
#include "GlazeCore/search/TestSearch.h"
#include "GlazeCore/search/TestSearchCache.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace GlazeCore;

namespace {

const std::vector<std::string> words{"glossy", "satin", "matte",    "pinholes", "crawled",  "crazing", "runny",
                                     "thin",   "thick", "blue",     "amber",    "celadon",  "shino",   "tenmoku",
                                     "rim",    "foot",  "vertical", "speckled", "breaking", "hold"};
constexpr std::string_view query = "satin Pinholes 2024";
const std::string zone = "Europe/Berlin";
const std::string locale = "de_DE";

struct Log {
    std::vector<Recipe> recipes;
    std::vector<TestTile> tiles;
    TestSearch::MaterialNames names;
};

// Accented notes (every fourth tile when asked) take the full Unicode fold instead of the ASCII path.
Log makeLog(std::size_t tileCount, bool accentedNotes) {
    std::mt19937_64 random(1106);
    const BundledLibrary library = BundledLibrary::load();
    Log log;
    log.names = TestSearch::materialNames(library);
    const auto& materials = library.all();
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };

    const std::size_t recipeCount = std::max<std::size_t>(tileCount / 100, 10);
    for (std::size_t r = 0; r < recipeCount; ++r) {
        Recipe recipe{Uuid::random(),
                      words[pick(words.size())] + " " + words[pick(words.size())] + " " + std::to_string(r),
                      "6",
                      {},
                      "notes"};
        for (int l = 0; l < 8; ++l)
            recipe.lines.push_back({Uuid::random(), materials[pick(materials.size())].id, 10, l == 7});
        log.recipes.push_back(std::move(recipe));
    }

    const auto& cones = OrtonCones::all();
    const auto start = std::chrono::sys_days{std::chrono::year{2021} / 1 / 1};
    for (std::size_t t = 0; t < tileCount; ++t) {
        TestTile tile;
        tile.id = Uuid::random();
        tile.recipeID = log.recipes[pick(recipeCount)].id;
        tile.cone = cones[pick(cones.size())];
        tile.atmosphere = pick(3) == 0 ? "Reduction" : "Oxidation";
        tile.schedule = {{150, 600, 0}, {220, 1100, 0}, {60, 1220, 10}};
        for (int w = 0; w < 14; ++w)
            tile.notes += words[pick(words.size())] + (w % 5 == 4 ? ". " : " ");
        if (accentedNotes && t % 4 == 0) tile.notes += "Fired to 1220 \u00B0C, gla\u00E7ure \u00E9paisse.";
        tile.date = std::chrono::time_point_cast<Date::duration>(start + std::chrono::hours{pick(5 * 365 * 24)});
        tile.code = "T-" + std::to_string(t + 1);
        log.tiles.push_back(std::move(tile));
    }
    return log;
}

const Log& log(std::size_t tiles, bool accented) {
    static std::map<std::pair<std::size_t, bool>, Log> made;
    auto found = made.find({tiles, accented});
    if (found == made.end()) found = made.emplace(std::pair{tiles, accented}, makeLog(tiles, accented)).first;
    return found->second;
}

using Clock = std::chrono::steady_clock;

// Time per tile, which stays flat while cost grows with the log and no faster.
void perTile(benchmark::State& state, std::size_t tiles, std::size_t found, Clock::duration elapsed) {
    state.counters["found"] = static_cast<double>(found);
    state.counters["ns_per_tile"] =
        std::chrono::duration<double, std::nano>(elapsed).count() / static_cast<double>(state.iterations() * tiles);
}

// A keystroke's search: every tile's text folded before, only the query folded now.
void searchCached(benchmark::State& state) {
    const auto tiles = static_cast<std::size_t>(state.range(0));
    const Log& l = log(tiles, state.range(1) != 0);
    TestSearchCache cache;
    cache.search(l.tiles, l.recipes, l.names, "", std::nullopt, std::nullopt, zone, locale); // the first fold
    std::size_t found = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        cache.tileChanged(0);
        const auto rows = cache.search(l.tiles, l.recipes, l.names, query, std::nullopt, std::nullopt, zone, locale);
        found = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    perTile(state, tiles, found, Clock::now() - start);
}

// The search plus what a table model takes from it: the id of each matching tile, row by row.
void keystrokeToTableRows(benchmark::State& state) {
    const auto tiles = static_cast<std::size_t>(state.range(0));
    const Log& l = log(tiles, false);
    TestSearchCache cache;
    cache.search(l.tiles, l.recipes, l.names, "", std::nullopt, std::nullopt, zone, locale);
    std::size_t found = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        cache.tileChanged(0);
        const auto rows = cache.search(l.tiles, l.recipes, l.names, query, std::nullopt, std::nullopt, zone, locale);
        std::vector<Uuid> ids;
        ids.reserve(rows.size());
        for (const std::uint32_t row : rows)
            ids.push_back(l.tiles[row].id);
        found = ids.size();
        benchmark::DoNotOptimize(ids.data());
    }
    perTile(state, tiles, found, Clock::now() - start);
}

// A tile edited while the search stands (its notes typed into), then the keystroke's search again: only that
// tile is folded anew.
void editedTileThenSearch(benchmark::State& state) {
    const auto tiles = static_cast<std::size_t>(state.range(0));
    Log l = log(tiles, false);
    TestSearchCache cache;
    cache.search(l.tiles, l.recipes, l.names, "", std::nullopt, std::nullopt, zone, locale);
    std::size_t found = 0;
    int typed = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        l.tiles[tiles / 2].notes += (++typed % 2) ? "p" : " ";
        cache.tileChanged(tiles / 2);
        const auto rows = cache.search(l.tiles, l.recipes, l.names, query, std::nullopt, std::nullopt, zone, locale);
        found = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    perTile(state, tiles, found, Clock::now() - start);
}

// The last letter of the query typed: only the rows found a keystroke before are searched.
void narrowingKeystroke(benchmark::State& state) {
    const auto tiles = static_cast<std::size_t>(state.range(0));
    const Log& l = log(tiles, false);
    TestSearchCache cache;
    const std::string_view before = query.substr(0, query.size() - 1);
    std::size_t found = 0;
    Clock::duration elapsed{};
    for (auto _ : state) {
        state.PauseTiming();
        cache.tileChanged(0);
        cache.search(l.tiles, l.recipes, l.names, before, std::nullopt, std::nullopt, zone, locale);
        state.ResumeTiming();
        const auto start = Clock::now();
        const auto rows = cache.search(l.tiles, l.recipes, l.names, query, std::nullopt, std::nullopt, zone, locale);
        elapsed += Clock::now() - start;
        found = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    perTile(state, tiles, found, elapsed);
}

// A search of a book met for the first time (TestSearch::results): every tile's text folded, and the matching
// tiles copied.
void searchUncached(benchmark::State& state) {
    const auto tiles = static_cast<std::size_t>(state.range(0));
    const Log& l = log(tiles, state.range(1) != 0);
    std::size_t found = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        const auto results =
            TestSearch::results(l.tiles, l.recipes, l.names, query, std::nullopt, std::nullopt, zone, locale);
        found = results.size();
        benchmark::DoNotOptimize(results.data());
    }
    perTile(state, tiles, found, Clock::now() - start);
}

void sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"tiles", "accentedNotes"});
    for (const long tiles : Bench::sizes)
        benchmark->Args({tiles, 0});
    benchmark->Unit(benchmark::kMillisecond);
}

void sizesAndAccents(benchmark::internal::Benchmark* benchmark) {
    sizes(benchmark);
    benchmark->Args({Bench::sizes[2], 1});
}

} // namespace

BENCHMARK(searchCached)->Apply(sizesAndAccents);
BENCHMARK(keystrokeToTableRows)->Apply(sizes);
BENCHMARK(editedTileThenSearch)->Apply(sizes);
BENCHMARK(narrowingKeystroke)->Apply(sizes);
BENCHMARK(searchUncached)->Apply(sizesAndAccents);

BENCHMARK_MAIN();
