#include "GlazeCore/book/GlazeError.h"

#include "GlazeCore/core/Overloaded.h"
#include "GlazeCore/text/UnicodeText.h"

namespace GlazeCore {

// Not a user sentence: the interface words these itself; this names the case for logs and tests.
std::string GlazeError::message() const {
    return std::visit(
        Overloaded{
            [](const NonFiniteAmount& c) {
                return "A line of material " + c.materialID + " has an amount that is not finite.";
            },
            [](const MissingOxideData& c) {
                return "The oxide table has no usable data for " + std::string(OxideNames::rawValue(c.oxide)) + ".";
            },
            [](const ResourceMissing& c) { return "The built-in data file " + c.fileName + " is missing."; },
        },
        m_value);
}

bool operator==(const GlazeError& a, const GlazeError& b) {
    if (a.m_value.index() != b.m_value.index()) return false;
    if (const auto* x = std::get_if<GlazeError::NonFiniteAmount>(&a.m_value))
        return UnicodeText::canonicallyEqual(x->materialID,
                                             std::get<GlazeError::NonFiniteAmount>(b.m_value).materialID);
    if (const auto* x = std::get_if<GlazeError::ResourceMissing>(&a.m_value))
        return UnicodeText::canonicallyEqual(x->fileName, std::get<GlazeError::ResourceMissing>(b.m_value).fileName);
    return a.m_value == b.m_value;
}

} // namespace GlazeCore
