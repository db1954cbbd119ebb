#pragma once

// The main of a benchmark that shows windows.

#include <QApplication>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>

namespace Bench {

/// Runs the benchmarks in an offscreen application whose settings go to a folder of their own, not the user's (a
/// window saves its selection). `locale`, when given, is the default locale; `beforeQuit` lets go of what must go
/// before the application does.
inline int runWithWindows(int argc, char** argv, const QString& locale = {},
                          const std::function<void()>& beforeQuit = {}) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QApplication application(argc, argv);
    if (!locale.isEmpty()) QLocale::setDefault(QLocale(locale));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeQuit) beforeQuit();
    return 0;
}

} // namespace Bench
