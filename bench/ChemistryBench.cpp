#include "GlazeCore/chemistry/GlazeCalculator.h"
#include "GlazeCore/chemistry/Stull.h"
#include "GlazeCore/library/BundledLibrary.h"

#include <benchmark/benchmark.h>

using namespace GlazeCore;

namespace {

const BundledLibrary& library() {
    static const BundledLibrary shipped = BundledLibrary::load();
    return shipped;
}

// Lines cycle through the shipped materials, so a long recipe repeats each one many times.
Recipe recipeOf(std::size_t lineCount) {
    Recipe r;
    r.id = Uuid::random();
    r.name = "Bench";
    r.cone = "6";
    const auto& all = library().all();
    for (std::size_t i = 0; i < lineCount; ++i)
        r.lines.push_back({Uuid::random(), all[i % all.size()].id, 1.0 + static_cast<double>(i % 7), i % 10 == 9});
    return r;
}

void chemistryOfRecipe(benchmark::State& state) {
    const Recipe r = recipeOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(GlazeCalculator::chemistry(r, library(), true));
}
BENCHMARK(chemistryOfRecipe)->Arg(20)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMicrosecond);

// One chart raster: 360 × 200 cells over the chart's ranges.
void stullRaster(benchmark::State& state) {
    constexpr int columns = 360, rows = 200;
    const double dx = (Stull::siO2Range.upperBound - Stull::siO2Range.lowerBound) / (columns - 1);
    const double dy = (Stull::al2O3Range.upperBound - Stull::al2O3Range.lowerBound) / (rows - 1);
    for (auto _ : state) {
        int gloss = 0;
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                gloss += Stull::region(Stull::siO2Range.lowerBound + column * dx,
                                       Stull::al2O3Range.lowerBound + row * dy) == StullRegion::gloss;
        benchmark::DoNotOptimize(gloss);
    }
    state.SetItemsProcessed(state.iterations() * columns * rows);
}
BENCHMARK(stullRaster)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
