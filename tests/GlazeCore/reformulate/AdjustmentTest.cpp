#include "GlazeCore/reformulate/Adjustment.h"
#include "GlazeCore/reformulate/OxideNudge.h"
#include "GlazeCore/reformulate/ReformulateError.h"
#include "ReformulateFixtures.h"

#include <gtest/gtest.h>

using namespace GlazeCore;
using OrzaTest::material;

namespace {

const std::string held = ", with the other oxides held as close as they can be.";

/// Answers every lookup but one, as a library that withholds an invalid material does.
class WithholdingLibrary final : public MaterialLibrary {
public:
    WithholdingLibrary(std::vector<Material> all, std::string withheld)
        : m_base(std::move(all)), m_withheld(std::move(withheld)) {}
    const Material* material(std::string_view id) const override {
        return id == m_withheld ? nullptr : m_base.material(id);
    }
    const std::vector<Material>& all() const override { return m_base.all(); }
    std::unique_ptr<MaterialLibrary> clone() const override { return std::make_unique<WithholdingLibrary>(*this); }

private:
    BundledLibrary m_base;
    std::string m_withheld;
};

std::vector<std::string> ids(const std::vector<Material>& materials) {
    std::vector<std::string> out;
    for (const Material& m : materials)
        out.push_back(m.id);
    return out;
}

} // namespace

TEST(ReformulateErrorText, everyCaseHasItsSentence) {
    EXPECT_EQ(ReformulateError::noSource(Oxide::B2O3).message(),
              "No base material in this recipe contains B\u2082O\u2083. Oxide Nudge changes only base materials, not "
              "additions. Add a base material that supplies it.");
    EXPECT_EQ(ReformulateError::onlyFlux(Oxide::CaO).message(),
              "CaO is the only flux in this recipe, so its unity value is always 1. Add a material with another flux "
              "to change it.");
    EXPECT_EQ(ReformulateError::notInRecipe("kaolin").message(), "That material is not in the base of this recipe.");
    EXPECT_EQ(ReformulateError::unknownMaterial("x").message(), "The replacement material has no valid analysis.");
    EXPECT_EQ(ReformulateError::noFlux().message(),
              "The recipe has no flux oxides, so it has no unity formula to adjust.");
    EXPECT_EQ(ReformulateError::infeasible().message(),
              "This target cannot be reached. A flux oxide must be between 0 and 1, and other oxides 0 or more.");
    EXPECT_EQ(ReformulateError::tooManyMaterials(1234, 200).message(),
              "This recipe uses 1234 materials; Oxide Nudge and Replace Material work with at most 200. The recipe "
              "was not changed.");
    EXPECT_STREQ(ReformulateError::noFlux().what(), ReformulateError::noFlux().message().c_str());
}

TEST(ReformulateErrorText, equalityByCaseAndPayload) {
    EXPECT_FALSE(ReformulateError::noSource(Oxide::CaO) == ReformulateError::onlyFlux(Oxide::CaO));
    EXPECT_FALSE(ReformulateError::noSource(Oxide::CaO) == ReformulateError::noSource(Oxide::MgO));
    EXPECT_EQ(ReformulateError::notInRecipe("Caf\u00e9"), ReformulateError::notInRecipe("Cafe\u0301"));
    EXPECT_FALSE(ReformulateError::tooManyMaterials(201, 200) == ReformulateError::tooManyMaterials(202, 200));
}

TEST(AdjustmentMissText, nudge) {
    EXPECT_EQ(Adjustment::nudgeMissText(Oxide::CaO, -0.0123, Oxide::CaO, "en_US"),
              "CaO ends 0.012 below its target. These materials cannot bring it closer.");
    EXPECT_EQ(Adjustment::nudgeMissText(Oxide::MgO, 0.004, Oxide::CaO, "en_US"),
              "MgO ends 0.004 above its target" + held);
    EXPECT_EQ(Adjustment::nudgeMissText(Oxide::Al2O3, 0, Oxide::CaO, "de_DE"),
              "Al\u2082O\u2083 ends 0,000 above its target" + held);
    EXPECT_EQ(Adjustment::nudgeMissText(Oxide::SiO2, -1.25, Oxide::CaO, "de_DE"),
              "SiO\u2082 ends 1,250 below its target" + held);
}

