#include "GlazeCore/library/BundledLibrary.h"
#include "GlazeCore/reformulate/Adjustment.h"
#include "GlazeCore/reformulate/OxideNudge.h"
#include "GlazeCore/reformulate/ReformulateLeastSquares.h"
#include "GlazeCore/reformulate/ReplaceMaterial.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

using namespace GlazeCore;

namespace {

// Formatted by hand: GCC 12 warns falsely on string concatenation here at -O3.
std::string blendID(std::size_t i) {
    char text[32];
    std::snprintf(text, sizeof text, "blend-%zu", i);
    return text;
}

/// The shipped materials plus blends of pairs of them, so that a recipe can hold 100 distinct materials
/// with realistic analyses.
const BundledLibrary& library() {
    static const BundledLibrary lib = [] {
        const BundledLibrary shipped = BundledLibrary::load();
        std::vector<Material> all = shipped.all();
        const std::size_t count = all.size();
        for (std::size_t i = 0; i < 120; ++i) {
            const Material& a = all[i % count];
            const Material& b = all[(i * 7 + 3) % count];
            const double f = 0.2 + 0.6 * static_cast<double>((i * 37) % 100) / 100;
            Material blend{blendID(i), blendID(i), {}, 0, ""};
            for (const auto& [oxide, percent] : a.analysis)
                blend.analysis[oxide] += f * percent;
            for (const auto& [oxide, percent] : b.analysis)
                blend.analysis[oxide] += (1 - f) * percent;
            all.push_back(std::move(blend));
        }
        return BundledLibrary(std::move(all));
    }();
    return lib;
}

/// A glaze of `count` distinct base materials: a cone 6 base first, then blends; one addition at the end.
Recipe recipeOf(std::size_t count) {
    static const char* const base[] = {"potash-feldspar",
                                       "silica",
                                       "whiting",
                                       "kaolin",
                                       "talc",
                                       "wollastonite",
                                       "zinc-oxide",
                                       "frit-generic-calcium-borate"};
    Recipe r{Uuid::random(), "Bench", "6", {}, ""};
    for (std::size_t i = 0; i < count; ++i) {
        const std::string id = i < 8 ? std::string(base[i]) : blendID(i - 8);
        r.lines.push_back(
            {Uuid::random(), id, i < 8 ? 10.0 + static_cast<double>(i) : 1.0 + static_cast<double>(i % 5), false});
    }
    r.lines.push_back({Uuid::random(), "red-iron-oxide", 2, true});
    return r;
}

void oxideNudge(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    const Recipe r = recipeOf(count);
    const double cao = Reformulate::baseChemistry(r, library()).umf.at(Oxide::CaO);
    if (Reformulate::baseMaterialIDs(r, library(), {}).size() != count) state.SkipWithError("wrong candidate count");
    for (auto _ : state)
        benchmark::DoNotOptimize(Reformulate::oxideNudge(r, Oxide::CaO, cao + Reformulate::nudgeStep, library(), {}));
}
BENCHMARK(oxideNudge)->Arg(8)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);

// Replaces the feldspar by a material outside the recipe, so the candidate count stays the same.
void replaceMaterial(benchmark::State& state) {
    const Recipe r = recipeOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Reformulate::replaceMaterial(r, "potash-feldspar", "nepheline-syenite", library()));
}
BENCHMARK(replaceMaterial)->Arg(8)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
