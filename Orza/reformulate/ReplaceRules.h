#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace Orza {

class BookLibrary;

// What the Replace Material sheet decides apart from its widgets: which materials it offers to replace,
// which one it starts on, and when a result changes the recipe at all.
namespace ReplaceRules {

/// The materials a recipe offers to replace: base lines naming a material the library holds with a valid
/// analysis, each id once, in order of first appearance. The picker, the prompt and the preselection all
/// read this one list.
std::vector<std::string> baseMaterialIDs(const GlazeCore::Recipe& recipe, const BookLibrary& library);
/// The material a request starts on: the requested one when the base list holds it, else the list's first,
/// else none (the empty id).
std::string initialOldID(const GlazeCore::Recipe& recipe, const BookLibrary& library,
                         const std::optional<std::string>& requested);
/// The result's lines differ from the current ones in any way, line ids and exact amounts included.
bool hasChanges(const GlazeCore::Recipe& adjusted, const GlazeCore::Recipe& current);
/// " with Wollastonite": what a replaced copy's name ends with.
QString copySuffix(const std::string& newID, const BookLibrary& library);

} // namespace ReplaceRules

} // namespace Orza
