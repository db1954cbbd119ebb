#pragma once

#include "GlazeCore/book/GlazeError.h"
#include "GlazeCore/library/BundledLibrary.h"
#include "GlazeCore/library/OxideTable.h"
#include "GlazeCore/reformulate/Adjustment.h"
#include "GlazeCore/reformulate/ReformulateError.h"
#include "support/BookBuilders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <ostream>
#include <string>

namespace GlazeCore {
// Failure messages show the sentence.
inline void PrintTo(const ReformulateError& e, std::ostream* os) {
    *os << e.message();
}
} // namespace GlazeCore

// A small oxide table with round molar masses and a library whose analyses make the unity formulas easy
// to work out by hand.
namespace OrzaTest {

inline GlazeCore::OxideTable::Map reformulateTable() {
    using GlazeCore::Oxide;
    using GlazeCore::OxideRole;
    return {
        {Oxide::Na2O, {Oxide::Na2O, 62, OxideRole::flux, 395}},
        {Oxide::K2O, {Oxide::K2O, 94, OxideRole::flux, 420}},
        {Oxide::MgO, {Oxide::MgO, 40, OxideRole::flux, 60}},
        {Oxide::CaO, {Oxide::CaO, 56, OxideRole::flux, 130}},
        {Oxide::B2O3, {Oxide::B2O3, 70, OxideRole::stabilizer, std::nullopt}},
        {Oxide::Al2O3, {Oxide::Al2O3, 102, OxideRole::stabilizer, -30}},
        {Oxide::SiO2, {Oxide::SiO2, 60, OxideRole::glassFormer, 38}},
        {Oxide::TiO2, {Oxide::TiO2, 80, OxideRole::glassFormer, std::nullopt}},
    };
}

inline const GlazeCore::OxideTable::OnceLoad& reformulateOxides() {
    static const GlazeCore::OxideTable::OnceLoad load([] { return reformulateTable(); });
    return load;
}

inline const GlazeCore::OxideTable::OnceLoad& missingOxides() {
    static const GlazeCore::OxideTable::OnceLoad load(
        []() -> GlazeCore::OxideTable::Map { throw GlazeCore::GlazeError::resourceMissing("oxides.json"); });
    return load;
}

inline GlazeCore::Material material(std::string id, GlazeCore::Analysis analysis, std::string name = "") {
    if (name.empty()) name = id;
    return {std::move(id), std::move(name), std::move(analysis), 0, ""};
}

inline GlazeCore::BundledLibrary reformulateLibrary() {
    using GlazeCore::Oxide;
    return GlazeCore::BundledLibrary({
        material("soda", {{Oxide::Na2O, 100}}),
        material("potash", {{Oxide::K2O, 100}}),
        material("magnesia", {{Oxide::MgO, 100}}),
        material("lime", {{Oxide::CaO, 100}}),
        material("boria", {{Oxide::B2O3, 100}}),
        material("alumina", {{Oxide::Al2O3, 100}}),
        material("silica", {{Oxide::SiO2, 100}}),
        material("sand", {{Oxide::SiO2, 50}}),
        material("titania", {{Oxide::TiO2, 100}}),
        material("soda-spar", {{Oxide::Na2O, 10}, {Oxide::Al2O3, 20}, {Oxide::SiO2, 70}}),
        material("mixed-spar", {{Oxide::Na2O, 6}, {Oxide::K2O, 5}, {Oxide::Al2O3, 19}, {Oxide::SiO2, 70}}),
        material("lime-spar", {{Oxide::CaO, 15}, {Oxide::MgO, 5}, {Oxide::Al2O3, 35}, {Oxide::SiO2, 45}}),
        material("wollastonite", {{Oxide::CaO, 48}, {Oxide::SiO2, 52}}),
        material("kaolin", {{Oxide::Al2O3, 40}, {Oxide::SiO2, 46}}),
        material("china-clay", {{Oxide::Al2O3, 40}, {Oxide::SiO2, 46}}),
        material("titan-spar", {{Oxide::Na2O, 10}, {Oxide::TiO2, 10}, {Oxide::SiO2, 80}}),
        material("calcined-clay", {{Oxide::Al2O3, 46}, {Oxide::SiO2, 54}}),
        material("inert", {{Oxide::SiO2, 0}}),
        // ZrO2 has no row in the table above.
        material("zircon", {{Oxide::ZrO2, 67}, {Oxide::SiO2, 33}}),
    });
}

/// One library for the whole test run; building it is not what the tests check.
inline const GlazeCore::BundledLibrary& sharedLibrary() {
    static const GlazeCore::BundledLibrary library = reformulateLibrary();
    return library;
}

/// The E that `f` throws; none when it throws nothing.
template <class E, class F> std::optional<E> thrown(F&& f) {
    try {
        f();
    } catch (const E& e) {
        return e;
    }
    return std::nullopt;
}

/// Every oxide that ends more than the tolerance away from `goal` is in the residual with after − goal;
/// no other oxide is.
inline void expectResidualAgainst(const GlazeCore::Adjustment& a, const std::map<GlazeCore::Oxide, double>& goal) {
    for (const GlazeCore::Oxide oxide : GlazeCore::OxideNames::allCases()) {
        const double d = GlazeCore::oxideValue(a.after.umf, oxide) - GlazeCore::oxideValue(goal, oxide);
        if (a.residual.contains(oxide))
            EXPECT_EQ(a.residual.at(oxide), d) << GlazeCore::OxideNames::rawValue(oxide);
        else
            EXPECT_LE(std::abs(d), GlazeCore::Reformulate::tolerance) << GlazeCore::OxideNames::rawValue(oxide);
    }
}

} // namespace OrzaTest
