#include "Orza/chemistry/UmfGrid.h"
#include "GlazeCore/chemistry/Limits.h"
#include "Orza/chemistry/ChemistryTexts.h"
#include "Orza/chemistry/RangeStatusCell.h"
#include "Orza/platform/FocusRing.h"
#include "Orza/widgets/ArrowStepper.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace Orza;
using GlazeCore::Chemistry;
using GlazeCore::Oxide;

namespace {

/// A cone 6 gloss: every flux, Al2O3 and SiO2 in range, some iron, B2O3 below its range.
Chemistry gloss() {
    Chemistry chemistry;
    chemistry.umf = {{Oxide::Na2O, 0.1}, {Oxide::K2O, 0.1},   {Oxide::CaO, 0.6},  {Oxide::MgO, 0.2},
                     {Oxide::B2O3, 0.1}, {Oxide::Al2O3, 0.3}, {Oxide::SiO2, 3.0}, {Oxide::Fe2O3, 0.02}};
    chemistry.molePercent = {{Oxide::Na2O, 2.1}, {Oxide::K2O, 2.1},   {Oxide::CaO, 12.6},  {Oxide::MgO, 4.2},
                             {Oxide::B2O3, 2.1}, {Oxide::Al2O3, 6.3}, {Oxide::SiO2, 70.2}, {Oxide::Fe2O3, 0.4}};
    chemistry.weightPercent = {{Oxide::Na2O, 2.2}, {Oxide::K2O, 3.3},    {Oxide::CaO, 11.8},  {Oxide::MgO, 2.8},
                               {Oxide::B2O3, 2.5}, {Oxide::Al2O3, 10.7}, {Oxide::SiO2, 64.6}, {Oxide::Fe2O3, 1.1}};
    return chemistry;
}

const GlazeCore::LimitSet& cone6() {
    return GlazeCore::Limits::referenceSets().front();
}

/// The right edge of the shown header and row cells, in the grid's coordinates.
int contentRight(const UmfGrid& grid) {
    std::vector<const QWidget*> cells;
    for (int column = 0; column < UmfGrid::columnCount; ++column)
        cells.push_back(grid.headerCell(UmfGrid::Column(column)));
    for (const Oxide oxide : GlazeCore::OxideNames::allCases())
        cells.insert(cells.end(),
                     {grid.oxideCell(oxide), grid.umfCell(oxide), grid.stepper(oxide), grid.moleCell(oxide),
                      grid.weightCell(oxide), grid.rangeCell(oxide), grid.statusCell(oxide)});
    int right = 0;
    for (const QWidget* cell : cells)
        if (cell->isVisible()) right = std::max(right, cell->mapTo(&grid, QPoint(cell->width(), 0)).x());
    return right;
}

} // namespace

class UmfGridTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void eachWidthShowsTheWidestLayoutThatFits() {
        const Chemistry chemistry = gloss();
        const LimitComparison comparison(chemistry, &cone6());
        UmfGrid grid;
        grid.setContent(chemistry, comparison, true, false);
        grid.show();
        const int full = grid.naturalWidthOf(UmfGrid::Variant::full);
        const int medium = grid.naturalWidthOf(UmfGrid::Variant::medium);
        const int compact = grid.naturalWidthOf(UmfGrid::Variant::compact);
        QVERIFY(full > medium && medium > compact);
        QCOMPARE(grid.minimumSizeHint().width(), compact);

