// Typing into one amount of a 10,000-line recipe in a book at the file's limits: the edit, its signals and
// the sidebar row that follows it, the undo memory of the burst, and undoing it.

#include "GlazeCore/book/GlazeBookValidation.h"
#include "Orza/document/BookDocument.h"
#include "Orza/sidebar/SidebarModel.h"

#include <QApplication>
#include <QUndoStack>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t longRecipeLines = 10'000;
constexpr int keystrokes = 50;

GlazeCore::GlazeBook fullBook() {
    const auto count = std::size_t(GlazeCore::GlazeBookValidation::maxItems);
    const char* materials[] = {"potash-feldspar", "whiting", "kaolin", "silica", "talc"};
    GlazeCore::GlazeBook book;
    book.recipes.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        GlazeCore::Recipe recipe{GlazeCore::Uuid::random(), std::to_string(i), "6", {}, ""};
        const std::size_t lines = i == count - 2 ? longRecipeLines : 10;
        for (std::size_t j = 0; j < lines; ++j)
            recipe.lines.push_back({GlazeCore::Uuid::random(), materials[j % 5], 10, j % 10 == 9});
        book.recipes.push_back(std::move(recipe));
    }
    book.tests.reserve(count);
    const std::vector<GlazeCore::FiringSegment> schedule{{150, 600, 0}, {220, 1100, 0}, {60, 1220, 10}};
    for (std::size_t i = 0; i < count; ++i)
        book.tests.push_back({GlazeCore::Uuid::random(),
                              book.recipes[i].id,
                              "6",
                              "Oxidation",
                              schedule,
                              "",
                              std::nullopt,
                              {},
                              "T-" + std::to_string(i + 1)});
    book.nextTileNumber = std::int64_t(count) + 1;
    return book;
}

/// The book, a sidebar over it that draws the row it is told changed, and the line being typed into.
struct Typing {
    Orza::BookDocument document{Orza::GlazeDocument::make(fullBook(), false)};
    Orza::SidebarModel sidebar{document};
    GlazeCore::Uuid recipeID = document.book().recipes[document.book().recipes.size() - 2].id;
    GlazeCore::Uuid lineID = document.book().recipes[document.book().recipes.size() - 2].lines[5000].id;

    int rowsDrawn = 0;

    Typing() {
        // What a sidebar view does with a changed row: asks for its dot again.
        QObject::connect(&sidebar, &QAbstractItemModel::dataChanged, &sidebar, [this](const QModelIndex& changed) {
            ++rowsDrawn;
            benchmark::DoNotOptimize(changed.data(Qt::DecorationRole));
        });
    }

    /// The value after each keystroke of a burst: every one a new amount.
    static double typed(int keystroke) { return 10 + 0.01 * (keystroke + 1); }
};

Typing& typing() {
    static Typing shared;
    return shared;
}

// Live bytes of everything made with new, counted as it is made and freed.
std::atomic<std::size_t> liveBytes{0};

std::size_t heapInUse() {
    return liveBytes.load();
}

/// One keystroke: the amount written through the document, its signals and the sidebar row.
void BM_Keystroke(benchmark::State& state) {
    Typing& t = typing();
    int keystroke = 0;
    t.rowsDrawn = 0;
    for (auto _ : state) {
        if (keystroke == keystrokes) {
            state.PauseTiming();
            t.document.undoStack()->undo(); // a fresh burst each 50 keystrokes, so the stack stays small
            t.document.endEditBurst();
            keystroke = 0;
            state.ResumeTiming();
        }
        t.document.setLineAmount(t.recipeID, t.lineID, Typing::typed(keystroke++));
    }
    state.counters["rowsDrawnPerKeystroke"] =
        benchmark::Counter(double(t.rowsDrawn), benchmark::Counter::kAvgIterations);
}

/// The undo memory of a burst of 50 keystrokes, and undoing the burst in one step.
void BM_UndoBurst(benchmark::State& state) {
    Typing& t = typing();
    std::size_t grown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        t.document.undoStack()->clear(); // nothing kept from the last round, so the growth is this burst's
        t.document.endEditBurst();
        const std::size_t before = heapInUse();
        for (int k = 0; k < keystrokes; ++k)
            t.document.setLineAmount(t.recipeID, t.lineID, Typing::typed(k) + 0.5);
        grown = heapInUse() - before;
        state.ResumeTiming();
        t.document.undoStack()->undo();
    }
    state.counters["undoBytesPerBurst"] = double(grown);
}

} // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    liveBytes += malloc_usable_size(block);
    return block;
}

void operator delete(void* block) noexcept {
    if (!block) return;
    liveBytes -= malloc_usable_size(block);
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoBurst)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv); // the sidebar draws icons
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
