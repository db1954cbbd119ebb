#include "GlazeCore/library/MaterialRules.h"

#include "GlazeCore/text/NumberText.h"
#include "GlazeCore/text/PlainNumberText.h"
#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <unordered_set>

namespace GlazeCore::MaterialRules {

namespace {

constexpr double highestPercent = 100;
constexpr double highestTotal = 102;
constexpr int idAttempts = 16;
constexpr std::size_t namesShown = 10;

bool isPercent(double value) {
    return std::isfinite(value) && value >= 0 && value <= highestPercent;
}

std::string percentText(double value, const std::string& locale) {
    if (!std::isfinite(value)) return "not a number";
    return NumberText::format(value, {0, 3}, locale);
}

std::string lowercaseUUID(const Uuid& id) {
    std::string text = id.uppercaseText();
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string quoted(std::string_view text) {
    return "\u201C" + UnicodeText::visibleControls(text) + "\u201D";
}

} // namespace

std::string Issue::message(const std::string& locale) const {
    const std::string x = percentText(value, locale);
    switch (kind) {
    case Kind::oxideOutOfRange:
        return std::string(OxideNames::rawValue(oxide)) + " is " + x + " %. Enter a value from 0 to 100.";
    case Kind::loiOutOfRange:
        return "The loss on ignition is " + x + " %. Enter a value from 0 to 100.";
    case Kind::totalTooHigh:
        return "Oxides + LOI = " + x + " %. The total must not be more than 102 %.";
    }
    return {};
}

std::optional<std::string> PercentEntry::message() const {
    switch (kind) {
    case Kind::value:
        return std::nullopt;
    case Kind::notANumber:
        return "Enter a number from 0 to 100.";
    case Kind::outOfRange:
        return "Enter a value from 0 to 100.";
    }
    return std::nullopt;
}

std::vector<Issue> issues(const Material& material) {
    std::vector<Issue> found;
    // The analysis map is keyed by Oxide, so this walks the oxides in their fixed order.
    for (const auto& [oxide, value] : material.analysis)
        if (!isPercent(value)) found.push_back(Issue::oxideOutOfRange(oxide, value));
    if (!isPercent(material.loi)) found.push_back(Issue::loiOutOfRange(material.loi));
    if (!found.empty()) return found;

    double analysisSum = 0;
    for (const auto& [oxide, value] : material.analysis)
        analysisSum += value;
    const double total = material.loi + analysisSum;
    if (total > highestTotal) found.push_back(Issue::totalTooHigh(total));
    return found;
}

bool isValid(const Material& material) {
    return issues(material).empty();
}

PercentEntry parsePercent(std::string_view text, const std::string& locale) {
    const std::string trimmed = UnicodeText::trimHorizontalSpace(text);
    if (trimmed.empty()) return PercentEntry::value(0);
    // Unlike NumberText::parse there is no magnitude or sign limit: 250 and -5 are numbers, just out of range.
    const auto number = NumberText::parseLenient(trimmed, locale);
    if (!number || !std::isfinite(*number)) return PercentEntry::notANumber();
    if (*number < 0 || *number > highestPercent) return PercentEntry::outOfRange();
    return PercentEntry::value(*number);
}

std::unordered_set<std::string> usedMaterialIDs(const GlazeBook& book) {
    std::unordered_set<std::string> ids;
    for (const Material& material : book.customMaterials)
        ids.insert(material.id);
    for (const Recipe& recipe : book.recipes)
        for (const RecipeLine& line : recipe.lines)
            if (!line.materialID.empty()) ids.insert(line.materialID);
    return ids;
}

std::string newMaterialID(const std::unordered_set<std::string>& taken, const std::function<Uuid()>& freshUUID) {
    for (int attempt = 0; attempt < idAttempts; ++attempt) {
        std::string id = std::string(customIDPrefix) + lowercaseUUID(freshUUID());
        if (!taken.contains(id)) return id;
    }
    // A finite set cannot hold every number.
    for (std::int64_t n = 1;; ++n) {
        std::string id = std::string(customIDPrefix) + "x" + integerText(n);
        if (!taken.contains(id)) return id;
    }
}

std::string newMaterialName(const std::unordered_set<std::string>& taken) {
    for (std::int64_t n = 1;; ++n) {
        std::string name = "New material " + integerText(n);
        if (!taken.contains(name)) return name;
    }
}

std::vector<std::string> recipeNamesUsing(std::string_view materialID, const GlazeBook& book) {
    std::vector<std::string> names;
    // Canonical forms of the names listed so far, so a book of many recipes stays linear.
    std::unordered_set<std::string> listed;
    for (const Recipe& recipe : book.recipes) {
        const bool uses = std::any_of(recipe.lines.begin(), recipe.lines.end(), [&](const RecipeLine& line) {
            return UnicodeText::canonicallyEqual(line.materialID, materialID);
        });
        if (!uses) continue;
        std::string shown = UnicodeText::trimHorizontalSpace(recipe.name).empty() ? "Untitled recipe" : recipe.name;
        if (listed.insert(UnicodeText::canonicalForm(shown)).second) names.push_back(std::move(shown));
    }
    return names;
}

std::optional<std::string> deleteBlocker(std::string_view materialName, const std::vector<std::string>& recipeNames) {
    const std::size_t n = recipeNames.size();
    if (n == 0) return std::nullopt;
    std::string namesPart;
    for (std::size_t i = 0; i < std::min(n, namesShown); ++i) {
        if (i > 0) namesPart += ", ";
        namesPart += quoted(recipeNames[i]);
    }
    if (n > namesShown) namesPart += " and " + integerText(static_cast<std::int64_t>(n - namesShown)) + " more";
    const std::string countPhrase =
        n == 1 ? "1 recipe uses" : integerText(static_cast<std::int64_t>(n)) + " recipes use";
    return countPhrase + " " + quoted(materialName) + " (" + namesPart + "). Choose a different material in " +
           (n == 1 ? "that recipe" : "these recipes") + ", then delete this material.";
}

} // namespace GlazeCore::MaterialRules
