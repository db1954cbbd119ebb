// The blend sheet over a book whose recipe name is huge: a name of 17 MiB, one of 8 Mi characters mixing "ä", "漢",
// an emoji and a combining mark, and the 17 MiB name alone in the book, so that it stands in all four corners. Each
// case runs in a process of its own (the names take hundreds of megabytes): opening the book's window, opening
// the triaxial sheet from the huge recipe to its first frame, one change of the rows of a 10 × 10 grid to its
// frame, and "Add Tiles to Book" to its frame. Aim: each step under a second, the peak a few hundred MB.

#include "OpenChild.h"

#include "Orza/blends/BlendSheet.h"
#include "Orza/document/BookDocument.h"
#include "Orza/widgets/WholeNumberStepper.h"
#include "Orza/window/BookWindow.h"

#include <QPushButton>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

using Bench::Clock;
using Bench::seconds;

enum Case { name17MiB, name8MiMultibyte, name17MiBAlone };

std::string multibyteName(std::size_t characters) {
    static const char* const scalars[] = {"\u00E4", "\u6F22", "\U0001F600", "e", "\u0301"};
    std::string name;
    name.reserve(characters * 3);
    for (std::size_t i = 0; i < characters; ++i)
        name += scalars[i % 5];
    return name;
}

GlazeCore::GlazeBook hugeNameBook(Case which) {
    using GlazeCore::Uuid;
    GlazeCore::GlazeBook book;
    GlazeCore::Recipe huge{
        Uuid::random(), {}, "6", {{Uuid::random(), "silica", 60, false}, {Uuid::random(), "kaolin", 40, false}}, ""};
    huge.name =
        which == name8MiMultibyte ? multibyteName(std::size_t{8} << 20) : std::string(std::size_t{17} << 20, 'x');
    book.recipes.push_back(std::move(huge));
    if (which != name17MiBAlone)
        book.recipes.push_back({Uuid::random(),
                                "Tenmoku",
                                "6",
                                {{Uuid::random(), "silica", 50, false}, {Uuid::random(), "whiting", 50, false}},
                                ""});
    return book;
}

double peakMiB() {
    return double(Bench::peakResidentBytes()) / (1 << 20);
}

// The child: prints the seconds of each step as it ends, each followed by the peak resident megabytes so far: the
// window, the triaxial sheet, the rows change, then the add with the tiles added and the recipes of the book. A
// child that ends on the way has printed the steps before.
int blendChild(int argc, char** argv, const char* path) {
    Bench::OpenChildApplication child(argc, argv);
    const Bench::TimedOpen opened = Bench::openTimed(child, path);
    Orza::BookWindow* window = opened.window;
    std::printf("%f %f\n", opened.readSeconds + opened.windowSeconds + opened.firstFrameSeconds, peakMiB());
    std::fflush(stdout);

    const auto start = Clock::now();
    const GlazeCore::Uuid huge = window->document()->book().recipes.front().id;
    Orza::BlendSheet* sheet = Orza::BlendSheet::open(window->paneContext(), huge, Orza::BlendMode::triaxial);
    child.paints.waitForFrame();
    std::printf("%f %f\n", seconds(start, Clock::now()), peakMiB());
    std::fflush(stdout);

    sheet->setMode(Orza::BlendMode::grid);
    sheet->setColumns(10);
    sheet->setRows(9);
    child.paints.waitForFrame();
    const auto rowsFrom = Clock::now();
    sheet->rowsStepper()->stepBy(1);
    child.paints.waitForFrame();
    std::printf("%f %f\n", seconds(rowsFrom, Clock::now()), peakMiB());
    std::fflush(stdout);

    const auto addFrom = Clock::now();
    sheet->addButton()->click();
    child.paints.waitForFrame();
    std::printf("%f %f %zu %zu\n", seconds(addFrom, Clock::now()), peakMiB(), sheet->tiles().size(),
                window->document()->book().recipes.size());
    return 0;
}

void BM_BlendSheetWithHugeName(benchmark::State& state, Case which) {
    const std::string& path = Bench::bookFile(which, hugeNameBook, "huge-name-blend");
    const char* const names[] = {"window", "open_triaxial", "rows_change", "add"};
    double run[8] = {};
    std::size_t tiles = 0, recipes = 0;
    int read = 0;
    for (auto _ : state) {
        if (std::FILE* child = Bench::startOpenChild(path)) {
            for (read = 0; read < 8 && std::fscanf(child, "%lf", &run[read]) == 1; ++read) {
            }
            if (read == 8 && std::fscanf(child, "%zu %zu", &tiles, &recipes) != 2) read = 7;
            pclose(child);
        }
        state.SetIterationTime(run[2] + run[4] + run[6]);
    }
    for (int step = 0; 2 * step + 1 < read; ++step) {
        state.counters[std::string(names[step]) + "_ms"] = run[2 * step] * 1e3;
        state.counters[std::string(names[step]) + "_peak_MiB"] = run[2 * step + 1];
    }
    if (read < 8)
        state.SkipWithError("the child ended before the tiles were added");
    else if (tiles != 100 || recipes != tiles + (which == name17MiBAlone ? 1 : 2))
        state.SkipWithError("the 10 x 10 grid was not added");
}

BENCHMARK_CAPTURE(BM_BlendSheetWithHugeName, name_17MiB, name17MiB)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BlendSheetWithHugeName, name_8Mi_multibyte, name8MiMultibyte)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BlendSheetWithHugeName, name_17MiB_in_every_corner, name17MiBAlone)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::openChildMain(argc, argv, blendChild);
}
