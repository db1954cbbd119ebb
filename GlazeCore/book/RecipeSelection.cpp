#include "GlazeCore/book/RecipeSelection.h"

#include <algorithm>

namespace GlazeCore::RecipeSelection {

std::optional<Uuid> afterChange(const std::optional<Uuid>& selected, const std::vector<Uuid>& before,
                                const std::vector<Uuid>& after) {
    if (!selected) return std::nullopt;
    if (std::find(after.begin(), after.end(), *selected) != after.end()) return selected;
    if (after.empty()) return std::nullopt;
    const auto found = std::find(before.begin(), before.end(), *selected);
    const std::size_t oldIndex = found == before.end() ? 0 : static_cast<std::size_t>(found - before.begin());
    return after[std::min(oldIndex, after.size() - 1)];
}

} // namespace GlazeCore::RecipeSelection
