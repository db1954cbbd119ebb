#pragma once

#include "GlazeCore/book/JsonReadError.h"
#include "GlazeCore/chemistry/LimitSet.h"

#include <string>
#include <string_view>

/// The JSON form of limit ranges and sets. No file of the application holds them; the form belongs to the
/// types so a set can be passed around or stored as text. Keys are the field names; reading ignores unknown
/// keys and takes "combinedWith" only when present (null counts as absent). Errors are JsonReadError naming
/// the path; writing a number that is not finite throws JsonWriteError.
namespace GlazeCore::LimitJson {

LimitRange readRange(std::string_view bytes);
LimitSet readSet(std::string_view bytes);

/// Compact, members in field order; "combinedWith" only when present.
std::string writeRange(const LimitRange& range);
std::string writeSet(const LimitSet& set);

} // namespace GlazeCore::LimitJson
