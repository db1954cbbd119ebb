// Books with one huge text, opened in the application to their first frame: a recipe name of 8 MiB and of 17 MiB,
// and 60 million characters of recipe notes. Each open runs in a process of its own (the texts take hundreds of
// megabytes): reading and decoding the file, making the window, painting it (offscreen), going to the Tests page
// and back to the recipe, and saving the book through its document.

#include "OpenChild.h"

#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/window/BookWindow.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Bench::Clock;
using Bench::seconds;

enum Case { name8MiB, name17MiB, notes60M };

GlazeCore::GlazeBook hugeBook(Case which) {
    GlazeCore::GlazeBook book;
    GlazeCore::Recipe recipe{
        GlazeCore::Uuid::random(), "Celadon", "6", {{GlazeCore::Uuid::random(), "silica", 60, false}}, ""};
    switch (which) {
    case name8MiB:
        recipe.name.assign(std::size_t{8} << 20, 'x');
        break;
    case name17MiB:
        recipe.name.assign(std::size_t{17} << 20, 'x');
        break;
    case notes60M:
        recipe.notes.assign(60'000'000, 'x');
        break;
    }
    book.recipes.push_back(std::move(recipe));
    book.recipes.push_back({GlazeCore::Uuid::random(), "Tenmoku", "10", {}, ""});
    return book;
}

// The child: prints the seconds of reading and decoding, of making the window, of its first frame, of going to
// the Tests page and back, and of saving, then its peak resident megabytes.
int openChild(int argc, char** argv, const char* path) {
    Bench::OpenChildApplication child(argc, argv);

    const Bench::TimedOpen opened = Bench::openTimed(child, path);
    Orza::BookWindow* window = opened.window;
    const auto painted = Clock::now();

    const GlazeCore::Uuid huge = window->document()->book().recipes.front().id;
    window->model()->setSelection(Orza::SidebarItem::tests());
    child.paints.waitForFrame();
    window->model()->setSelection(Orza::SidebarItem::recipe(huge));
    child.paints.waitForFrame();
    const auto back = Clock::now();

    const QString saved = QString::fromLocal8Bit(path) + QStringLiteral(".saved");
    window->document()->save(saved);
    const auto savedAt = Clock::now();
    QFile original(QString::fromLocal8Bit(path)), copy(saved);
    const bool same =
        original.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly) && original.readAll() == copy.readAll();
    QFile::remove(saved);
    std::printf("%f %f %f %f %f %f %d\n", opened.readSeconds, opened.windowSeconds, opened.firstFrameSeconds,
                seconds(painted, back), seconds(back, savedAt), double(Bench::peakResidentBytes()) / (1 << 20),
                same ? 1 : 0);
    return 0;
}

void BM_OpenHugeText(benchmark::State& state, Case which) {
    const std::string& path = Bench::bookFile(which, hugeBook, "huge");
    double phases[5] = {}, peakMiB = 0;
    for (auto _ : state) {
        double run[6] = {-1, -1, -1, -1, -1, -1};
        int same = 0;
        if (std::FILE* child = Bench::startOpenChild(path)) {
            if (std::fscanf(child, "%lf %lf %lf %lf %lf %lf %d", &run[0], &run[1], &run[2], &run[3], &run[4], &run[5],
                            &same) != 7)
                state.SkipWithError("the child did not open the book");
            else if (same != 1)
                state.SkipWithError("the saved book differs from the file it was read from");
            pclose(child);
        }
        state.SetIterationTime(run[0] + run[1] + run[2]);
        for (int i = 0; i < 5; ++i)
            phases[i] += run[i];
        peakMiB = std::max(peakMiB, run[5]);
    }
    const auto mean = [&](double total) { return total * 1e3 / static_cast<double>(state.iterations()); };
    state.counters["read_decode_ms"] = mean(phases[0]);
    state.counters["window_ms"] = mean(phases[1]);
    state.counters["first_frame_ms"] = mean(phases[2]);
    state.counters["away_and_back_ms"] = mean(phases[3]);
    state.counters["save_ms"] = mean(phases[4]);
    state.counters["peak_MiB"] = peakMiB;
}

BENCHMARK_CAPTURE(BM_OpenHugeText, name_8MiB, name8MiB)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenHugeText, name_17MiB, name17MiB)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenHugeText, notes_60M, notes60M)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::openChildMain(argc, argv, openChild);
}
