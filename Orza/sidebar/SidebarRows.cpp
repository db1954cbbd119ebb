#include "Orza/sidebar/SidebarRows.h"

#include "GlazeCore/chemistry/GlazeCalculator.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/widgets/RegionNames.h"

#include <QCoreApplication>

namespace Orza::SidebarRows {

namespace {

QString tr(const char* text, int count = -1) {
    return QCoreApplication::translate("SidebarRows", text, nullptr, count);
}

} // namespace

QString displayName(const GlazeCore::Recipe& recipe) {
    if (recipe.name.empty()) return tr("Untitled recipe");
    return shownText(recipe.name);
}

std::optional<GlazeCore::StullRegion> rowRegion(const GlazeCore::Recipe& recipe,
                                                const GlazeCore::MaterialLibrary& library) {
    GlazeCore::Recipe base = recipe;
    std::erase_if(base.lines, [](const GlazeCore::RecipeLine& line) { return line.materialID.empty(); });
    if (base.lines.empty()) return std::nullopt;
    GlazeCore::Chemistry chemistry;
    try {
        // Additions never count for the dot, whatever the recipe pane is set to show.
        chemistry = GlazeCore::GlazeCalculator::chemistry(base, library, false);
    } catch (...) {
        return std::nullopt; // the row shows no region; the recipe pane explains the failure
    }
    const double siO2 = GlazeCore::oxideValue(chemistry.umf, GlazeCore::Oxide::SiO2);
    const double al2O3 = GlazeCore::oxideValue(chemistry.umf, GlazeCore::Oxide::Al2O3);
    const GlazeCore::StullRegion region = GlazeCore::Stull::region(siO2, al2O3);
    if (region == GlazeCore::StullRegion::unknown) return std::nullopt;
    return region;
}

QString rowHelpText(std::optional<GlazeCore::StullRegion> region, const QString& displayName) {
    if (!region) return displayName;
    return tr("%1. Stull chart: %2").arg(displayName, regionDisplayName(*region));
}

QString accessibilityLabel(const GlazeCore::Recipe& recipe, std::optional<GlazeCore::StullRegion> region) {
    const QString cone = shownText(recipe.cone);
    if (!region) return tr("Recipe %1, cone %2").arg(displayName(recipe), cone);
    return tr("Recipe %1, cone %2, %3 on the Stull chart").arg(displayName(recipe), cone, regionDisplayName(*region));
}

QString testsHelpText(const std::vector<GlazeCore::TestTile>& tests) {
    if (tests.empty()) return tr("Test log. No test tiles yet.");
    const std::string& code = tests.back().code;
    const QString shown = code.empty() ? tr("no code") : shownText(code);
    return tr("Test log: %1. Last added: %2.").arg(tr("%n test tile(s)", int(tests.size())), shown);
}

QString testsAccessibilityLabel(std::size_t count) {
    // The same words for one tile, as the row's spoken label has always said.
    return tr("Test log, %1 tiles").arg(qulonglong(count));
}

} // namespace Orza::SidebarRows
