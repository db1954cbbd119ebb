// The Tests page of a book window over 100,000 tiles of 1,000 recipes: a keystroke in the search field with
// everything that follows it (the search, the table's rows, the selection, the count, Find Test by code),
// clearing the search, opening the page, and typing in the notes of a tile while a search is on.
// Aim: a keystroke that narrows the 100,000 tiles under 10 ms, the model update included.

#include "WindowBenchMain.h"

#include "GlazeCore/book/OrtonCones.h"
#include "GlazeCore/library/BundledLibrary.h"
#include "GlazeCore/tilecode/TileCode.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/testlog/TestLogModel.h"
#include "Orza/testlog/TestLogPage.h"
#include "Orza/testlog/TestSearchBar.h"
#include "Orza/testlog/TileSearchCache.h"
#include "Orza/window/BookWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <random>

namespace {

constexpr std::size_t tileCount = 100'000;
constexpr std::size_t recipeCount = 1'000;

const std::vector<std::string> words{"glossy", "satin", "matte",    "pinholes", "crawled",  "crazing", "runny",
                                     "thin",   "thick", "blue",     "amber",    "celadon",  "shino",   "tenmoku",
                                     "rim",    "foot",  "vertical", "speckled", "breaking", "hold"};

// Every fourth tile's notes hold accented words, which take the full Unicode fold.
GlazeCore::GlazeBook bigBook() {
    std::mt19937_64 random(7101);
    const auto pick = [&](std::size_t n) { return std::size_t(random() % n); };
    const GlazeCore::BundledLibrary library = GlazeCore::BundledLibrary::load();
    const auto& materials = library.all();
    GlazeCore::GlazeBook book;
    for (std::size_t r = 0; r < recipeCount; ++r) {
        GlazeCore::Recipe recipe{GlazeCore::Uuid::random(),
                                 words[pick(words.size())] + " " + words[pick(words.size())] + " " + std::to_string(r),
                                 "6",
                                 {},
                                 ""};
        for (int l = 0; l < 8; ++l)
            recipe.lines.push_back({GlazeCore::Uuid::random(), materials[pick(materials.size())].id, 10, l == 7});
        book.recipes.push_back(std::move(recipe));
    }
    const auto& cones = GlazeCore::OrtonCones::all();
    const auto start = std::chrono::sys_days{std::chrono::year{2021} / 1 / 1};
    for (std::size_t t = 0; t < tileCount; ++t) {
        GlazeCore::TestTile tile;
        tile.id = GlazeCore::Uuid::random();
        tile.recipeID = book.recipes[pick(recipeCount)].id;
        tile.cone = cones[pick(cones.size())];
        tile.atmosphere = pick(3) == 0 ? "Reduction" : "Oxidation";
        tile.schedule = {{150, 600, 0}, {220, 1100, 0}, {60, 1220, 10}};
        for (int w = 0; w < 14; ++w)
            tile.notes += words[pick(words.size())] + (w % 5 == 4 ? ". " : " ");
        if (t % 4 == 0) tile.notes += "Fired to 1220 \u00B0C, gla\u00E7ure \u00E9paisse.";
        tile.date =
            std::chrono::time_point_cast<GlazeCore::Date::duration>(start + std::chrono::hours{pick(5 * 365 * 24)});
        tile.code = GlazeCore::TileCode::defaultCode(std::int64_t(t + 1));
        book.tests.push_back(std::move(tile));
    }
    book.nextTileNumber = std::int64_t(tileCount) + 1;
    return book;
}

/// A shown book window on its Tests page, its search texts built (as idle time builds them).
struct Shown {
    std::unique_ptr<Orza::BookWindow> window;
    Orza::TestLogPage* page = nullptr;
    QLineEdit* field = nullptr;
    GlazeCore::Uuid editedTile;
    int edits = 0;

    Shown() {
        window = std::make_unique<Orza::BookWindow>(
            std::make_unique<Orza::BookDocument>(Orza::GlazeDocument::make(bigBook(), false)));
        // Shown first: on its first show a window picks its own selection.
        window->show();
        QCoreApplication::processEvents();
        window->model()->setSelection(Orza::SidebarItem::tests());
        QCoreApplication::processEvents();
        page = qobject_cast<Orza::TestLogPage*>(window->detail());
        field = page->searchBar()->searchField();
        editedTile = window->document()->book().tests[tileCount / 2].id;
        auto& cache = Orza::TileSearchCache::of(*window->document());
        while (cache.buildAhead(std::chrono::milliseconds(100))) {
        }
        QCoreApplication::processEvents();
    }

    /// An edit of one tile: the book changed, so no earlier search answers the next one.
    void forgetSearches() { window->document()->setTileNotes(editedTile, ++edits % 2 ? "kiln shelf" : "kiln wash"); }

    /// Types `text` as the field's new text, and lets the window catch up.
    void type(const QString& text) {
        field->setText(text);
        QCoreApplication::processEvents();
    }
};

// Made on first use, and gone before the application: a window outliving it ends the program at exit.
std::unique_ptr<Shown> shared;

Shown& shown() {
    if (!shared) shared = std::make_unique<Shown>();
    return *shared;
}

/// One more letter on a word typed a moment ago: the earlier word's tiles are searched, not all of them.
void BM_NarrowingKeystroke(benchmark::State& state) {
    Shown& s = shown();
    std::size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.type(QString());
        s.forgetSearches();
        s.type(QStringLiteral("satin pinhole"));
        state.ResumeTiming();
        s.type(QStringLiteral("satin pinholes"));
        rows = std::size_t(s.page->tableModel()->rowCount());
    }
    state.counters["rows"] = double(rows);
}

