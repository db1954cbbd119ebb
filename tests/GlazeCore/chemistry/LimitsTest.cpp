#include "GlazeCore/chemistry/Limits.h"
#include "GlazeCore/chemistry/LimitJson.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <stdexcept>

using namespace GlazeCore;

namespace {

const LimitSet& set(std::string_view id) {
    for (const LimitSet& s : Limits::referenceSets())
        if (s.id == id) return s;
    throw std::runtime_error("no set " + std::string(id));
}

Chemistry withUmf(OxideValues umf) {
    Chemistry c;
    c.umf = std::move(umf);
    return c;
}

} // namespace

TEST(LimitRangeValues, coveredOxidesValueAndLabel) {
    const LimitRange alkali{Oxide::K2O, 0.1, 0.3, std::vector<Oxide>{Oxide::Na2O}};
    const LimitRange silica{Oxide::SiO2, 2.5, 4.0, std::nullopt};
    EXPECT_EQ(alkali.oxides(), (std::vector<Oxide>{Oxide::K2O, Oxide::Na2O}));
    EXPECT_TRUE(alkali.covers(Oxide::Na2O));
    EXPECT_FALSE(alkali.covers(Oxide::Li2O));
    EXPECT_EQ(alkali.label(), "KNaO");
    EXPECT_EQ((LimitRange{Oxide::Na2O, 0, 1, std::vector<Oxide>{Oxide::K2O}}.label()), "KNaO");
    EXPECT_EQ((LimitRange{Oxide::K2O, 0, 1, std::vector<Oxide>{Oxide::Na2O, Oxide::Li2O}}.label()), "K2O+Na2O+Li2O");
    EXPECT_EQ((LimitRange{Oxide::K2O, 0, 1, std::vector<Oxide>{}}.label()), "K2O");
    EXPECT_EQ(silica.label(), "SiO2");
    EXPECT_EQ(alkali.value({{Oxide::K2O, 0.15}, {Oxide::Na2O, 0.2}, {Oxide::CaO, 0.6}}), 0.35);
    EXPECT_EQ(alkali.value({{Oxide::Na2O, 0.2}}), 0.2);
    EXPECT_EQ(silica.value({}), 0);
}

TEST(LimitSetEvaluate, toleranceAbsentOxidesAndCombinedVerdicts) {
    const LimitSet& cone6 = set("hr-cone6");
    const auto combined = cone6.evaluate(withUmf({{Oxide::K2O, 0.15}, {Oxide::Na2O, 0.2}, {Oxide::CaO, 0.4}}));
    EXPECT_FALSE(combined.at(Oxide::K2O));
    EXPECT_FALSE(combined.at(Oxide::Na2O));
    EXPECT_TRUE(combined.at(Oxide::CaO));
    EXPECT_TRUE(combined.at(Oxide::MgO)); // absent counts 0, and 0 is the minimum
    EXPECT_FALSE(combined.at(Oxide::SiO2));
    EXPECT_FALSE(combined.contains(Oxide::TiO2));
    EXPECT_EQ(combined.size(), 9u); // eight ranges, one of them over two oxides

    EXPECT_TRUE(cone6.evaluate(withUmf({{Oxide::SiO2, 4.0 + 1e-9}})).at(Oxide::SiO2));
    EXPECT_FALSE(cone6.evaluate(withUmf({{Oxide::SiO2, 4.0 + 2e-9}})).at(Oxide::SiO2));
    EXPECT_FALSE(cone6.evaluate(withUmf({{Oxide::SiO2, std::numeric_limits<double>::quiet_NaN()}})).at(Oxide::SiO2));
    EXPECT_FALSE(cone6.evaluate(withUmf({})).at(Oxide::CaO)); // empty UMF: every value 0

    // An oxide under two ranges must meet both.
    const LimitSet twice{"t",
                         "Twice",
                         "6",
                         {{Oxide::K2O, 0, 0.1, std::vector<Oxide>{Oxide::Na2O}}, {Oxide::Na2O, 0, 1, std::nullopt}},
                         ""};
    const auto both = twice.evaluate(withUmf({{Oxide::Na2O, 0.5}}));
    EXPECT_FALSE(both.at(Oxide::Na2O));
    EXPECT_FALSE(both.at(Oxide::K2O));
}

