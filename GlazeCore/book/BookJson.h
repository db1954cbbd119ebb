#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/book/JsonReadError.h"

#include <string>
#include <string_view>
#include <vector>

/// The JSON form of the book's value types. Reading checks shape only (no validation); errors are
/// JsonReadError naming the path. Writing gives the exact stored form: sorted keys, two-space indent,
/// " : ", "\/" escaped, dates in whole UTC seconds with "Z"; a non-finite number throws JsonWriteError.
namespace GlazeCore::BookJson {

GlazeBook readBook(std::string_view bytes);
/// The rows of the built-in `materials.json`: an array of material objects.
std::vector<Material> readMaterials(std::string_view bytes);
/// The rows of the built-in `oxides.json`: an array of oxide-table objects.
std::vector<OxideInfo> readOxideTable(std::string_view bytes);

std::string writeBook(const GlazeBook& book);

} // namespace GlazeCore::BookJson
