#pragma once

// What the benchmarks that open a book in a process of their own share: the child's application, a way to wait
// for its frames, starting it, and a main that serves as either side.

#include "BenchBooks.h"

#include "GlazeCore/book/GlazeBookCodec.h"
#include "Orza/app/DocumentController.h"
#include "Orza/app/Translations.h"
#include "Orza/platform/MessageBox.h"
#include "Orza/window/BookWindow.h"

#include <QApplication>
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

namespace Bench {

using Clock = std::chrono::steady_clock;

inline double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

/// Notes each paint of any widget.
class Paints : public QObject {
public:
    bool painted = false;

    /// Runs the event loop until a frame has been painted, then until nothing is left to do.
    void waitForFrame() {
        painted = false;
        while (!painted)
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) painted = true;
        return false;
    }
};

/// The child's application: offscreen, with settings of its own, alerts recorded rather than shown, and every
/// paint noted.
struct OpenChildApplication {
    OpenChildApplication(int& argc, char** argv) : application(offscreen(argc), argv) {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        Orza::MessageBox::setRecordingAlerts(true);
        Orza::Translations::install();
        application.installEventFilter(&paints);
    }

    /// Before the application is made, which reads the platform.
    static int& offscreen(int& argc) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }

    QApplication application;
    QTemporaryDir settings;
    Paints paints;
};

/// A book opened as DocumentController::openFile opens it, in steps, timed up to the window's first frame.
struct TimedOpen {
    Orza::BookWindow* window;
    double readSeconds;
    double windowSeconds;
    double firstFrameSeconds;
};

inline TimedOpen openTimed(OpenChildApplication& child, const char* path) {
    const auto start = Clock::now();
    Orza::GlazeDocument document = Orza::GlazeDocument::read(QString::fromLocal8Bit(path));
    const auto read = Clock::now();
    Orza::BookWindow* window = Orza::DocumentController::instance().openWindow(std::move(document), path);
    const auto made = Clock::now();
    child.paints.waitForFrame();
    return {window, seconds(start, read), seconds(read, made), seconds(made, Clock::now())};
}

/// The files the benchmarks wrote, removed when they end.
inline std::vector<std::string>& madeFiles() {
    static std::vector<std::string> paths;
    return paths;
}

/// The file of the book `make(key)`, written once for each key and removed when the benchmarks end.
template <typename Key, typename Make> const std::string& bookFile(const Key& key, const Make& make, const char* name) {
    static std::map<Key, std::string> paths;
    auto found = paths.find(key);
    if (found == paths.end()) {
        found = paths.emplace(key, writeTemporary(GlazeCore::GlazeBookCodec::encode(make(key)), name)).first;
        madeFiles().push_back(found->second);
    }
    return found->second;
}

/// This program started again as the child that opens `path`; its output to read, or none.
inline std::FILE* startOpenChild(const std::string& path) {
    std::string command = "'";
    for (const std::string& piece : {selfPath(), std::string("' --open-child '"), path, std::string("'")})
        command += piece;
    return popen(command.c_str(), "r");
}

/// The main of a program that is the benchmarks, or the child `openChild` when started by startOpenChild().
inline int openChildMain(int argc, char** argv, int (*openChild)(int, char**, const char*)) {
    if (argc == 3 && std::strcmp(argv[1], "--open-child") == 0) return openChild(argc, argv, argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::string& path : madeFiles())
        std::remove(path.c_str());
    return 0;
}

} // namespace Bench
