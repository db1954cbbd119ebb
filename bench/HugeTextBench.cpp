// Books with one huge text, opened in the application to their first frame: a recipe name of 8 MiB and of 17 MiB,
// and 60 million characters of recipe notes. Each open runs in a process of its own (the texts take hundreds of
// megabytes): reading and decoding the file, making the window, painting it (offscreen), going to the Tests page
// and back to the recipe, and saving the book through its document.

#include "BenchBooks.h"

#include "GlazeCore/book/GlazeBookCodec.h"
#include "Orza/app/DocumentController.h"
#include "Orza/app/Translations.h"
#include "Orza/document/BookDocument.h"
#include "Orza/models/WindowModel.h"
#include "Orza/platform/MessageBox.h"
#include "Orza/window/BookWindow.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

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

/// Notes each paint of any widget.
class Paints : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) painted = true;
        return false;
    }
};

/// Runs the event loop until a frame has been painted and nothing is left to do.
void paintFrame(Paints& paints) {
    paints.painted = false;
    while (!paints.painted)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// The child: prints the seconds of reading and decoding, of making the window, of its first frame, of going to
// the Tests page and back, and of saving, then its peak resident megabytes.
int openChild(int argc, char** argv, const char* path) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir settings;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    Orza::MessageBox::setRecordingAlerts(true);
    Orza::Translations::install();
    Paints paints;
    application.installEventFilter(&paints);

    const auto start = Clock::now();
    Orza::GlazeDocument document = Orza::GlazeDocument::read(QString::fromLocal8Bit(path));
    const auto read = Clock::now();
    Orza::BookWindow* window = Orza::DocumentController::instance().openWindow(std::move(document), path);
    const auto made = Clock::now();
    paintFrame(paints);
    const auto painted = Clock::now();

    const GlazeCore::Uuid huge = window->document()->book().recipes.front().id;
    window->model()->setSelection(Orza::SidebarItem::tests());
    paintFrame(paints);
    window->model()->setSelection(Orza::SidebarItem::recipe(huge));
    paintFrame(paints);
    const auto back = Clock::now();

    const QString saved = QString::fromLocal8Bit(path) + QStringLiteral(".saved");
    window->document()->save(saved);
    const auto savedAt = Clock::now();
    QFile original(QString::fromLocal8Bit(path)), copy(saved);
    const bool same =
        original.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly) && original.readAll() == copy.readAll();
    QFile::remove(saved);
    std::printf("%f %f %f %f %f %f %d\n", seconds(start, read), seconds(read, made), seconds(made, painted),
                seconds(painted, back), seconds(back, savedAt), double(Bench::peakResidentBytes()) / (1 << 20),
                same ? 1 : 0);
    return 0;
}

std::vector<std::string>& madeFiles() {
    static std::vector<std::string> paths;
    return paths;
}

const std::string& bookFile(Case which) {
    static std::map<Case, std::string> paths;
    auto found = paths.find(which);
    if (found == paths.end()) {
        const std::string bytes = GlazeCore::GlazeBookCodec::encode(hugeBook(which));
        found = paths.emplace(which, Bench::writeTemporary(bytes, "huge")).first;
        madeFiles().push_back(found->second);
    }
    return found->second;
}

void BM_OpenHugeText(benchmark::State& state, Case which) {
    const std::string& path = bookFile(which);
    double phases[5] = {}, peakMiB = 0;
    for (auto _ : state) {
        std::string command = "'";
        for (const std::string& piece : {Bench::selfPath(), std::string("' --open-child '"), path, std::string("'")})
            command += piece;
        double run[6] = {-1, -1, -1, -1, -1, -1};
        int same = 0;
        if (std::FILE* child = popen(command.c_str(), "r")) {
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
    if (argc == 3 && std::strcmp(argv[1], "--open-child") == 0) return openChild(argc, argv, argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::string& path : madeFiles())
        std::remove(path.c_str());
    return 0;
}
