#pragma once

#include <functional>

namespace Orza {

/// Whether the recipe pane in front shows its chemistry, as that pane publishes it: read and write.
struct ChemistryShown {
    std::function<bool()> get;
    std::function<void(bool)> set;
};

} // namespace Orza
