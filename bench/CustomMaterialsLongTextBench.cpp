// The custom materials of a book window when a material's texts are huge: an id of 17 MiB with a short name, and a
// name and a source of 5 MiB each. Timed: switching the Materials page to its Custom tab, selecting the material,
// and one keystroke in its name field, each with the repaint that follows. Aim: each in milliseconds, whatever
// the texts' length.

#include "BenchBooks.h"
#include "WindowBenchMain.h"

#include "Orza/document/BookDocument.h"
#include "Orza/materials/CustomMaterialEditor.h"
#include "Orza/materials/MaterialsPage.h"
#include "Orza/models/WindowModel.h"
#include "Orza/window/BookWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

enum Case { hugeID, hugeNameAndSource };

GlazeCore::Material materialOf(Case which) {
    GlazeCore::Material material{"local-clay", "Local clay", {{GlazeCore::Oxide::SiO2, 60}}, 10, "lab sheet"};
    if (which == hugeID) {
        material.id = "local-clay-" + std::string(std::size_t{17} << 20, 'x');
    } else {
        material.name = "Local clay " + std::string(std::size_t{5} << 20, 'x');
        material.source = "Lab sheet " + std::string(std::size_t{5} << 20, 'y');
    }
    return material;
}

/// A book window on its Materials page, showing the bundled materials.
struct Shown {
    std::unique_ptr<Orza::BookWindow> window;
    Orza::MaterialsPage* page = nullptr;
    std::string id;

    explicit Shown(Case which) {
        GlazeCore::GlazeBook book;
        book.recipes.push_back({GlazeCore::Uuid::random(), "Celadon", "6", {}, ""});
        book.customMaterials.push_back(materialOf(which));
        id = book.customMaterials.front().id;
        window = std::make_unique<Orza::BookWindow>(
            std::make_unique<Orza::BookDocument>(Orza::GlazeDocument::make(std::move(book), false)));
        window->show();
        QCoreApplication::processEvents();
        window->model()->setSelection(Orza::SidebarItem::materials());
        QCoreApplication::processEvents();
        page = qobject_cast<Orza::MaterialsPage*>(window->detail());
    }

    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

void peak(benchmark::State& state) {
    state.counters["peak_MiB"] = double(Bench::peakResidentBytes()) / (1 << 20);
}

void BM_SwitchToCustomTab(benchmark::State& state, Case which) {
    Shown s(which);
    for (auto _ : state) {
        state.PauseTiming();
        s.page->setScope(Orza::MaterialsPage::Scope::bundled);
        s.settle();
        state.ResumeTiming();
        s.page->setScope(Orza::MaterialsPage::Scope::custom);
        s.settle();
    }
    peak(state);
}

void BM_SelectMaterial(benchmark::State& state, Case which) {
    Shown s(which);
    s.page->setScope(Orza::MaterialsPage::Scope::custom);
    s.settle();
    for (auto _ : state) {
        state.PauseTiming();
        s.page->selectCustom(std::nullopt);
        s.settle();
        state.ResumeTiming();
        s.page->selectCustom(s.id);
        s.settle();
    }
    peak(state);
}

/// A letter typed at the end of the name, then taken back: each keystroke one edit of the book.
void BM_NameKeystroke(benchmark::State& state, Case which) {
    Shown s(which);
    s.page->setScope(Orza::MaterialsPage::Scope::custom);
    s.page->selectCustom(s.id);
    s.settle();
    QLineEdit* name = s.page->editor()->nameField();
    name->setFocus();
    name->end(false);
    s.settle();
    bool typed = false;
    for (auto _ : state) {
        typed = !typed;
        QKeyEvent press(QEvent::KeyPress, typed ? Qt::Key_X : Qt::Key_Backspace, Qt::NoModifier,
                        typed ? QStringLiteral("x") : QString());
        QCoreApplication::sendEvent(name, &press);
        s.settle();
    }
    peak(state);
}

} // namespace

BENCHMARK_CAPTURE(BM_SwitchToCustomTab, id_17MiB, hugeID)->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SwitchToCustomTab, name_and_source_5MiB, hugeNameAndSource)
    ->Iterations(4)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SelectMaterial, id_17MiB, hugeID)->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SelectMaterial, name_and_source_5MiB, hugeNameAndSource)
    ->Iterations(4)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NameKeystroke, id_17MiB, hugeID)->Iterations(8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NameKeystroke, name_and_source_5MiB, hugeNameAndSource)
    ->Iterations(8)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return Bench::runWithWindows(argc, argv, QStringLiteral("en_US"));
}
