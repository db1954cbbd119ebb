// The chemistry views on every keystroke: one Stull chart paint at 720 × 400 pixels with a trail of six
// (region raster kept), the raster made anew, and one chemistry panel update from a new Chemistry,
// layouts included.

#include "GlazeCore/book/SampleBook.h"
#include "GlazeCore/chemistry/GlazeCalculator.h"
#include "Orza/chemistry/ChemistryPanel.h"
#include "Orza/chemistry/StullPlot.h"
#include "Orza/library/BookLibrary.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

Orza::StullChartInput chartInput() {
    Orza::StullChartInput input;
    input.current = Orza::StullPoint{3.44, 0.35};
    input.trail = {{2.2, 0.21}, {2.45, 0.25}, {2.7, 0.27}, {2.95, 0.29}, {3.2, 0.33}, {3.3, 0.34}};
    input.hasBoron = true;
    return input;
}

void BM_ChartPaint(benchmark::State& state) {
    Orza::StullPlot plot;
    plot.resize(720, 400);
    plot.setInput(chartInput());
    QImage canvas(720, 400, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        plot.paint(painter, QRectF(0, 0, 720, 400));
    }
    state.counters["rasterBuilds"] = plot.regionImageBuilds();
}

void BM_RegionRaster(benchmark::State& state) {
    const Orza::StullDomain domain = Orza::StullChart::plotDomain(chartInput().current);
    for (auto _ : state)
        benchmark::DoNotOptimize(Orza::StullChart::regionImage(domain, 0.35));
}

/// The chemistry of two sample recipes, so that each update shows a different one.
std::array<GlazeCore::Chemistry, 2> twoChemistries() {
    const GlazeCore::GlazeBook book = GlazeCore::SampleBook::makeBook();
    const Orza::BookLibrary library({});
    return {GlazeCore::GlazeCalculator::chemistry(book.recipes[0], library, false),
            GlazeCore::GlazeCalculator::chemistry(book.recipes[1], library, false)};
}

void BM_PanelUpdate(benchmark::State& state) {
    const auto chemistries = twoChemistries();
    Orza::ChemistryPanel panel;
    panel.setOffersNudge(true);
    panel.resize(440, 900);
    panel.show();
    QApplication::processEvents();
    std::size_t next = 0;
    for (auto _ : state) {
        panel.setChemistry(chemistries[next]);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        next = 1 - next;
    }
}

} // namespace

BENCHMARK(BM_ChartPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RegionRaster)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PanelUpdate)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