TEST(LimitReferenceSets, theBuiltInTable) {
    const auto& sets = Limits::referenceSets();
    EXPECT_EQ(&sets, &Limits::referenceSets());
    std::vector<std::string> ids;
    for (const LimitSet& s : sets)
        ids.push_back(s.id);
    EXPECT_EQ(ids, (std::vector<std::string>{"hr-cone6", "hr-cone10", "cushing-c5-6-gloss", "cushing-c5-6-satin",
                                             "cushing-c5-6-matt", "cushing-c9-10-gloss", "cushing-c9-10-satin",
                                             "cushing-c9-10-matt"}));
    for (const LimitSet& s : sets) {
        ASSERT_FALSE(s.ranges.empty());
        EXPECT_EQ(s.ranges.front().label(), "KNaO") << s.id;
        for (std::size_t i = 1; i < s.ranges.size(); ++i)
            EXPECT_FALSE(s.ranges[i].combinedWith) << s.id;
        EXPECT_FALSE(s.source.empty());
        // No oxide has two ranges within one set.
        std::set<Oxide> covered;
        for (const LimitRange& r : s.ranges)
            for (Oxide o : r.oxides())
                EXPECT_TRUE(covered.insert(o).second) << s.id;
        EXPECT_FALSE(covered.contains(Oxide::TiO2) || covered.contains(Oxide::Fe2O3) || covered.contains(Oxide::PbO));
    }
    EXPECT_EQ(sets[0].name, "Hesselberth & Roy, cone 6");
    EXPECT_EQ(sets[1].cone, "10");
    EXPECT_EQ(sets[0].source, sets[1].source);
    EXPECT_NE(sets[0].source, sets[2].source);
    EXPECT_EQ(sets[7].name, "Cushing, cone 9-10 matt");
    EXPECT_EQ(sets[7].cone, "9-10");

    const auto labels = [](const LimitSet& s) {
        std::vector<std::string> out;
        for (const LimitRange& r : s.ranges)
            out.push_back(r.label() + " " + std::to_string(r.min) + "-" + std::to_string(r.max));
        return out;
    };
    EXPECT_EQ(labels(sets[1]),
              (std::vector<std::string>{"KNaO 0.100000-0.300000", "CaO 0.300000-0.700000", "MgO 0.000000-0.400000",
                                        "SrO 0.000000-0.300000", "Al2O3 0.300000-0.600000", "B2O3 0.000000-0.300000",
                                        "SiO2 3.000000-5.000000"}));
    EXPECT_EQ(labels(sets[3]),
              (std::vector<std::string>{"KNaO 0.050000-0.350000", "Li2O 0.000000-0.150000", "ZnO 0.000000-0.300000",
                                        "CaO 0.050000-0.700000", "MgO 0.000000-0.350000", "BaO 0.000000-0.350000",
                                        "SrO 0.000000-0.350000", "Al2O3 0.200000-0.400000", "B2O3 0.000000-0.500000",
                                        "SiO2 2.000000-3.500000"}));
}

TEST(LimitJsonForm, roundTripAndReading) {
    for (const LimitSet& s : Limits::referenceSets()) {
        const std::string text = LimitJson::writeSet(s);
        EXPECT_EQ(LimitJson::readSet(text), s) << text;
    }
    EXPECT_EQ(LimitJson::writeRange({Oxide::SiO2, 2.5, 4, std::nullopt}), R"({"oxide":"SiO2","min":2.5,"max":4})");
    EXPECT_EQ(LimitJson::writeRange({Oxide::K2O, 0.1, 0.3, std::vector<Oxide>{Oxide::Na2O}}),
              R"({"oxide":"K2O","min":0.1,"max":0.3,"combinedWith":["Na2O"]})");

    // Unknown keys ignored, null combinedWith absent, integers read as numbers.
    const LimitRange read = LimitJson::readRange(R"({"max":1,"extra":[1],"oxide":"CaO","min":0,"combinedWith":null})");
    EXPECT_EQ(read, (LimitRange{Oxide::CaO, 0, 1, std::nullopt}));
    EXPECT_EQ(LimitJson::readRange(R"({"oxide":"CaO","min":0,"max":1,"combinedWith":[]})").combinedWith,
              std::vector<Oxide>{});

    EXPECT_THROW(LimitJson::readRange(R"({"oxide":"CaO","min":0})"), JsonReadError);
    EXPECT_THROW(LimitJson::readRange(R"({"oxide":"Cao","min":0,"max":1})"), JsonReadError);
    EXPECT_THROW(LimitJson::readRange(R"({"oxide":"CaO","min":"0","max":1})"), JsonReadError);
    EXPECT_THROW(LimitJson::readSet(R"({"id":"x","name":"x","cone":"6","ranges":[]})"), JsonReadError);
    try {
        LimitJson::readSet(R"({"id":"x","name":"x","cone":"6","source":"","ranges":[{"oxide":"CaO","min":0,)"
                           R"("max":1,"combinedWith":["Na2O","XO"]}]})");
        FAIL() << "expected a throw";
    } catch (const JsonReadError& e) {
        EXPECT_EQ(e.path(), "ranges[0].combinedWith[1]");
    }
    EXPECT_THROW(LimitJson::writeRange({Oxide::CaO, 0, std::numeric_limits<double>::infinity(), std::nullopt}),
                 JsonWriteError);
}
