#pragma once

#include "GlazeCore/book/BookTypes.h"

#include <string_view>

namespace GlazeCore::FirstLaunch {

/// Per-user boolean setting; false until the sample book has been offered once.
inline constexpr std::string_view key = "firstLaunchSampleShown";

/// Only a fresh, untitled and wholly empty book is replaced by the sample, and only once per user.
/// The caller sets the flag after asking, whatever the answer.
bool shouldOpenSample(bool alreadyShown, bool isUntitled, const GlazeBook& book);

} // namespace GlazeCore::FirstLaunch
