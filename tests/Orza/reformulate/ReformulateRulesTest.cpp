#include "Orza/library/BookLibrary.h"
#include "Orza/reformulate/NudgeRules.h"
#include "Orza/reformulate/ReformulateSheet.h"
#include "Orza/reformulate/ReplaceRules.h"
#include "support/TestEnvironment.h"

#include <QLocale>
#include <QTest>

#include <cmath>

using namespace Orza;
using GlazeCore::Oxide;

namespace {

GlazeCore::RecipeLine line(std::string materialID, double amount, bool isAddition = false) {
    return {GlazeCore::Uuid::random(), std::move(materialID), amount, isAddition};
}

GlazeCore::Recipe glaze(std::vector<GlazeCore::RecipeLine> lines) {
    return {GlazeCore::Uuid::random(), "G", "6", std::move(lines), ""};
}

GlazeCore::Chemistry withUmf(GlazeCore::OxideValues umf) {
    GlazeCore::Chemistry chemistry;
    chemistry.umf = std::move(umf);
    return chemistry;
}

} // namespace

class ReformulateRulesTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private:
    void setUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void tearDown() override { QLocale::setDefault(QLocale::system()); }

private slots:
    // The sheet follows the screen within its bounds; without a usable screen it takes the largest size.
    void sheetSizeFollowsTheScreen() {
        QCOMPARE(ReformulateSheet::sheetSize(QSize(1440, 900)), QSize(900, 740));
        QCOMPARE(ReformulateSheet::sheetSize(QSize(1000, 700)), QSize(900, 640));
        QCOMPARE(ReformulateSheet::sheetSize(QSize(800, 600)), QSize(812, 560));
        QCOMPARE(ReformulateSheet::sheetSize(std::nullopt), QSize(900, 740));
        QCOMPARE(ReformulateSheet::sheetSize(QSize(0, 700)), QSize(900, 740));
    }

    // A request's target: one step from the current value, never below 0, to 3 decimals; unrounded for 0.
    void nudgeTargetsStartAndStep() {
        QCOMPARE(NudgeRules::initialTarget(0.3214, 1), 0.371);
        QCOMPARE(NudgeRules::initialTarget(0.318, 1), 0.368);
        QCOMPARE(NudgeRules::initialTarget(0.02, -1), 0.0);
        QCOMPARE(NudgeRules::initialTarget(0.123456789, 0), 0.123456789);
        QCOMPARE(NudgeRules::initialTarget(0.0, 0), 0.0);

        QCOMPARE(NudgeRules::stepped(49.98, 1), std::optional(50.0));
        QCOMPARE(NudgeRules::stepped(50, 1), std::nullopt);
        QCOMPARE(NudgeRules::stepped(60, 1), std::nullopt);
        QCOMPARE(NudgeRules::stepped(0.02, -1), std::optional(0.0));
        QCOMPARE(NudgeRules::stepped(0, -1), std::nullopt);
        QVERIFY(std::abs(*NudgeRules::stepped(0.3, 1) - 0.35) < 1e-12);
    }

    // Below half a thousandth the change reads 0; otherwise a plus or a true minus sign and 3 decimals.
    void nudgeChangeText() {
        QCOMPARE(NudgeRules::changeText(0.3000, 0.3004), QStringLiteral("0"));
        QCOMPARE(NudgeRules::changeText(0.3000, 0.2990), QStringLiteral("+0.001"));
        QCOMPARE(NudgeRules::changeText(0.3000, 0.3100), QStringLiteral("\u22120.010"));
        QCOMPARE(NudgeRules::changeText(0.3, 0.3, QLocale(QLocale::German)), QStringLiteral("0"));
        QCOMPARE(NudgeRules::changeText(1.5, 0.25, QLocale(QLocale::German)), QStringLiteral("+1,250"));
        QCOMPARE(NudgeRules::copySuffix(Oxide::Al2O3, 0.35), QStringLiteral(" \u2013 Al\u2082O\u2083 0.35"));
    }

    // The picker lists the oxides above a twentieth of a thousandth first; a failed chemistry lists none first.
    void nudgePickerGroups() {
        const auto groups = NudgeRules::pickerGroups(
            withUmf({{Oxide::CaO, 1}, {Oxide::SiO2, 3}, {Oxide::MgO, 0.00004}, {Oxide::ZnO, 0.00006}}));
        QCOMPARE(groups.first, (std::vector<Oxide>{Oxide::CaO, Oxide::ZnO, Oxide::SiO2}));
        QCOMPARE(groups.second.size(), std::size_t(19));
        QCOMPARE(groups.second.front(), Oxide::Li2O);
        QVERIFY(std::find(groups.second.begin(), groups.second.end(), Oxide::MgO) != groups.second.end());
        QVERIFY(NudgeRules::pickerGroups(std::nullopt).first.empty());
        QCOMPARE(NudgeRules::currentValue(std::nullopt, Oxide::SiO2), 0.0);
    }

    // The nudge ignores the solver's new line ids and differences within a billionth of the base; the
    // replacement compares whole lines exactly.
    void whenAResultChangesTheRecipe() {
        const GlazeCore::Recipe current = glaze({line("whiting", 20), line("silica", 80), line("rutile", 5, true)});
        GlazeCore::Recipe fresh = current;
        for (auto& l : fresh.lines)
            l.id = GlazeCore::Uuid::random();
        QVERIFY(!NudgeRules::hasChanges(fresh, current));
        QVERIFY(ReplaceRules::hasChanges(fresh, current));
        GlazeCore::Recipe close = current;
        close.lines[1].amount += 5e-8;
        QVERIFY(!NudgeRules::hasChanges(close, current));
        QVERIFY(ReplaceRules::hasChanges(close, current));
        close.lines[1].amount += 1e-6;
        QVERIFY(NudgeRules::hasChanges(close, current));
        GlazeCore::Recipe flag = current;
        flag.lines[2].isAddition = false;
        QVERIFY(NudgeRules::hasChanges(flag, current));
        GlazeCore::Recipe longer = current;
        longer.lines.push_back(line("kaolin", 0));
        QVERIFY(NudgeRules::hasChanges(longer, current));
        QVERIFY(!ReplaceRules::hasChanges(current, current));
    }

    // One base list feeds the picker, the prompt and the preselection.
    void replaceBaseListAndPreselection() {
        GlazeCore::Material broken{"custom-broken", "Broken", {{Oxide::SiO2, 150}}, 0, ""};
        const BookLibrary library({broken});
        const GlazeCore::Recipe recipe =
            glaze({line("silica", 20), line("rutile", 2, true), line("", 5), line("whiting", 10), line("silica", 5),
                   line("mystery", 3), line("custom-broken", 4)});
        QCOMPARE(ReplaceRules::baseMaterialIDs(recipe, library), (std::vector<std::string>{"silica", "whiting"}));
        QCOMPARE(ReplaceRules::initialOldID(recipe, library, std::string("whiting")), std::string("whiting"));
        QCOMPARE(ReplaceRules::initialOldID(recipe, library, std::string("rutile")), std::string("silica"));
        QCOMPARE(ReplaceRules::initialOldID(recipe, library, std::nullopt), std::string("silica"));
        const GlazeCore::Recipe additions = glaze({line("rutile", 2, true), line("custom-broken", 4)});
        QVERIFY(ReplaceRules::baseMaterialIDs(additions, library).empty());
        QCOMPARE(ReplaceRules::initialOldID(additions, library, std::string("rutile")), std::string());

        QCOMPARE(ReplaceRules::copySuffix("wollastonite", library), QStringLiteral(" with Wollastonite"));
        QCOMPARE(ReplaceRules::copySuffix("mystery", library), QStringLiteral(" with Unknown material (mystery)"));
        GlazeCore::Recipe named = recipe;
        named.name = "";
        QCOMPARE(ReformulateSheet::copyBaseName(named), QStringLiteral("Untitled recipe"));
        named.name = "   ";
        QCOMPARE(ReformulateSheet::copyBaseName(named), QStringLiteral("   "));
    }
};

QTEST_MAIN(ReformulateRulesTest)
#include "ReformulateRulesTest.moc"
