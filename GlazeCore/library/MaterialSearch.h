#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The material picker's search: a plain substring filter that keeps the list's order.
namespace GlazeCore::MaterialSearch {

/// The query is trimmed of horizontal white space and lower-cased with Unicode's default (root locale)
/// rules. An empty query keeps the whole list; otherwise each material whose lower-cased name, or else
/// id, contains the query, in list order.
std::vector<Material> matches(const std::vector<Material>& materials, std::string_view query);

/// "1 material", otherwise the count and "materials".
std::string countText(std::int64_t count);

/// The id while a material of the list has exactly that id; otherwise none.
std::optional<std::string> keptSelection(const std::optional<std::string>& id, const std::vector<Material>& materials);
std::optional<std::string> keptSelection(const std::optional<std::string>& id, const std::vector<std::string>& ids);

/// As keptSelection, but a vanished id falls back to the first result when `fallBackToFirst` is set.
std::optional<std::string> keptSelectionWithFlag(const std::optional<std::string>& id,
                                                 const std::vector<Material>& materials, bool fallBackToFirst);
std::optional<std::string> keptSelectionWithFlag(const std::optional<std::string>& id,
                                                 const std::vector<std::string>& ids, bool fallBackToFirst);

} // namespace GlazeCore::MaterialSearch
