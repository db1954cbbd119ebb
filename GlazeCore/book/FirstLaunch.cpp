#include "GlazeCore/book/FirstLaunch.h"

namespace GlazeCore::FirstLaunch {

bool shouldOpenSample(bool alreadyShown, bool isUntitled, const GlazeBook& book) {
    return !alreadyShown && isUntitled && book.recipes.empty() && book.tests.empty() && book.customMaterials.empty();
}

} // namespace GlazeCore::FirstLaunch
