#include "Orza/models/SidebarRows.h"

#include "GlazeCore/chemistry/GlazeCalculator.h"

#include <QCoreApplication>

namespace Orza::SidebarRows {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("SidebarRows", text);
}

} // namespace

QString displayName(const GlazeCore::Recipe& recipe) {
    if (recipe.name.empty()) return tr("Untitled recipe");
    return QString::fromStdString(recipe.name);
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

QString regionWords(GlazeCore::StullRegion region) {
    switch (region) {
    case GlazeCore::StullRegion::matte:
        return tr("Matte");
    case GlazeCore::StullRegion::gloss:
        return tr("Gloss");
    case GlazeCore::StullRegion::semimatte:
        return tr("Semi-matte");
    case GlazeCore::StullRegion::underfired:
        return tr("Underfired");
    case GlazeCore::StullRegion::crazing:
        return tr("Crazing likely");
    case GlazeCore::StullRegion::unfused:
        return tr("Unfused");
    case GlazeCore::StullRegion::unknown:
        break;
    }
    return {};
}

QString rowHelpText(std::optional<GlazeCore::StullRegion> region, const QString& displayName) {
    if (!region) return displayName;
    return displayName + tr(". Stull chart: ") + regionWords(*region);
}

QString accessibilityLabel(const GlazeCore::Recipe& recipe, std::optional<GlazeCore::StullRegion> region) {
    QString label = tr("Recipe ") + displayName(recipe) + tr(", cone ") + QString::fromStdString(recipe.cone);
    if (region) label += QStringLiteral(", ") + regionWords(*region) + tr(" on the Stull chart");
    return label;
}

QString testsHelpText(const std::vector<GlazeCore::TestTile>& tests) {
    if (tests.empty()) return tr("Test log. No test tiles yet.");
    const QString count = tests.size() == 1 ? tr("1 test tile") : QString::number(tests.size()) + tr(" test tiles");
    const std::string& code = tests.back().code;
    const QString shown = code.empty() ? tr("no code") : QString::fromStdString(code);
    return tr("Test log: ") + count + tr(". Last added: ") + shown + QStringLiteral(".");
}

QString testsAccessibilityLabel(std::size_t count) {
    return tr("Test log, ") + QString::number(qulonglong(count)) + tr(" tiles");
}

} // namespace Orza::SidebarRows