/// The first letter into an empty field: every tile is searched.
void BM_FirstKeystroke(benchmark::State& state) {
    Shown& s = shown();
    std::size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.type(QString());
        s.forgetSearches();
        state.ResumeTiming();
        s.type(QStringLiteral("p"));
        rows = std::size_t(s.page->tableModel()->rowCount());
    }
    state.counters["rows"] = double(rows);
}

/// Three words pasted at once: nothing earlier helps, every tile is searched for every word it may hold.
void BM_PastedThreeWords(benchmark::State& state) {
    Shown& s = shown();
    std::size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.type(QString());
        s.forgetSearches();
        state.ResumeTiming();
        s.type(QStringLiteral("satin pinholes 2024"));
        rows = std::size_t(s.page->tableModel()->rowCount());
    }
    state.counters["rows"] = double(rows);
}

/// A code typed to its last digit: Find Test selects the tile while the table narrows to it.
void BM_CodeKeystroke(benchmark::State& state) {
    Shown& s = shown();
    std::size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.type(QString());
        s.forgetSearches();
        s.type(QStringLiteral("T-0500"));
        state.ResumeTiming();
        s.type(QStringLiteral("T-05000"));
        rows = std::size_t(s.page->tableModel()->rowCount());
    }
    state.counters["rows"] = double(rows);
}

/// Clearing a search: all 100,000 tiles back in the table.
void BM_ClearSearch(benchmark::State& state) {
    Shown& s = shown();
    for (auto _ : state) {
        state.PauseTiming();
        s.type(QStringLiteral("satin"));
        state.ResumeTiming();
        s.type(QString());
    }
}

/// One keystroke in the notes of a tile while a search is on: its text is made again, its row checked.
void BM_NotesKeystrokeWhileSearching(benchmark::State& state) {
    Shown& s = shown();
    s.type(QStringLiteral("kiln"));
    for (auto _ : state)
        s.forgetSearches();
    s.type(QString());
}

/// One keystroke in the code field of the selected tile's editor: the typed code checked against every other
/// tile's, written, and the table and the shared-code warning brought up to date.
void BM_CodeFieldKeystroke(benchmark::State& state) {
    Shown& s = shown();
    const auto& tests = s.window->document()->book().tests;
    s.window->model()->setTestSelection(tests[tileCount / 3].id);
    QCoreApplication::processEvents();
    QLineEdit* code = nullptr;
    for (QLineEdit* field : s.page->findChildren<QLineEdit*>())
        if (field->accessibleName() == QStringLiteral("Tile code")) code = field;
    code->setFocus();
    code->end(false);
    int writes = 0;
    const auto counting = QObject::connect(s.window->document(), &Orza::BookDocument::tileChanged,
                                           [&writes](const GlazeCore::Uuid&, int, Orza::TileField) { ++writes; });
    bool typed = false;
    for (auto _ : state) {
        // A letter makes a code no other tile has; erasing it gives the tile its own code back.
        typed = !typed;
        QKeyEvent press(QEvent::KeyPress, typed ? Qt::Key_X : Qt::Key_Backspace, Qt::NoModifier,
                        typed ? QStringLiteral("x") : QString());
        QCoreApplication::sendEvent(code, &press);
        QCoreApplication::processEvents();
    }
    QObject::disconnect(counting);
    state.counters["writes"] = double(writes) / double(state.iterations());
}

/// Another tile selected: the table's selection and a new editor for the tile, laid out as the event loop
/// would (most of the cost of a code that selects its tile as it is typed).
void BM_SelectTile(benchmark::State& state) {
    Shown& s = shown();
    const auto& tests = s.window->document()->book().tests;
    std::size_t i = 0;
    for (auto _ : state) {
        s.window->model()->setTestSelection(tests[++i % 2 ? 10 : tileCount - 10].id);
        // The events the selection posted are handled, and the editor left behind goes, as the event loop would
        // take them: left waiting, they pile up and make every later deletion slower.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

/// The page made afresh, as when the sidebar switches to it.
void BM_OpenPage(benchmark::State& state) {
    Shown& s = shown();
    for (auto _ : state) {
        auto* page = new Orza::TestLogPage(s.window->paneContext());
        delete page;
    }
}

/// Every tile's search text made from nothing, as after opening a book or changing the locale.
void BM_BuildAllTexts(benchmark::State& state) {
    Shown& s = shown();
    auto& cache = Orza::TileSearchCache::of(*s.window->document());
    bool english = true;
    for (auto _ : state) {
        QLocale::setDefault(QLocale(english ? QStringLiteral("en_GB") : QStringLiteral("en_US")));
        english = !english;
        while (cache.buildAhead(std::chrono::seconds(10))) {
        }
    }
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    while (cache.buildAhead(std::chrono::seconds(10))) {
    }
}

} // namespace

BENCHMARK(BM_NarrowingKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PastedThreeWords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NotesKeystrokeWhileSearching)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeFieldKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectTile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildAllTexts)->Unit(benchmark::kMillisecond)->Iterations(4);

int main(int argc, char** argv) {
    return Bench::runWithWindows(argc, argv, QStringLiteral("en_US"), [] { shared.reset(); });
}
