#include "Orza/testlog/TestFilterOptions.h"

#include "GlazeCore/book/Atmosphere.h"
#include "GlazeCore/book/OrtonCones.h"
#include "GlazeCore/text/UnicodeText.h"

#include <algorithm>

namespace Orza::TestFilterOptions {

namespace {

// Texts count as one when they are canonically equal, as the filters compare them.
std::vector<std::string> options(const std::vector<std::string>& standard, const std::vector<std::string>& inUse,
                                 const std::optional<std::string>& chosen) {
    std::unordered_set<std::string> present;
    for (const std::string& value : inUse)
        present.insert(GlazeCore::UnicodeText::canonicalForm(value));
    if (chosen) present.insert(GlazeCore::UnicodeText::canonicalForm(*chosen));

    std::vector<std::string> result = keepPresentValues(standard, present);
    const std::unordered_set<std::string> known(standard.begin(), standard.end());
    std::vector<std::string> others;
    for (const std::string& value : present)
        if (!known.contains(value)) others.push_back(value);
    // Byte order of UTF-8 is the order of the Unicode scalars: plain text order, no locale or case.
    std::sort(others.begin(), others.end());
    result.insert(result.end(), others.begin(), others.end());
    return result;
}

} // namespace

std::vector<std::string> keepPresentValues(const std::vector<std::string>& list,
                                           const std::unordered_set<std::string>& present) {
    std::vector<std::string> kept;
    for (const std::string& value : list)
        if (present.contains(value)) kept.push_back(value);
    return kept;
}

std::vector<std::string> coneFilterOptions(const std::vector<std::string>& inUse,
                                           const std::optional<std::string>& chosen) {
    return options(GlazeCore::OrtonCones::all(), inUse, chosen);
}

std::vector<std::string> atmosphereFilterOptions(const std::vector<std::string>& inUse,
                                                 const std::optional<std::string>& chosen) {
    std::vector<std::string> named;
    for (const GlazeCore::Atmosphere atmosphere : GlazeCore::allAtmospheres())
        named.emplace_back(GlazeCore::rawValue(atmosphere));
    return options(named, inUse, chosen);
}

} // namespace Orza::TestFilterOptions
