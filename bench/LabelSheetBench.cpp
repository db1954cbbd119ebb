// Print Label… on a large book: 2,000 recipes of 100 KB of notes each, a 200 MB file. Each run is a process of its
// own: the book's window on its Tests page with a tile selected, then the label sheet opened for that tile to its
// first frame, then the first change of "Start at label" to its frame. Reported: the time of each step and the
// peak resident memory after it. Aim: each step in milliseconds, the sheet adding next to nothing to the peak.

#include "OpenChild.h"

#include "Orza/document/BookDocument.h"
#include "Orza/labels/LabelSheet.h"
#include "Orza/models/WindowModel.h"
#include "Orza/window/BookWindow.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

using Bench::Clock;
using Bench::seconds;

constexpr std::size_t recipes = 2'000;
constexpr std::size_t notesBytes = 100'000;

/// Notes as a potter writes them: lines of a sentence, 100 KB in all.
std::string longNotes(std::size_t recipe) {
    const std::string line = "Recipe " + std::to_string(recipe) + ": sieve twice, apply thin; crawled at the rim.\n";
    std::string notes;
    notes.reserve(notesBytes + line.size());
    while (notes.size() < notesBytes)
        notes += line;
    return notes;
}

GlazeCore::GlazeBook bookWithLongNotes(std::size_t count) {
    GlazeCore::GlazeBook book = Bench::makeBook(count);
    for (std::size_t r = 0; r < book.recipes.size(); ++r)
        book.recipes[r].notes = longNotes(r);
    return book;
}

double peakMiB() {
    return double(Bench::peakResidentBytes()) / (1 << 20);
}

void report(double secondsTaken) {
    std::printf("%f %f\n", secondsTaken, peakMiB());
    std::fflush(stdout);
}

// The child: the window with a tile selected, the sheet opened, the start changed, each as seconds and peak MiB.
int labelChild(int argc, char** argv, const char* path) {
    Bench::OpenChildApplication child(argc, argv);
    const Bench::TimedOpen opened = Bench::openTimed(child, path);
    Orza::BookWindow* window = opened.window;
    window->model()->setSelection(Orza::SidebarItem::tests());
    child.paints.waitForFrame();
    window->model()->setTestSelection(window->document()->book().tests.front().id);
    child.paints.waitForFrame();
    report(opened.readSeconds + opened.windowSeconds + opened.firstFrameSeconds);

    const auto openFrom = Clock::now();
    Orza::LabelSheet* sheet = Orza::LabelSheet::open(window->paneContext(), Orza::LabelScope::selected);
    child.paints.waitForFrame();
    report(seconds(openFrom, Clock::now()));

    const auto startFrom = Clock::now();
    sheet->setStartAt(5);
    child.paints.waitForFrame();
    report(seconds(startFrom, Clock::now()));
    return sheet->tiles().size() == 1 && sheet->startAt() == 5 ? 0 : 1;
}

void BM_PrintLabelOnLargeBook(benchmark::State& state) {
    const std::string& path = Bench::bookFile(recipes, bookWithLongNotes, "label-sheet");
    const char* const names[] = {"window", "open_sheet", "start_change"};
    double run[6] = {};
    int read = 0;
    for (auto _ : state) {
        if (std::FILE* child = Bench::startOpenChild(path)) {
            for (read = 0; read < 6 && std::fscanf(child, "%lf", &run[read]) == 1; ++read) {
            }
            if (pclose(child) != 0) read = 0;
        }
        state.SetIterationTime(run[2] + run[4]);
    }
    for (int step = 0; 2 * step + 1 < read; ++step) {
        state.counters[std::string(names[step]) + "_ms"] = run[2 * step] * 1e3;
        state.counters[std::string(names[step]) + "_peak_MiB"] = run[2 * step + 1];
    }
    if (read < 6) state.SkipWithError("the child ended before the start was changed");
}

BENCHMARK(BM_PrintLabelOnLargeBook)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::openChildMain(argc, argv, labelChild);
}