        struct Case {
            int width;
            UmfGrid::Variant variant;
        };
        for (const Case& c : {Case{full + 40, UmfGrid::Variant::full}, Case{full, UmfGrid::Variant::full},
                              Case{full - 1, UmfGrid::Variant::medium}, Case{medium - 1, UmfGrid::Variant::compact},
                              Case{compact - 30, UmfGrid::Variant::compact}}) {
            grid.resize(c.width, grid.heightForWidth(c.width));
            OrzaTest::settle();
            QCOMPARE(grid.variant(), c.variant);
            // What was measured is what the layout draws: the columns end where the natural width says.
            QCOMPARE(contentRight(grid), grid.naturalWidthOf(c.variant));
            const bool isFull = c.variant == UmfGrid::Variant::full;
            QCOMPARE(grid.headerCell(UmfGrid::moleColumn)->isVisible(), isFull);
            QCOMPARE(grid.moleCell(Oxide::CaO)->isVisible(), isFull);
            QCOMPARE(grid.gridColumnCount(c.variant), isFull ? 7 : 6);
            QCOMPARE(grid.statusCell(Oxide::CaO)->showsWords(), c.variant != UmfGrid::Variant::compact);
            const auto* layout = grid.findChild<QGridLayout*>();
            QCOMPARE(layout->horizontalSpacing(), c.variant == UmfGrid::Variant::compact ? 10 : 12);
            // Headings and the divider stretch across the table, whatever columns it shows.
            QCOMPARE(grid.fluxDivider()->width(), grid.naturalWidthOf(c.variant));
            QVERIFY(grid.groupHeading(OxideGroup::flux)->width() >= grid.naturalWidthOf(c.variant));
        }
    }

    void arrowsNeedANudgeActionAUmfAndNoAdditions() {
        const Chemistry chemistry = gloss();
        const LimitComparison comparison(chemistry, &cone6());
        UmfGrid grid;
        grid.setContent(chemistry, comparison, true, false);
        QVERIFY(grid.arrowsShown());
        QVERIFY(!grid.headerCell(UmfGrid::arrowsColumn)->isHidden());
        QCOMPARE(grid.gridColumnCount(UmfGrid::Variant::full), 7);

        grid.setContent(chemistry, comparison, true, true);
        QVERIFY(!grid.arrowsShown());
        QVERIFY(grid.headerCell(UmfGrid::arrowsColumn)->isHidden());
        QVERIFY(grid.stepper(Oxide::SiO2)->isHidden());
        QCOMPARE(grid.gridColumnCount(UmfGrid::Variant::full), 6);

        grid.setContent(chemistry, comparison, false, false);
        QVERIFY(!grid.arrowsShown());

        Chemistry noUmf;
        noUmf.molePercent = {{Oxide::SiO2, 100}};
        const LimitComparison none(noUmf, &cone6());
        grid.setContent(noUmf, none, true, false);
        QVERIFY(!grid.arrowsShown());
        QCOMPARE(grid.umfCell(Oxide::SiO2)->text(), QStringLiteral("—"));
        QCOMPARE(grid.umfCell(Oxide::SiO2)->toolTip(),
                 QStringLiteral("UMF not available. The recipe has no flux oxides."));
        QCOMPARE(grid.statusCell(Oxide::SiO2)->status(), RangeStatus::none);
        QVERIFY(grid.oxideCell(Oxide::SiO2)->accessibleName().contains(QStringLiteral("UMF not available")));
    }

    // Each arrow pair reads as a spin box of its oxide's UMF, shown as the cell beside it shows it, and its
    // increase and decrease actions nudge as the arrows do.
    void steppersReadAsSpinBoxes_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("en") << QStringLiteral("en_US") << QStringLiteral("3.000");
        QTest::newRow("de") << QStringLiteral("de_DE") << QStringLiteral("3,000");
    }
    void steppersReadAsSpinBoxes() {
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        UmfGrid grid;
        grid.setContent(gloss(), LimitComparison(gloss(), &cone6()), true, false);
        grid.show();
        QAccessibleInterface* stepper = QAccessible::queryAccessibleInterface(grid.stepper(Oxide::SiO2));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(stepper->role(), QAccessible::SpinBox);
        QCOMPARE(stepper->text(QAccessible::Name), QStringLiteral("Oxide Nudge for S i O 2"));
        QCOMPARE(stepper->text(QAccessible::Value), shown);
        QVERIFY(stepper->valueInterface());
        QCOMPARE(stepper->valueInterface()->currentValue().toDouble(), 3.0);
        QCOMPARE(stepper->childCount(), 0);

        QSignalSpy nudges(&grid, &UmfGrid::nudgeRequested);
        QAccessibleActionInterface* actions = stepper->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::increaseAction()));
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::decreaseAction()));
        actions->doAction(QAccessibleActionInterface::increaseAction());
        actions->doAction(QAccessibleActionInterface::decreaseAction());
        QCOMPARE(nudges.count(), 2);
        QCOMPARE(nudges.at(0).at(1).toInt(), 1);
        QCOMPARE(nudges.at(1).at(1).toInt(), -1);

        // A new UMF is the stepper's new value.
        Chemistry richer = gloss();
        richer.umf[Oxide::SiO2] = 3.5;
        grid.setContent(richer, LimitComparison(richer, &cone6()), true, false);
        QCOMPARE(stepper->valueInterface()->currentValue().toDouble(), 3.5);
    }

    void aStepperShowsTheKeyboardFocus() {
        // Its arrows draw no focus: the stepper's own ring is all that shows where Tab went.
        UmfGrid grid;
        grid.setContent(gloss(), LimitComparison(gloss(), &cone6()), true, false);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        ArrowStepper* stepper = grid.stepper(Oxide::SiO2);
        const auto ring = [stepper] { return stepper->findChild<FocusRing*>(QString(), Qt::FindDirectChildrenOnly); };
        QVERIFY(ring());
        const std::pair<Qt::FocusReason, bool> reasons[] = {
            {Qt::TabFocusReason, true}, {Qt::BacktabFocusReason, true}, {Qt::MouseFocusReason, false}};
        for (const auto& [reason, shown] : reasons) {
            grid.setFocus();
            stepper->setFocus(reason);
            QCOMPARE(ring()->isVisible(), shown);
            QCOMPARE(ring()->geometry(), stepper->rect());
        }
        grid.setFocus();
        QVERIFY(!ring()->isVisible());
    }

    void theOnlyFluxCannotBeNudgedButOthersCan() {
        Chemistry chemistry;
        chemistry.umf = {{Oxide::CaO, 1.0}, {Oxide::Al2O3, 0.3}, {Oxide::SiO2, 3.0}};
        const LimitComparison comparison(chemistry, &cone6());
        UmfGrid grid;
        grid.setContent(chemistry, comparison, true, false);
        QVERIFY(grid.stepper(Oxide::CaO)->isHidden());
        QVERIFY(!grid.stepper(Oxide::SiO2)->isHidden());
        QVERIFY(!grid.stepper(Oxide::Al2O3)->isHidden());

        QSignalSpy nudges(&grid, &UmfGrid::nudgeRequested);
        grid.show();
        QTest::mouseClick(grid.stepper(Oxide::SiO2)->upButton(), Qt::LeftButton);
        QTest::mouseClick(grid.stepper(Oxide::Al2O3)->downButton(), Qt::LeftButton);
        QTest::keyClick(grid.stepper(Oxide::SiO2), Qt::Key_Down);
        QCOMPARE(nudges.count(), 3);
        QCOMPARE(nudges.at(0).at(0).value<Oxide>(), Oxide::SiO2);
        QCOMPARE(nudges.at(0).at(1).toInt(), 1);
        QCOMPARE(nudges.at(1).at(0).value<Oxide>(), Oxide::Al2O3);
        QCOMPARE(nudges.at(1).at(1).toInt(), -1);
        QCOMPARE(nudges.at(2).at(1).toInt(), -1);
        QCOMPARE(grid.stepper(Oxide::SiO2)->accessibleName(), QStringLiteral("Oxide Nudge for S i O 2"));
        QCOMPARE(grid.stepper(Oxide::SiO2)->toolTip(),
                 QStringLiteral("Oxide Nudge: change the amounts so that SiO₂ goes up or down by 0.05 in the UMF"));
    }

    void rowsShowRangesStatusesAndTheirWords() {
        const Chemistry chemistry = gloss();
        const LimitComparison comparison(chemistry, &cone6());
        UmfGrid grid;
        grid.setContent(chemistry, comparison, false, false);
        // The combined alkali range shows its numbers on Na2O and "shared" on K2O.
        QCOMPARE(grid.rangeCell(Oxide::Na2O)->text(), QStringLiteral("KNaO 0.10–0.30"));
        QCOMPARE(grid.rangeCell(Oxide::K2O)->text(), QStringLiteral("↑ shared"));
        QCOMPARE(grid.rangeCell(Oxide::K2O)->toolTip(),
                 QStringLiteral("One range for KNaO covers this oxide and the one above it"));
        QCOMPARE(grid.rangeCell(Oxide::Fe2O3)->text(), QStringLiteral("–"));
        QCOMPARE(
            grid.oxideCell(Oxide::Na2O)->accessibleName(),
            QStringLiteral("N a 2 O, UMF 0.100, 2.2 weight percent, reference range for KNaO 0.10 to 0.30, In range"));
        QCOMPARE(grid.oxideCell(Oxide::Fe2O3)->accessibleName(),
                 QStringLiteral("F e 2 O 3, UMF 0.020, 1.1 weight percent"));
        // B2O3 is below its range: a bold value and primary words; in range keeps a regular value.
        QCOMPARE(grid.statusCell(Oxide::B2O3)->status(), RangeStatus::below);
        QCOMPARE(grid.statusCell(Oxide::B2O3)->words(), QStringLiteral("Below range"));
        QCOMPARE(grid.statusCell(Oxide::B2O3)->toolTip(), QStringLiteral("Below range"));
        QVERIFY(grid.umfCell(Oxide::B2O3)->font().bold());
        QVERIFY(!grid.umfCell(Oxide::CaO)->font().bold());
        QVERIFY(grid.statusCell(Oxide::B2O3)->symbolColor() != grid.statusCell(Oxide::CaO)->symbolColor());
        QCOMPARE(grid.umfCell(Oxide::SiO2)->text(), QStringLiteral("3.000"));
        QCOMPARE(grid.moleCell(Oxide::SiO2)->text(), QStringLiteral("70.2"));
        QCOMPARE(grid.weightCell(Oxide::SiO2)->text(), QStringLiteral("64.6"));
    }

    void headingsOnlyForGroupsWithRows() {
        Chemistry chemistry = gloss();
        chemistry.umf.erase(Oxide::Fe2O3);
        const LimitComparison comparison(chemistry, &cone6());
        UmfGrid grid;
        grid.setContent(chemistry, comparison, false, false);
        QVERIFY(grid.groupHeading(OxideGroup::colorant)->isHidden());
        QVERIFY(!grid.groupHeading(OxideGroup::flux)->isHidden());
        QVERIFY(!grid.fluxDivider()->isHidden());
        QCOMPARE(grid.groupHeading(OxideGroup::glassFormer)->text(), QStringLiteral("Glass formers (RO₂)"));
        // A stored row that is no longer listed disappears with all its cells.
        QVERIFY(grid.oxideCell(Oxide::Fe2O3)->isHidden());
        QVERIFY(grid.statusCell(Oxide::Fe2O3)->isHidden());

        Chemistry fluxless;
        fluxless.molePercent = {{Oxide::SiO2, 100}};
        const LimitComparison none(fluxless, &cone6());
        grid.setContent(fluxless, none, false, false);
        QVERIFY(grid.groupHeading(OxideGroup::flux)->isHidden());
        QVERIFY(grid.fluxDivider()->isHidden());
        QVERIFY(!grid.headerCell(UmfGrid::oxideColumn)->isHidden()); // the header row stays
    }

    // A reader hears the group headings and the rows by their labels; the column titles are not read.
    void aReaderSkipsTheHeaderRow() {
        const Chemistry chemistry = gloss();
        const LimitComparison comparison(chemistry, &cone6());
        UmfGrid grid;
        grid.setContent(chemistry, comparison, true, false);
        grid.show();
        const QStringList spoken = OrzaTest::spokenTexts(&grid);
        QVERIFY(spoken.contains(grid.groupHeading(OxideGroup::flux)->text()));
        QVERIFY(spoken.contains(grid.oxideCell(Oxide::SiO2)->accessibleName()));
        for (int column = 0; column < UmfGrid::columnCount; ++column) {
            const QLabel* title = grid.headerCell(UmfGrid::Column(column));
            QVERIFY2(title->text().isEmpty() || !spoken.contains(title->text()), qPrintable(title->text()));
        }
    }

    void numbersFollowTheLocale() {
        const QLocale german(QLocale::German, QLocale::Germany);
        const GlazeCore::LimitRange& knao = cone6().ranges.front();
        QCOMPARE(ChemistryTexts::rangeText(knao, german), QStringLiteral("KNaO 0,10–0,30"));
        QCOMPARE(ChemistryTexts::umfCell(gloss(), Oxide::SiO2, german), QStringLiteral("3,000"));
        QCOMPARE(ChemistryTexts::nudgeHelp(Oxide::Al2O3, german),
                 QStringLiteral("Oxide Nudge: change the amounts so that Al₂O₃ goes up or down by 0,05 in the UMF"));

        // The arrows' hint is one fixed sentence: its step is written alike in every locale.
        QLocale::setDefault(german);
        UmfGrid grid;
        grid.setContent(gloss(), LimitComparison(gloss(), &cone6()), true, false);
        const QString hint = grid.stepper(Oxide::SiO2)->accessibleDescription();
        QLocale::setDefault(QLocale::c());
        QCOMPARE(hint, QStringLiteral("Opens a sheet that changes the amounts so this oxide goes up or down by 0.05"));
    }
};

QTEST_MAIN(UmfGridTest)
#include "UmfGridTest.moc"
