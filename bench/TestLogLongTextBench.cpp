// The Tests page of a book with one tile whose text is long and far from ASCII: a note of 16 MiB of German prose,
// and a recipe name of 8 Mi characters mixing umlauts, CJK, emoji and combining marks. Timed: opening the page
// until every search text is made, and the first key typed into the search (which folds the recipe's name).
// Aim: both linear in the text, well under a second.

#include "WindowBenchMain.h"

#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/testlog/TestLogModel.h"
#include "Orza/testlog/TestLogPage.h"
#include "Orza/testlog/TestSearchBar.h"
#include "Orza/testlog/TileSearchCache.h"
#include "Orza/window/BookWindow.h"

#include <QCoreApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

enum Case { germanNote, mixedName };

std::string germanProse(std::size_t bytes) {
    const std::string sentence = "Die Glasur läuft über den Fuß, größere Blasen nach dem Brand bei 1220 °C; "
                                 "später überall matt, an der Kante dünn und grünlich. ";
    std::string text;
    text.reserve(bytes);
    while (text.size() + sentence.size() <= bytes)
        text += sentence;
    text.resize(bytes, ' ');
    return text;
}

// ä, 漢, an emoji and a letter with a combining acute, then a space: six characters a round.
std::string mixedText(std::size_t characters) {
    const std::string round = "\u00E4\u6F22\U0001F525a\u0301 ";
    std::string text;
    text.reserve(characters / 6 * round.size() + round.size());
    for (std::size_t made = 0; made < characters; made += 6)
        text += round;
    return text;
}

GlazeCore::GlazeBook bookOf(Case which) {
    GlazeCore::GlazeBook book;
    GlazeCore::Recipe recipe{
        GlazeCore::Uuid::random(), "Seladon", "6", {{GlazeCore::Uuid::random(), "silica", 60, false}}, ""};
    if (which == mixedName) recipe.name = mixedText(std::size_t{8} << 20);
    GlazeCore::TestTile tile;
    tile.id = GlazeCore::Uuid::random();
    tile.recipeID = recipe.id;
    tile.code = "T-001";
    tile.cone = "6";
    tile.atmosphere = "Oxidation";
    tile.notes = which == germanNote ? germanProse(std::size_t{16} << 20) : "dünn";
    book.recipes.push_back(std::move(recipe));
    book.tests.push_back(std::move(tile));
    book.nextTileNumber = 2;
    return book;
}

const GlazeCore::GlazeBook& book(Case which) {
    static const GlazeCore::GlazeBook books[] = {bookOf(germanNote), bookOf(mixedName)};
    return books[which];
}

/// A book window shown on its recipe.
std::unique_ptr<Orza::BookWindow> windowOn(Case which) {
    auto window = std::make_unique<Orza::BookWindow>(
        std::make_unique<Orza::BookDocument>(Orza::GlazeDocument::make(book(which), false)));
    window->show();
    QCoreApplication::processEvents();
    return window;
}

/// Goes to the Tests page and waits until every tile's search text is made, as idle time makes them.
Orza::TestLogPage* openTests(Orza::BookWindow& window) {
    window.model()->setSelection(Orza::SidebarItem::tests());
    QCoreApplication::processEvents();
    auto& cache = Orza::TileSearchCache::of(*window.document());
    while (cache.buildAhead(std::chrono::milliseconds(100))) {
    }
    QCoreApplication::processEvents();
    return qobject_cast<Orza::TestLogPage*>(window.detail());
}

void BM_OpenTestsPage(benchmark::State& state, Case which) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = windowOn(which);
        state.ResumeTiming();
        benchmark::DoNotOptimize(openTests(*window));
        state.PauseTiming();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

void BM_FirstSearchKeystroke(benchmark::State& state, Case which) {
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = windowOn(which);
        Orza::TestLogPage* page = openTests(*window);
        state.ResumeTiming();
        page->searchBar()->searchField()->setText(QStringLiteral("d"));
        QCoreApplication::processEvents();
        rows = page->tableModel()->rowCount();
        state.PauseTiming();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
}

} // namespace

// One run each: a window of these books takes long to make, and a slow run shows in one.
BENCHMARK_CAPTURE(BM_OpenTestsPage, german_note_16MiB, germanNote)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenTestsPage, mixed_name_8Mi, mixedName)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstSearchKeystroke, german_note_16MiB, germanNote)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstSearchKeystroke, mixed_name_8Mi, mixedName)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return Bench::runWithWindows(argc, argv, QStringLiteral("de_DE"));
}
