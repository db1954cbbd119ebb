#include "GlazeCore/reformulate/ReformulateError.h"

#include "GlazeCore/core/Overloaded.h"
#include "GlazeCore/text/OxideText.h"
#include "GlazeCore/text/PlainNumberText.h"
#include "GlazeCore/text/UnicodeText.h"

namespace GlazeCore {

std::string ReformulateError::message() const {
    return std::visit(
        Overloaded{
            [](const NoSource& c) {
                return "No base material in this recipe contains " + OxideText::formula(c.oxide) +
                       ". Oxide Nudge changes only base materials, not additions. Add a base material that "
                       "supplies it.";
            },
            [](const OnlyFlux& c) {
                return OxideText::formula(c.oxide) +
                       " is the only flux in this recipe, so its unity value is always 1. Add a material with "
                       "another flux to change it.";
            },
            [](const NotInRecipe&) { return std::string("That material is not in the base of this recipe."); },
            [](const UnknownMaterial&) { return std::string("The replacement material has no valid analysis."); },
            [](const TooManyMaterials& c) {
                return "This recipe uses " + integerText(c.count) +
                       " materials; Oxide Nudge and Replace Material work with at most " + integerText(c.limit) +
                       ". The recipe was not changed.";
            },
            [](const NoFlux&) {
                return std::string("The recipe has no flux oxides, so it has no unity formula to adjust.");
            },
            [](const Infeasible&) {
                return std::string("This target cannot be reached. A flux oxide must be between 0 and 1, and other "
                                   "oxides 0 or more.");
            },
        },
        m_value);
}

bool operator==(const ReformulateError& a, const ReformulateError& b) {
    using E = ReformulateError;
    if (a.m_value.index() != b.m_value.index()) return false;
    return std::visit(
        Overloaded{
            [&](const E::NoSource& x) { return x.oxide == std::get<E::NoSource>(b.m_value).oxide; },
            [&](const E::OnlyFlux& x) { return x.oxide == std::get<E::OnlyFlux>(b.m_value).oxide; },
            [&](const E::NotInRecipe& x) {
                return UnicodeText::canonicallyEqual(x.materialID, std::get<E::NotInRecipe>(b.m_value).materialID);
            },
            [&](const E::UnknownMaterial& x) {
                return UnicodeText::canonicallyEqual(x.materialID, std::get<E::UnknownMaterial>(b.m_value).materialID);
            },
            [&](const E::TooManyMaterials& x) {
                const auto& y = std::get<E::TooManyMaterials>(b.m_value);
                return x.count == y.count && x.limit == y.limit;
            },
            [](const E::NoFlux&) { return true; },
            [](const E::Infeasible&) { return true; },
        },
        a.m_value);
}

} // namespace GlazeCore
