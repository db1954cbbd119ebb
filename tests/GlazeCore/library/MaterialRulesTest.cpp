#include "GlazeCore/library/MaterialRules.h"
#include "support/BookBuilders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace GlazeCore;
using Issue = MaterialRules::Issue;
using PercentEntry = MaterialRules::PercentEntry;
using OrzaTest::line;
using OrzaTest::recipe;

namespace {

Material material(Analysis analysis, double loi) {
    return {"custom-1", "Test", std::move(analysis), loi, ""};
}

} // namespace

TEST(MaterialRulesIssues, rangesFirstThenTheTotal) {
    EXPECT_TRUE(MaterialRules::isValid(material({}, 0)));
    EXPECT_TRUE(MaterialRules::isValid(material({{Oxide::SiO2, 100}}, 2)));
    EXPECT_TRUE(MaterialRules::isValid(material({{Oxide::SiO2, -0.0}}, -0.0)));
    EXPECT_EQ(MaterialRules::issues(material({{Oxide::SiO2, 100}}, 2.5)),
              (std::vector<Issue>{Issue::totalTooHigh(102.5)}));
    EXPECT_EQ(MaterialRules::issues(material({{Oxide::SiO2, 60}, {Oxide::Al2O3, 30}}, 20)),
              (std::vector<Issue>{Issue::totalTooHigh(110)}));

    // Range issues in oxide order, whatever the total; no total issue beside them.
    EXPECT_EQ(MaterialRules::issues(material({{Oxide::Fe2O3, 120}, {Oxide::Na2O, -1}, {Oxide::SiO2, 90}}, -1)),
              (std::vector<Issue>{Issue::oxideOutOfRange(Oxide::Na2O, -1), Issue::oxideOutOfRange(Oxide::Fe2O3, 120),
                                  Issue::loiOutOfRange(-1)}));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(MaterialRules::issues(material({{Oxide::CaO, inf}}, 0)),
              (std::vector<Issue>{Issue::oxideOutOfRange(Oxide::CaO, inf)}));
    const auto nanIssues = MaterialRules::issues(material({}, std::nan("")));
    ASSERT_EQ(nanIssues.size(), 1u);
    EXPECT_EQ(nanIssues[0].kind, Issue::Kind::loiOutOfRange);
    EXPECT_NE(nanIssues[0], nanIssues[0]); // NaN payloads compare unequal
}

TEST(MaterialRulesIssues, sentencesUseTheLocaleAndWordsForNonNumbers) {
    EXPECT_EQ(Issue::oxideOutOfRange(Oxide::Fe2O3, 120).message("en_US"),
              "Fe2O3 is 120 %. Enter a value from 0 to 100.");
    EXPECT_EQ(Issue::loiOutOfRange(std::nan("")).message("en_US"),
              "The loss on ignition is not a number %. Enter a value from 0 to 100.");
    EXPECT_EQ(Issue::loiOutOfRange(-std::numeric_limits<double>::infinity()).message("en_US"),
              "The loss on ignition is not a number %. Enter a value from 0 to 100.");
    EXPECT_EQ(Issue::totalTooHigh(102.5).message("de_DE"),
              "Oxides + LOI = 102,5 %. The total must not be more than 102 %.");
    EXPECT_EQ(Issue::totalTooHigh(1234.56789).message("en_US"),
              "Oxides + LOI = 1234.568 %. The total must not be more than 102 %.");
}

TEST(MaterialRulesPercent, parsesLenientlyInTheLocale) {
    EXPECT_EQ(MaterialRules::parsePercent("", "en_US"), PercentEntry::value(0));
    EXPECT_EQ(MaterialRules::parsePercent(" \t\u00A0", "en_US"), PercentEntry::value(0));
    EXPECT_EQ(MaterialRules::parsePercent("100", "en_US"), PercentEntry::value(100));
    EXPECT_EQ(MaterialRules::parsePercent(" 12.345 ", "en_US"), PercentEntry::value(12.345));
    EXPECT_EQ(MaterialRules::parsePercent("12,5", "de_DE"), PercentEntry::value(12.5));
    EXPECT_EQ(MaterialRules::parsePercent("0", "en_US"), PercentEntry::value(0));
    EXPECT_EQ(MaterialRules::parsePercent("100.01", "en_US"), PercentEntry::outOfRange());
    EXPECT_EQ(MaterialRules::parsePercent("-5", "en_US"), PercentEntry::outOfRange());
    EXPECT_EQ(MaterialRules::parsePercent("2000000", "en_US"), PercentEntry::outOfRange());
    EXPECT_EQ(MaterialRules::parsePercent("silica", "en_US"), PercentEntry::notANumber());
    EXPECT_EQ(MaterialRules::parsePercent("12abc", "en_US"), PercentEntry::notANumber());
    EXPECT_EQ(MaterialRules::parsePercent("5\n", "en_US"), PercentEntry::notANumber()); // line breaks stay
    EXPECT_EQ(MaterialRules::parsePercent("\u221E", "en_US"), PercentEntry::notANumber());

    // A separator where the locale puts none makes no percentage: 0.25 in German is not 25.
    EXPECT_EQ(MaterialRules::parsePercent("0.25", "de_DE"), PercentEntry::notANumber());
    EXPECT_EQ(MaterialRules::parsePercent("1.50", "de_DE"), PercentEntry::notANumber());
    EXPECT_EQ(MaterialRules::parsePercent("0,25", "en_US"), PercentEntry::notANumber());
    EXPECT_EQ(MaterialRules::parsePercent("0.25", "fr_FR"), PercentEntry::notANumber());
    EXPECT_EQ(MaterialRules::parsePercent("0,25", "de_CH"), PercentEntry::notANumber());
    EXPECT_EQ(MaterialRules::parsePercent("0.25", "de_CH"), PercentEntry::value(0.25));

    EXPECT_FALSE(PercentEntry::value(3).message());
    EXPECT_EQ(PercentEntry::notANumber().message(), "Enter a number from 0 to 100.");
    EXPECT_EQ(PercentEntry::outOfRange().message(), "Enter a value from 0 to 100.");
}

