// The Materials page over a book at the file's limits (100,000 recipes of 10 lines, 100,000 custom
// materials): choosing a material (its editor and the in-use scan), one keystroke in an oxide field with
// everything that follows it, a refused delete naming the recipes, and a search of the custom list.
// Aims: each well under a frame's 16 ms, except what the book's library costs to build again.

#include "WindowBenchMain.h"

#include "GlazeCore/book/GlazeBookValidation.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/library/BookLibrary.h"
#include "Orza/materials/CustomMaterialEditor.h"
#include "Orza/materials/MaterialsPage.h"
#include "Orza/platform/MessageBox.h"

#include <QUndoStack>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const std::size_t count = std::size_t(GlazeCore::GlazeBookValidation::maxItems);

std::string customID(std::size_t i) {
    return "custom-" + std::to_string(i);
}

GlazeCore::GlazeBook fullBook() {
    const char* builtIn[] = {"potash-feldspar", "whiting", "kaolin", "silica", "talc"};
    GlazeCore::GlazeBook book;
    book.recipes.reserve(count);
    book.customMaterials.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        GlazeCore::Recipe recipe{GlazeCore::Uuid::random(), "Recipe " + std::to_string(i), "6", {}, ""};
        for (std::size_t j = 0; j < 9; ++j)
            recipe.lines.push_back({GlazeCore::Uuid::random(), builtIn[j % 5], 10, false});
        // Every recipe uses one custom material, so each of them is in use.
        recipe.lines.push_back({GlazeCore::Uuid::random(), customID(i), 2, true});
        book.recipes.push_back(std::move(recipe));
        book.customMaterials.push_back({customID(i),
                                        "Material " + std::to_string(i),
                                        {{GlazeCore::Oxide::SiO2, 60}, {GlazeCore::Oxide::Al2O3, 20}},
                                        10,
                                        i % 1000 == 0 ? "wood ash" : "supplier sheet"});
    }
    return book;
}

struct Shown {
    QWidget window;
    Orza::BookDocument document{Orza::GlazeDocument::make(fullBook(), false)};
    Orza::ActionRegistry actions{&window, document};
    Orza::MaterialsPage* page = new Orza::MaterialsPage(document, actions, &window);

    Shown() {
        page->setScope(Orza::MaterialsPage::Scope::custom);
        Orza::MessageBox::setRecordingAlerts(true);
    }
};

// Made on first use, and gone before the application: a page outliving it leaves timers without their thread.
std::unique_ptr<Shown> shared;

Shown& shown() {
    if (!shared) shared = std::make_unique<Shown>();
    return *shared;
}

/// Choosing another custom material: a new editor, and the scan of every line for the in-use note.
void BM_SelectMaterial(benchmark::State& state) {
    Shown& s = shown();
    std::size_t i = 0;
    for (auto _ : state) {
        s.page->selectCustom(customID(count - 1 - (i++ % 2)));
        // The editor left behind goes as the event loop would take it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void BM_InUseScan(benchmark::State& state) {
    Shown& s = shown();
    for (auto _ : state)
        benchmark::DoNotOptimize(s.page->isInUse(customID(count - 1)));
}
BENCHMARK(BM_InUseScan)->Unit(benchmark::kMillisecond);

/// One keystroke in an oxide field: the write, its undo step, the editor, list and page following.
/// `withLibrary`: the book's library built again too, as the sidebar asks for it to redraw its dots.
void oxideKeystrokes(benchmark::State& state, bool withLibrary) {
    Shown& s = shown();
    s.page->selectCustom(customID(count - 1));
    Orza::CustomMaterialEditor* editor = s.page->editor();
    int keystroke = 0;
    for (auto _ : state) {
        if (keystroke == 50) {
            state.PauseTiming();
            s.document.undoStack()->undo(); // a fresh burst each 50 keystrokes
            s.document.endEditBurst();
            keystroke = 0;
            state.ResumeTiming();
        }
        editor->setOxidePercent(GlazeCore::Oxide::CaO, 1 + 0.01 * ++keystroke);
        if (withLibrary) benchmark::DoNotOptimize(s.document.library().material(customID(count - 1)));
    }
}

void BM_OxideKeystroke(benchmark::State& state) {
    oxideKeystrokes(state, false);
}

void BM_OxideKeystrokeWithLibrary(benchmark::State& state) {
    oxideKeystrokes(state, true);
}

/// Delete refused: the recipes using the material are found and named.
void BM_DeleteRefused(benchmark::State& state) {
    Shown& s = shown();
    s.page->selectCustom(customID(count - 1));
    for (auto _ : state) {
        s.page->deleteSelectedMaterial();
        benchmark::DoNotOptimize(Orza::MessageBox::takeRecordedAlerts());
    }
}

/// Typing a search word over the custom list and clearing it again.
void BM_SearchCustom(benchmark::State& state) {
    Shown& s = shown();
    std::size_t i = 0;
    for (auto _ : state)
        s.page->setQuery(i++ % 2 ? QStringLiteral("ash") : QString());
}

} // namespace

BENCHMARK(BM_SelectMaterial)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OxideKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OxideKeystrokeWithLibrary)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_DeleteRefused)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchCustom)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return Bench::runWithWindows(argc, argv, {}, [] { shared.reset(); });
}
