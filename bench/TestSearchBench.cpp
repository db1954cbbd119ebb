// The test log's search runs on every keystroke: 100,000 tiles, a three-word query. Aim: under 30 ms.
#include "GlazeCore/book/OrtonCones.h"
#include "GlazeCore/book/TestSearch.h"
#include "GlazeCore/library/BundledLibrary.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

using namespace GlazeCore;

namespace {

constexpr std::size_t tileCount = 100'000;
constexpr std::size_t recipeCount = 1'000;

const std::vector<std::string> words{"glossy", "satin", "matte",    "pinholes", "crawled",  "crazing", "runny",
                                     "thin",   "thick", "blue",     "amber",    "celadon",  "shino",   "tenmoku",
                                     "rim",    "foot",  "vertical", "speckled", "breaking", "hold"};

struct Log {
    std::vector<Recipe> recipes;
    std::vector<TestTile> tiles;
    TestSearch::MaterialNames names;
};

// Accented notes (every fourth tile when asked) take the full Unicode fold instead of the ASCII path.
Log makeLog(bool accentedNotes) {
    std::mt19937_64 random(1106);
    const BundledLibrary library = BundledLibrary::load();
    Log log;
    log.names = TestSearch::materialNames(library);
    const auto& materials = library.all();
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };

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

void searchThreeWords(benchmark::State& state) {
    const Log log = makeLog(state.range(0) != 0);
    std::size_t found = 0;
    for (auto _ : state) {
        const auto results = TestSearch::results(log.tiles, log.recipes, log.names, "satin Pinholes 2024", std::nullopt,
                                                 std::nullopt, "Europe/Berlin", "de_DE");
        found = results.size();
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["found"] = static_cast<double>(found);
}

} // namespace

BENCHMARK(searchThreeWords)->ArgName("accentedNotes")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
