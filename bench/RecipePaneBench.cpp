// One keystroke in an amount of a 10,000-line recipe, in a book of 100,000 recipes and 100,000 tiles:
// through the lines model, the document, the chemistry, the panel and the chart.

#include "GlazeCore/book/GlazeBookValidation.h"
#include "Orza/chemistry/StullChartView.h"
#include "Orza/chemistry/StullPlot.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/recipe/RecipeLinesModel.h"
#include "Orza/recipe/RecipeLinesTable.h"
#include "Orza/recipe/RecipePane.h"
#include "Orza/window/BookWindow.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

GlazeCore::GlazeBook fullBook() {
    const auto count = std::size_t(GlazeCore::GlazeBookValidation::maxItems);
    const char* materials[] = {"potash-feldspar", "whiting", "kaolin", "silica", "talc"};
    GlazeCore::GlazeBook book;
    book.recipes.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        GlazeCore::Recipe recipe{GlazeCore::Uuid::random(), std::to_string(i), "6", {}, ""};
        const std::size_t lines = i == count - 2 ? 10'000 : 10;
        for (std::size_t j = 0; j < lines; ++j)
            recipe.lines.push_back({GlazeCore::Uuid::random(), materials[j % 5], 10, j % 10 == 9});
        book.recipes.push_back(std::move(recipe));
    }
    book.tests.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        book.tests.push_back({GlazeCore::Uuid::random(),
                              book.recipes[i].id,
                              "6",
                              "Oxidation",
                              {{150, 600, 0}},
                              "",
                              std::nullopt,
                              {},
                              "T-" + std::to_string(i + 1)});
    book.nextTileNumber = std::int64_t(count) + 1;
    return book;
}

void BM_AmountKeystrokeThroughThePane(benchmark::State& state) {
    Orza::BookWindow window(std::make_unique<Orza::BookDocument>(Orza::GlazeDocument::make(fullBook(), false)));
    window.resize(1320, 780);
    window.show();
    const auto& recipes = window.document()->book().recipes;
    window.model()->setSelection(Orza::SidebarItem::recipe(recipes[recipes.size() - 2].id));
    auto* pane = qobject_cast<Orza::RecipePane*>(window.detail());
    if (!pane) {
        state.SkipWithError("no recipe pane");
        return;
    }
    QCoreApplication::processEvents();
    Orza::RecipeLinesModel& model = *pane->linesTable()->model();
    const QModelIndex amount = model.index(5000, Orza::RecipeLinesModel::amountColumn);
    double value = 10;
    for (auto _ : state) {
        value += 0.01;
        model.setData(amount, value);
        pane->refreshNow(); // the pane's coalesced update, now rather than on the next turn of the loop
        pane->chart()->plot()->repaint();
    }
}

} // namespace

BENCHMARK(BM_AmountKeystrokeThroughThePane)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
