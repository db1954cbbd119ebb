// One recipe edit through the document, and its undo, in a book at the file's limits.

#include "GlazeCore/book/GlazeBookValidation.h"
#include "Orza/document/BookDocument.h"
#include "Orza/document/RecipeBinding.h"
#include "Orza/models/SidebarModel.h"

#include <QUndoStack>

#include <benchmark/benchmark.h>

namespace {

GlazeCore::GlazeBook fullBook() {
    const auto count = std::size_t(GlazeCore::GlazeBookValidation::maxItems);
    GlazeCore::GlazeBook book;
    book.recipes.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        GlazeCore::Recipe recipe{GlazeCore::Uuid::random(), std::to_string(i), "6", {}, ""};
        for (const char* material : {"potash-feldspar", "whiting", "kaolin", "silica"})
            recipe.lines.push_back({GlazeCore::Uuid::random(), material, 25, false});
        book.recipes.push_back(std::move(recipe));
    }
    book.tests.reserve(count);
    const std::vector<GlazeCore::FiringSegment> schedule{{150, 600, 0}, {220, 1100, 0}, {60, 1220, 10}};
    for (std::size_t i = 0; i < count; ++i) {
        std::string code = std::to_string(i + 1);
        code.insert(0, "T-");
        book.tests.push_back({GlazeCore::Uuid::random(),
                              book.recipes[i].id,
                              std::string(1, '6'),
                              std::string("Oxidation"),
                              schedule,
                              std::string(),
                              std::nullopt,
                              {},
                              std::move(code)});
    }
    book.nextTileNumber = std::int64_t(count) + 1;
    return book;
}

/// Edits a recipe near the end of the book (the worst case for finding it by id), then undoes the edit.
void editAndUndo(benchmark::State& state, bool withSidebar) {
    Orza::BookDocument document(Orza::GlazeDocument::make(fullBook(), false));
    std::unique_ptr<Orza::SidebarModel> sidebar;
    if (withSidebar) sidebar = std::make_unique<Orza::SidebarModel>(document);
    const auto& recipes = document.book().recipes;
    const Orza::RecipeBinding binding(document, recipes[recipes.size() - 2].id);
    double amount = 25;
    for (auto _ : state) {
        GlazeCore::Recipe edited = binding.get();
        amount += 1;
        edited.lines[1].amount = amount;
        if (!binding.set(edited)) state.SkipWithError("the edit was not stored");
        document.undoStack()->undo();
    }
    benchmark::DoNotOptimize(document.book().recipes.back());
}

void BM_RecipeEditAndUndo(benchmark::State& state) {
    editAndUndo(state, false);
}

void BM_RecipeEditAndUndoWithSidebar(benchmark::State& state) {
    editAndUndo(state, true);
}

} // namespace

BENCHMARK(BM_RecipeEditAndUndo)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecipeEditAndUndoWithSidebar)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
