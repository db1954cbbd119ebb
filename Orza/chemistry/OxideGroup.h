#pragma once

#include "GlazeCore/book/Oxide.h"
#include "GlazeCore/library/OxideTable.h"

#include <QString>

#include <array>
#include <optional>
#include <string_view>

namespace Orza {

/// The four headings under which the UMF grid lists oxides, in the order it shows them.
enum class OxideGroup { flux, stabilizer, glassFormer, colorant };

namespace OxideGroups {

const std::array<OxideGroup, 4>& allCases();
/// The heading text, which is also the group's identity ("Fluxes (RO / R₂O)").
std::string_view rawValue(OxideGroup group);
/// Exactly one of the four heading texts; no trimming or case folding.
std::optional<OxideGroup> fromRaw(std::string_view text);
/// The heading as shown, through the translator.
QString heading(OxideGroup group);

/// The group of the oxide's role in the oxide table; the fixed default when the table has no row for it
/// or could not be read.
OxideGroup of(GlazeCore::Oxide oxide);
OxideGroup of(GlazeCore::Oxide oxide, const GlazeCore::OxideTable::OnceLoad& oxides);
/// The group the oxide falls in when the table says nothing.
OxideGroup defaultOf(GlazeCore::Oxide oxide);

} // namespace OxideGroups

} // namespace Orza