TEST(AdjustmentMissText, replaceEndingsInTheirOrder) {
    const auto& oxides = OrzaTest::reformulateOxides();
    Adjustment a;
    a.unsupplied = {Oxide::Na2O, Oxide::K2O, Oxide::TiO2};
    a.standIn = {Oxide::CaO, Oxide::TiO2};
    // Unsupplied wins over stand-in.
    EXPECT_EQ(Adjustment::replaceMissText(Oxide::TiO2, 0.5, a, "en_US", oxides),
              "TiO\u2082 ends 0.500 above the original. No material in the new recipe supplies it.");
    EXPECT_EQ(Adjustment::replaceMissText(Oxide::CaO, 0.25, a, "en_US", oxides),
              "CaO ends 0.250 above the original. The new material's CaO takes the place of the missing Na\u2082O "
              "and K\u2082O as a flux.");
    // A stand-in that ends below the original gets the general ending.
    EXPECT_EQ(Adjustment::replaceMissText(Oxide::CaO, -0.25, a, "en_US", oxides),
              "CaO ends 0.250 below the original" + held);
    EXPECT_EQ(Adjustment::replaceMissText(Oxide::SiO2, 0.1, a, "en_US", oxides),
              "SiO\u2082 ends 0.100 above the original" + held);
    // Without the table no oxide is a flux, so nothing takes a missing flux's place.
    EXPECT_EQ(Adjustment::replaceMissText(Oxide::CaO, 0.25, a, "en_US", OrzaTest::missingOxides()),
              "CaO ends 0.250 above the original" + held);
    // Only unsupplied non-fluxes: nothing to stand in for.
    a.unsupplied = {Oxide::TiO2};
    EXPECT_EQ(Adjustment::replaceMissText(Oxide::CaO, 0.25, a, "en_US", oxides),
              "CaO ends 0.250 above the original" + held);
}

TEST(ReformulateSourceMaterials, bestSourcesFirstAndOnlyWhatTheLibraryGivesOut) {
    const std::vector<Material> all = {
        material("frit", {{Oxide::B2O3, 30}, {Oxide::Na2O, 10}, {Oxide::SiO2, 60}}, "Frit"),
        material("borax", {{Oxide::B2O3, 36}, {Oxide::Na2O, 16}}, "borax"),
        material("colemanite", {{Oxide::B2O3, 50}, {Oxide::CaO, 27}}, "Colemanite"),
        material("boric", {{Oxide::B2O3, 56}}, "Boric acid"),
        material("borax2", {{Oxide::B2O3, 36}, {Oxide::Na2O, 16}}, "Borax"),
        material("silica", {{Oxide::SiO2, 100}, {Oxide::B2O3, 0}}, "Silica"),
        material("bad", {{Oxide::B2O3, 90}}, "Withheld"),
    };
    const WithholdingLibrary lib(all, "bad");
    EXPECT_EQ(ids(Reformulate::sourceMaterials(Oxide::B2O3, lib, 4)),
              (std::vector<std::string>{"boric", "colemanite", "borax2", "borax"}));
    EXPECT_EQ(ids(Reformulate::sourceMaterials(Oxide::B2O3, lib, 10)),
              (std::vector<std::string>{"boric", "colemanite", "borax2", "borax", "frit"}));
    EXPECT_TRUE(Reformulate::sourceMaterials(Oxide::B2O3, lib, 0).empty());
    EXPECT_TRUE(Reformulate::sourceMaterials(Oxide::B2O3, lib, -3).empty());
    EXPECT_TRUE(Reformulate::sourceMaterials(Oxide::ZrO2, lib, 4).empty());
}
