// A keystroke in a firing schedule's Rate field of a shown tile editor, in German: the schedule written, the total
// and the ramp chart brought up to date and painted. A rate of 0,1 °C/h makes a ramp of thousands of hours; it must
// cost what a rate of 100 does.
// Aim: under 20 ms a keystroke, whatever the rate.

#include "WindowBenchMain.h"

#include "GlazeCore/book/SampleBook.h"
#include "Orza/actions/ActionRegistry.h"
#include "Orza/document/BookDocument.h"
#include "Orza/testlog/FiringRampChart.h"
#include "Orza/testlog/FiringScheduleEditor.h"
#include "Orza/testlog/TestTileEditor.h"
#include "Orza/widgets/LiveNumberField.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLocale>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

/// A tile editor on a window of its own, shown, with its first Rate field focused.
struct Shown {
    QWidget window;
    Orza::BookDocument document;
    Orza::ActionRegistry actions;
    std::unique_ptr<Orza::TestTileEditor> editor;
    Orza::LiveNumberField* rate = nullptr;

    Shown()
        : document(Orza::GlazeDocument::make(GlazeCore::SampleBook::makeBook(), false)), actions(&window, document) {
        editor = std::make_unique<Orza::TestTileEditor>(document, actions, document.book().tests.front().id);
        editor->resize(560, 720);
        editor->show();
        QCoreApplication::processEvents();
        rate = editor->scheduleEditor()->field(0, Orza::FiringScheduleEditor::Column::rate);
        rate->setFocus();
        QCoreApplication::processEvents();
    }

    void key(Qt::Key key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(rate, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(rate, &release);
    }

    /// The field holds `typed` as if just typed, then the keystroke `last` follows; what it costs to handle and
    /// paint that keystroke is timed.
    void typeLast(benchmark::State& state, const QString& typed, Qt::Key last, const QString& lastText) {
        state.PauseTiming();
        rate->selectAll();
        for (const QChar c : typed)
            key(Qt::Key(c.unicode()), QString(c));
        QCoreApplication::processEvents();
        editor->rampChart()->repaint();
        state.ResumeTiming();
        key(last, lastText);
        QCoreApplication::processEvents();
        editor->rampChart()->repaint();
    }
};

// Made on first use, and gone before the application.
std::unique_ptr<Shown> shared;

Shown& shown() {
    if (!shared) shared = std::make_unique<Shown>();
    return *shared;
}

/// "0," then "1": a ramp of 0,1 °C/h from 20 °C to the first target, thousands of hours.
void BM_TinyRateKeystroke(benchmark::State& state) {
    Shown& s = shown();
    for (auto _ : state)
        s.typeLast(state, QStringLiteral("0,"), Qt::Key_1, QStringLiteral("1"));
    state.counters["hours"] = s.editor->rampChart()->points().back().hours;
}

/// "10" then "0": an ordinary ramp of 100 °C/h, for comparison.
void BM_UsualRateKeystroke(benchmark::State& state) {
    Shown& s = shown();
    for (auto _ : state)
        s.typeLast(state, QStringLiteral("10"), Qt::Key_0, QStringLiteral("0"));
    state.counters["hours"] = s.editor->rampChart()->points().back().hours;
}

} // namespace

BENCHMARK(BM_TinyRateKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UsualRateKeystroke)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return Bench::runWithWindows(argc, argv, QStringLiteral("de_DE"), [] { shared.reset(); });
}
