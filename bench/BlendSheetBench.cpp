// "Add Tiles to Book" of a 10 × 10 grid with the blend sheet open over its book window, and undoing it: the
// new recipes and coded test tiles written into the book, the sheet's tiles and cards made again, and the
// window's sidebar and pane brought up to date. On the sample book and on a book of 1,000 recipes and tiles.
// Aim: each under 100 ms.

#include "BenchBooks.h"
#include "WindowBenchMain.h"

#include "GlazeCore/book/SampleBook.h"
#include "Orza/blends/BlendSheet.h"
#include "Orza/document/BookDocument.h"
#include "Orza/window/BookWindow.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

GlazeCore::GlazeBook bookOf(long items) {
    return items == 0 ? GlazeCore::SampleBook::makeBook() : Bench::makeBook(std::size_t(items));
}

/// A shown book window with the blend sheet up in grid mode, 10 rows by 10 columns.
struct OpenSheet {
    std::unique_ptr<Orza::BookWindow> window;
    Orza::BlendSheet* sheet = nullptr;

    explicit OpenSheet(long items) {
        window = std::make_unique<Orza::BookWindow>(
            std::make_unique<Orza::BookDocument>(Orza::GlazeDocument::make(bookOf(items), false)));
        window->show();
        QCoreApplication::processEvents();
        const GlazeCore::Uuid start = window->document()->book().recipes.front().id;
        sheet = Orza::BlendSheet::open(window->paneContext(), start, Orza::BlendMode::grid);
        sheet->setRows(10);
        sheet->setColumns(10);
        QCoreApplication::processEvents();
    }

    QUndoStack& undoStack() const { return *window->document()->undoStack(); }
    /// The button pressed, and what the press posted handled as the event loop would.
    void add() const {
        sheet->addButton()->click();
        QCoreApplication::processEvents();
    }
    void undo() const {
        undoStack().undo();
        QCoreApplication::processEvents();
    }
};

void reportTiles(benchmark::State& state, const OpenSheet& open) {
    state.counters["tiles"] = double(open.sheet->tiles().size());
    if (open.sheet->tiles().size() != 100) state.SkipWithError("not a 10 x 10 grid");
}

void BM_AddTenByTenGrid(benchmark::State& state) {
    OpenSheet open(state.range(0));
    reportTiles(state, open);
    for (auto _ : state) {
        open.add();
        state.PauseTiming();
        open.undo();
        state.ResumeTiming();
    }
}

void BM_UndoTenByTenGrid(benchmark::State& state) {
    OpenSheet open(state.range(0));
    reportTiles(state, open);
    for (auto _ : state) {
        state.PauseTiming();
        open.add();
        state.ResumeTiming();
        open.undo();
    }
}

} // namespace

// Argument: 0 for the sample book, else the number of recipes and tiles of the book.
BENCHMARK(BM_AddTenByTenGrid)->Arg(0)->Arg(1'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoTenByTenGrid)->Arg(0)->Arg(1'000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return Bench::runWithWindows(argc, argv);
}