TEST(MaterialRulesNaming, freshIDsAndNamesAvoidTakenOnes) {
    GlazeBook book;
    book.customMaterials.push_back({"custom-a", "A", {}, 0, ""});
    book.recipes.push_back(recipe("R", {line("whiting", 5), line("", 3), line(" ", 1)}));
    EXPECT_EQ(MaterialRules::usedMaterialIDs(book), (std::unordered_set<std::string>{"custom-a", "whiting", " "}));

    const Uuid fixed = *Uuid::parse("1B4E28BA-2FA1-11D2-883F-0016D3CCA427");
    const auto same = [&] { return fixed; };
    EXPECT_EQ(MaterialRules::newMaterialID({}, same), "custom-1b4e28ba-2fa1-11d2-883f-0016d3cca427");
    // A source that keeps repeating a taken id falls back to numbered ids.
    std::unordered_set<std::string> taken{"custom-1b4e28ba-2fa1-11d2-883f-0016d3cca427", "custom-x1"};
    EXPECT_EQ(MaterialRules::newMaterialID(taken, same), "custom-x2");
    int calls = 0;
    const auto random = [&] {
        ++calls;
        return calls < 5 ? fixed : Uuid::random();
    };
    const std::string fresh = MaterialRules::newMaterialID(taken, random);
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(fresh.rfind("custom-", 0), 0u);
    EXPECT_EQ(fresh.size(), 7u + 36u);
    EXPECT_FALSE(taken.contains(fresh));

    EXPECT_EQ(MaterialRules::newMaterialName({}), "New material 1");
    EXPECT_EQ(MaterialRules::newMaterialName({"New material 1", "New material 3"}), "New material 2");
    EXPECT_EQ(MaterialRules::newMaterialName({"new material 1", "New material 1 "}), "New material 1");
}

TEST(MaterialRulesDelete, recipeNamesAndTheBlockingSentence) {
    GlazeBook book;
    book.recipes = {recipe("Gloss A", {line("custom-f", 10)}),
                    recipe("Unused", {line("custom-g", 10)}),
                    recipe(" \t", {line("custom-f", 1)}),
                    recipe("Gloss A", {line("custom-f", 2)}),
                    recipe("Satin", {line("whiting", 1), line("custom-f", 2)}),
                    recipe("", {line("custom-f", 2)})};
    EXPECT_EQ(MaterialRules::recipeNamesUsing("custom-f", book),
              (std::vector<std::string>{"Gloss A", "Untitled recipe", "Satin"}));
    EXPECT_TRUE(MaterialRules::recipeNamesUsing("custom-F", book).empty()); // ids match exactly
    EXPECT_FALSE(MaterialRules::deleteBlocker("Custom feldspar", {}));

    EXPECT_EQ(MaterialRules::deleteBlocker("Custom feldspar", {"Gloss A"}),
              "1 recipe uses \u201CCustom feldspar\u201D (\u201CGloss A\u201D). Choose a different material in that "
              "recipe, then delete this material.");
    EXPECT_EQ(MaterialRules::deleteBlocker("Custom feldspar", {"Gloss A", "Gloss B", "Satin C"}),
              "3 recipes use \u201CCustom feldspar\u201D (\u201CGloss A\u201D, \u201CGloss B\u201D, \u201CSatin "
              "C\u201D). Choose a different material in these recipes, then delete this material.");

    // Names from the book are quoted with their control characters made visible.
    EXPECT_EQ(MaterialRules::deleteBlocker("Feldspar\u202E", {"Gloss\nA"}),
              "1 recipe uses \u201CFeldspar\\u202E\u201D (\u201CGloss\\u000AA\u201D). Choose a different material in "
              "that recipe, then delete this material.");

    std::vector<std::string> twelve;
    for (int i = 1; i <= 12; ++i)
        twelve.push_back("R" + std::to_string(i));
    const std::string blocker = *MaterialRules::deleteBlocker("F", twelve);
    EXPECT_NE(blocker.find("\u201CR10\u201D and 2 more). Choose a different material in these recipes"),
              std::string::npos);
    EXPECT_EQ(blocker.find("R11"), std::string::npos);
    EXPECT_EQ(blocker.rfind("12 recipes use \u201CF\u201D (\u201CR1\u201D, \u201CR2\u201D, ", 0), 0u);
}
