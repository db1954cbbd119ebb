#include "GlazeCore/book/GlazeBookError.h"

#include "GlazeCore/core/Overloaded.h"
#include "GlazeCore/text/PlainNumberText.h"
#include "GlazeCore/text/UnicodeText.h"

namespace GlazeCore {

using UnicodeText::visibleControls;

std::string GlazeBookError::message() const {
    return std::visit(
        Overloaded{
            [](const UnsupportedVersion& c) {
                return "This glaze book uses file format " + integerText(c.found) +
                       ". This version of Orza reads format " + integerText(c.supported) +
                       " or older. Update Orza to open it. The file was not changed.";
            },
            [](const InvalidVersion& c) {
                return "This glaze book has an invalid file format number (" + integerText(c.version) +
                       "). The file was not changed.";
            },
            // Kinds, ids and fields quote names and ids from the file.
            [](const DuplicateID& c) {
                return "This glaze book has two items with the same id (" + visibleControls(c.kind) + " " +
                       visibleControls(c.id) +
                       "). Orza cannot tell them apart, so it did not open the file. The file was not changed.";
            },
            [](const NumberOutOfRange& c) {
                return "This glaze book has a number that Orza cannot use (" + visibleControls(c.field) + " is " +
                       bookNumberText(c.value) + "; the limit is " + bookNumberText(c.limit) +
                       "). The file was not changed.";
            },
            [](const TooManyItems& c) {
                return "This glaze book has " + integerText(c.count) + " " + visibleControls(c.kind) +
                       ", more than the limit of " + integerText(c.limit) + ". The file was not changed.";
            },
        },
        m_value);
}

bool operator==(const GlazeBookError& a, const GlazeBookError& b) {
    using E = GlazeBookError;
    using UnicodeText::canonicallyEqual;
    if (a.m_value.index() != b.m_value.index()) return false;
    return std::visit(
        Overloaded{
            [&](const E::UnsupportedVersion& x) {
                const auto& y = std::get<E::UnsupportedVersion>(b.m_value);
                return x.found == y.found && x.supported == y.supported;
            },
            [&](const E::InvalidVersion& x) { return x.version == std::get<E::InvalidVersion>(b.m_value).version; },
            [&](const E::DuplicateID& x) {
                const auto& y = std::get<E::DuplicateID>(b.m_value);
                return canonicallyEqual(x.kind, y.kind) && canonicallyEqual(x.id, y.id);
            },
            [&](const E::NumberOutOfRange& x) {
                const auto& y = std::get<E::NumberOutOfRange>(b.m_value);
                return canonicallyEqual(x.field, y.field) && x.value == y.value && x.limit == y.limit;
            },
            [&](const E::TooManyItems& x) {
                const auto& y = std::get<E::TooManyItems>(b.m_value);
                return canonicallyEqual(x.kind, y.kind) && x.count == y.count && x.limit == y.limit;
            },
        },
        a.m_value);
}

} // namespace GlazeCore
