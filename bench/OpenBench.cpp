// Opening a book in the application to its first frame, and saving it, at 1,000, 10,000 and 100,000 recipes of 10
// lines and as many tiles. Each open runs in a process of its own, as a user's first open of the day does: reading
// and decoding the file, making the window, and painting it (offscreen); then the save through the document.

#include "OpenChild.h"

#include "Orza/document/BookDocument.h"
#include "Orza/window/BookWindow.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Bench::Clock;
using Bench::seconds;

// The child: prints the seconds of reading and decoding, of making the window, of its first frame, and of saving.
int openChild(int argc, char** argv, const char* path) {
    Bench::OpenChildApplication child(argc, argv);

    const Bench::TimedOpen opened = Bench::openTimed(child, path);
    const auto painted = Clock::now();

    const QString saved = QString::fromLocal8Bit(path) + QStringLiteral(".saved");
    opened.window->document()->save(saved);
    const auto savedAt = Clock::now();
    QFile::remove(saved);
    std::printf("%f %f %f %f\n", opened.readSeconds, opened.windowSeconds, opened.firstFrameSeconds,
                seconds(painted, savedAt));
    return 0;
}

void BM_OpenToFirstFrame(benchmark::State& state) {
    const std::string& path = Bench::bookFile(static_cast<std::size_t>(state.range(0)), Bench::makeBook, "open");
    double readSeconds = 0, windowSeconds = 0, paintSeconds = 0, saveSeconds = 0;
    for (auto _ : state) {
        double phases[4] = {-1, -1, -1, -1};
        if (std::FILE* child = Bench::startOpenChild(path)) {
            if (std::fscanf(child, "%lf %lf %lf %lf", &phases[0], &phases[1], &phases[2], &phases[3]) != 4)
                state.SkipWithError("the child did not open the book");
            pclose(child);
        }
        state.SetIterationTime(phases[0] + phases[1] + phases[2]);
        readSeconds += phases[0];
        windowSeconds += phases[1];
        paintSeconds += phases[2];
        saveSeconds += phases[3];
    }
    const auto mean = [&](double total) { return total * 1e3 / static_cast<double>(state.iterations()); };
    state.counters["read_decode_ms"] = mean(readSeconds);
    state.counters["window_ms"] = mean(windowSeconds);
    state.counters["first_paint_ms"] = mean(paintSeconds);
    state.counters["save_ms"] = mean(saveSeconds);
}

BENCHMARK(BM_OpenToFirstFrame)
    ->ArgName("items")
    ->Arg(Bench::sizes[0])
    ->Arg(Bench::sizes[1])
    ->Arg(Bench::sizes[2])
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::openChildMain(argc, argv, openChild);
}
