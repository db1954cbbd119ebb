// One refresh of the Oxide Nudge sheet per typed target: the base chemistry, the solve and the summary's
// rows, texts and chart, for recipes of 8 and of 100 base materials.

#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/reformulate/OxideNudgeSheet.h"
#include "Orza/widgets/LiveNumberField.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

std::string blendID(std::size_t i) {
    char text[40];
    std::snprintf(text, sizeof text, "custom-blend-%zu", i);
    return text;
}

/// Custom materials made as blends of pairs of the built-in ones, so that a recipe can hold 100 distinct
/// materials with realistic analyses.
std::vector<GlazeCore::Material> blends() {
    const std::vector<GlazeCore::Material>& shipped = Orza::BookLibrary::bundledMaterials().materials;
    std::vector<GlazeCore::Material> made;
    for (std::size_t i = 0; i < 100; ++i) {
        const GlazeCore::Material& a = shipped[i % shipped.size()];
        const GlazeCore::Material& b = shipped[(i * 7 + 3) % shipped.size()];
        const double f = 0.2 + 0.6 * double((i * 37) % 100) / 100;
        GlazeCore::Material blend{blendID(i), blendID(i), {}, 0, ""};
        for (const auto& [oxide, percent] : a.analysis)
            blend.analysis[oxide] += f * percent;
        for (const auto& [oxide, percent] : b.analysis)
            blend.analysis[oxide] += (1 - f) * percent;
        made.push_back(std::move(blend));
    }
    return made;
}

GlazeCore::GlazeBook bookOf(std::size_t count) {
    static const char* const base[] = {"potash-feldspar",
                                       "silica",
                                       "whiting",
                                       "kaolin",
                                       "talc",
                                       "wollastonite",
                                       "zinc-oxide",
                                       "frit-generic-calcium-borate"};
    GlazeCore::Recipe recipe{GlazeCore::Uuid::random(), "Bench", "6", {}, ""};
    for (std::size_t i = 0; i < count; ++i) {
        const std::string id = i < 8 ? std::string(base[i]) : blendID(i - 8);
        recipe.lines.push_back({GlazeCore::Uuid::random(), id, i < 8 ? 10.0 + double(i) : 1.0 + double(i % 5), false});
    }
    recipe.lines.push_back({GlazeCore::Uuid::random(), "rutile", 4, true});
    GlazeCore::GlazeBook book;
    book.recipes.push_back(std::move(recipe));
    book.customMaterials = blends();
    return book;
}

void BM_NudgeSheetRefreshPerTypedTarget(benchmark::State& state) {
    Orza::BookDocument document(Orza::GlazeDocument::make(bookOf(std::size_t(state.range(0))), false));
    const GlazeCore::Uuid id = document.book().recipes[0].id;
    Orza::OxideNudgeSheet sheet(document, id, GlazeCore::Oxide::Al2O3, 0.3, {});
    if (state.range(1) != 0) sheet.show();
    const int solvesBefore = sheet.solveCount();
    int keystroke = 0;
    for (auto _ : state) {
        // What the target field sends for each typed digit: a new value, then one solve and summary.
        emit sheet.targetField()->valueEdited(0.3 + 0.001 * (++keystroke % 50 + 1));
        benchmark::DoNotOptimize(sheet.adjustment());
        // Shown, the layout and the painting that follow each solve count too.
        if (state.range(1) != 0) QApplication::processEvents();
    }
    if (sheet.solveCount() - solvesBefore != keystroke) state.SkipWithError("not one solve per typed target");
    state.counters["solved"] = sheet.adjustment() ? 1 : 0;
}

} // namespace

// Arguments: base materials, and whether the sheet is on screen (laid out and painted after each solve).
BENCHMARK(BM_NudgeSheetRefreshPerTypedTarget)
    ->Args({8, 0})
    ->Args({100, 0})
    ->Args({8, 1})
    ->Args({100, 1})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
