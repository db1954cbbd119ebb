// Shows the chemistry views over a recipe of the sample book, for looking at them:
//   chemistry_demo panel [recipe] | grids [recipe] | chart light|dark [recipe] [width]; "--dark" anywhere
//   gives every mode the dark palette.
// The recipe is an index into the sample book (0 to 5).

#include "GlazeCore/book/SampleBook.h"
#include "GlazeCore/chemistry/GlazeCalculator.h"
#include "Orza/app/Translations.h"
#include "Orza/chemistry/ChemistryPanel.h"
#include "Orza/chemistry/StullChartView.h"
#include "Orza/library/BookLibrary.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QStyleFactory>

namespace {

GlazeCore::Chemistry chemistryOf(int index, bool includeAdditions) {
    const GlazeCore::GlazeBook book = GlazeCore::SampleBook::makeBook();
    const Orza::BookLibrary library({});
    return GlazeCore::GlazeCalculator::chemistry(book.recipes.at(std::size_t(index)), library, includeAdditions);
}

QWidget* scrolled(QWidget* content, int width) {
    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFixedWidth(width);
    return scroll;
}

Orza::ChemistryPanel* panel(int index) {
    auto* shown = new Orza::ChemistryPanel;
    shown->setOffersNudge(true);
    shown->setChemistry(chemistryOf(index, shown->includeAdditions()),
                        QStringLiteral("1 row has an amount but no material. It is left out of the chemistry."));
    return shown;
}

QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(36, 36, 38));
    dark.setColor(QPalette::WindowText, QColor(235, 235, 240));
    dark.setColor(QPalette::Base, QColor(28, 28, 30));
    dark.setColor(QPalette::AlternateBase, QColor(44, 44, 46));
    dark.setColor(QPalette::Text, QColor(235, 235, 240));
    dark.setColor(QPalette::Button, QColor(58, 58, 60));
    dark.setColor(QPalette::ButtonText, QColor(235, 235, 240));
    dark.setColor(QPalette::PlaceholderText, QColor(152, 152, 160));
    dark.setColor(QPalette::Highlight, QColor(10, 132, 255));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Mid, QColor(80, 80, 84));
    return dark;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    Orza::Translations::install();
    const QStringList args = QApplication::arguments().mid(1);
    if (args.contains(QLatin1String("--dark")) || args.value(1) == QLatin1String("dark"))
        QApplication::setPalette(darkPalette());
    const QString mode = args.value(0, QStringLiteral("panel"));
    QWidget window;
    auto* row = new QHBoxLayout(&window);
    if (mode == QLatin1String("grids")) {
        const int index = args.value(1, QStringLiteral("0")).toInt();
        for (const int width : {560, 400, 320})
            row->addWidget(scrolled(panel(index), width));
        window.resize(1320, 860);
    } else if (mode == QLatin1String("chart")) {
        const int index = args.value(2, QStringLiteral("0")).toInt();
        const GlazeCore::Chemistry chemistry = chemistryOf(index, false);
        const Orza::StullPoint now{GlazeCore::oxideValue(chemistry.umf, GlazeCore::Oxide::SiO2),
                                   GlazeCore::oxideValue(chemistry.umf, GlazeCore::Oxide::Al2O3)};
        Orza::StullChartInput input;
        input.current = now;
        for (int i = 6; i >= 1; --i)
            input.trail.push_back({now.siO2 - 0.25 * i, now.al2O3 - 0.03 * i + 0.01 * (i % 2)});
        input.hasBoron = GlazeCore::oxideValue(chemistry.umf, GlazeCore::Oxide::B2O3) > 0.00005;
        auto* chart = new Orza::StullChartView;
        chart->setInput(input);
        row->addWidget(chart);
        window.resize(args.value(3, QStringLiteral("720")).toInt(), 420);
    } else {
        row->addWidget(scrolled(panel(args.value(1, QStringLiteral("0")).toInt()), 460));
        window.resize(480, 880);
    }
    window.show();
    return QApplication::exec();
}
