#include "Orza/reformulate/ReplaceRules.h"

#include "Orza/library/BookLibrary.h"

#include <QCoreApplication>

#include <algorithm>

namespace Orza::ReplaceRules {

std::vector<std::string> baseMaterialIDs(const GlazeCore::Recipe& recipe, const BookLibrary& library) {
    std::vector<std::string> ids;
    for (const GlazeCore::RecipeLine& line : recipe.lines) {
        if (line.isAddition || line.materialID.empty()) continue;
        // The library answers only materials whose analysis is valid.
        if (!library.material(line.materialID)) continue;
        if (std::find(ids.begin(), ids.end(), line.materialID) == ids.end()) ids.push_back(line.materialID);
    }
    return ids;
}

std::string initialOldID(const GlazeCore::Recipe& recipe, const BookLibrary& library,
                         const std::optional<std::string>& requested) {
    const std::vector<std::string> ids = baseMaterialIDs(recipe, library);
    if (requested && std::find(ids.begin(), ids.end(), *requested) != ids.end()) return *requested;
    return ids.empty() ? std::string() : ids.front();
}

bool hasChanges(const GlazeCore::Recipe& adjusted, const GlazeCore::Recipe& current) {
    return !(adjusted.lines == current.lines);
}

QString copySuffix(const std::string& newID, const BookLibrary& library) {
    return QCoreApplication::translate("ReplaceMaterialSheet", " with %1").arg(materialDisplayName(newID, library));
}

} // namespace Orza::ReplaceRules
