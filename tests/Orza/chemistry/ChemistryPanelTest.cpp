#include "Orza/chemistry/ChemistryPanel.h"
#include "GlazeCore/chemistry/Limits.h"
#include "Orza/chemistry/ChemistryTexts.h"
#include "Orza/chemistry/UmfGrid.h"
#include "Orza/settings/Settings.h"
#include "Orza/widgets/DisclosureGroup.h"
#include "Orza/widgets/IconLabel.h"
#include "support/TestEnvironment.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QToolButton>

using namespace Orza;
using GlazeCore::Chemistry;
using GlazeCore::Oxide;

namespace {

enum { siAlRow, r2oRow, expansionRow };

/// In range against the cone 6 set except B2O3 (below) and CaO (above); ZnO, SrO and MgO absent.
Chemistry glaze() {
    Chemistry chemistry;
    chemistry.umf = {{Oxide::K2O, 0.2},   {Oxide::CaO, 0.8},  {Oxide::B2O3, 0.1},
                     {Oxide::Al2O3, 0.3}, {Oxide::SiO2, 3.0}, {Oxide::Fe2O3, 0.02}};
    chemistry.molePercent = {{Oxide::SiO2, 68}, {Oxide::CaO, 18}};
    chemistry.weightPercent = {{Oxide::SiO2, 62}, {Oxide::CaO, 16}};
    chemistry.siAlRatio = 10;
    chemistry.r2oRatio = 0.2;
    chemistry.expansion = 64.25;
    return chemistry;
}

bool isStored(Settings::Key key) {
    return QSettings().contains(Settings::name(key));
}

bool shown(const QWidget* widget) {
    return !widget->isHidden();
}

} // namespace

class ChemistryPanelTest : public OrzaTest::IsolatedSuite {
    Q_OBJECT
private slots:
    void theReferenceSetIsStoredOnlyWhenTheUserPicksAnother() {
        ChemistryPanel panel;
        ChemistryPanel other;
        panel.setChemistry(glaze());
        const auto& sets = GlazeCore::Limits::referenceSets();
        // Nothing stored: the first set is shown and stays unstored.
        QCOMPARE(panel.limitSetPicker()->currentIndex(), 0);
        QCOMPARE(panel.limitSetPicker()->count(), int(sets.size()));
        QCOMPARE(panel.limitSetPicker()->toolTip(), QString::fromStdString(sets[0].name) +
                                                        QStringLiteral(". Source: ") +
                                                        QString::fromStdString(sets[0].source));
        QCOMPARE(panel.limitSetPicker()->accessibleName(), QStringLiteral("Reference range set"));
        QVERIFY(!isStored(Settings::Key::limitSetID));

        QSignalSpy changes(&Settings::instance(), &Settings::changed);
        emit panel.limitSetPicker()->activated(4);
        QCOMPARE(Settings::instance().stringValue(Settings::Key::limitSetID), QString::fromStdString(sets[4].id));
        QCOMPARE(changes.count(), 1);
        // Every open panel follows at once, and compares with the new set.
        QCOMPARE(other.limitSetPicker()->currentIndex(), 4);
        QVERIFY(panel.chosenLimitSet() == &sets[4]);
        QCOMPARE(panel.grid()->rangeCell(Oxide::SiO2)->text(), ChemistryTexts::rangeText(sets[4].ranges.back()));
        // Picking the stored set again writes nothing.
        emit panel.limitSetPicker()->activated(4);
        QCOMPARE(changes.count(), 1);
    }

    // Qt on Linux reads a combo box by its current item; ours is read by its name, the item as its value.
    void theReferenceSetPickerIsReadByItsName() {
        ChemistryPanel panel;
        panel.setChemistry(glaze());
        const auto& sets = GlazeCore::Limits::referenceSets();
        QComboBox* picker = panel.limitSetPicker();
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(picker);
        QCOMPARE(spoken->role(), QAccessible::ComboBox);
        QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("Reference range set"));
        QCOMPARE(spoken->text(QAccessible::Value), QString::fromStdString(sets[0].name));
        QVERIFY(spoken->state().expandable && !spoken->state().expanded);
        QCOMPARE(spoken->childCount(), 1);
        QCOMPARE(spoken->child(0)->object(), picker->view());
        QCOMPARE(spoken->indexOfChild(spoken->child(0)), 0);
        QVERIFY(spoken->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));

        picker->setCurrentIndex(2);
        emit picker->activated(2);
        QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("Reference range set"));
        QCOMPARE(spoken->text(QAccessible::Value), QString::fromStdString(sets[2].name));
    }

    // At the chemistry column's usual width the picker shows every set's whole name.
    void theReferenceSetPickerShowsWholeNames() {
        ChemistryPanel panel;
        panel.setChemistry(glaze());
        panel.resize(380, 800);
        panel.show();
        QComboBox* picker = panel.limitSetPicker();
        QTRY_VERIFY(picker->width() > 0);
        int widest = 0;
        for (int i = 0; i < picker->count(); ++i)
            widest = std::max(widest, picker->fontMetrics().horizontalAdvance(picker->itemText(i)));
        QStyleOptionComboBox option;
        option.initFrom(picker);
        const QRect text =
            picker->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, picker);
        QVERIFY2(text.width() >= widest, qPrintable(QStringLiteral("%1 < %2").arg(text.width()).arg(widest)));
    }

    void includingAdditionsIsAUserSettingThatHidesTheArrows() {
        ChemistryPanel panel;
        ChemistryPanel other;
        panel.setOffersNudge(true);
        panel.setChemistry(glaze());
        panel.show();
        QVERIFY(panel.grid()->arrowsShown());
        QVERIFY(!shown(panel.nudgeNote()));
        QCOMPARE(panel.includeAdditionsBox()->accessibleDescription(),
                 QStringLiteral("When on, colorant and opacifier additions count in the UMF"));

        QTest::mouseClick(panel.includeAdditionsBox(), Qt::LeftButton);
        QVERIFY(Settings::instance().boolValue(Settings::Key::includeAdditions));
        QVERIFY(other.includeAdditionsBox()->isChecked());
        QVERIFY(!panel.grid()->arrowsShown());
        QVERIFY(shown(panel.nudgeNote()));
        QCOMPARE(panel.nudgeNote()->text(), QStringLiteral("Oxide Nudge arrows show when additions are not included, "
                                                           "because Oxide Nudge works on the base."));
        // The note explains missing arrows, so it needs arrows to be offered and a UMF to put them on.
        panel.setOffersNudge(false);
        QVERIFY(!shown(panel.nudgeNote()));
        panel.setOffersNudge(true);
        Chemistry fluxless;
        fluxless.molePercent = {{Oxide::SiO2, 100}};
        panel.setChemistry(fluxless);
        QVERIFY(!shown(panel.nudgeNote()));
    }

    void theNotesUnderTheGridCountAndNameTheOxides() {
        ChemistryPanel panel;
        panel.setChemistry(glaze(), QStringLiteral("2 rows have an amount but no material."));
        QVERIFY(shown(panel.incompleteNote()));
        QCOMPARE(panel.incompleteNote()->text(), QStringLiteral("2 rows have an amount but no material."));
        QCOMPARE(panel.incompleteNote()->tone(), IconLabel::Tone::warning);
        // The alkali range covers Na2O, which K2O alone keeps within range.
        QCOMPARE(panel.notListedLine()->text(), QStringLiteral("Not listed (0, within range): Na₂O, MgO, SrO, ZnO."));
        QCOMPARE(panel.outsideRangeLabel()->text(), QStringLiteral("2 oxides outside the reference range"));

        Chemistry one = glaze();
        one.umf[Oxide::CaO] = 0.5;
        panel.setChemistry(one);
        QVERIFY(!shown(panel.incompleteNote()));
        QCOMPARE(panel.outsideRangeLabel()->text(), QStringLiteral("1 oxide outside the reference range"));
        // A note is one element: its symbol and its text are not read again after its name.
        panel.show();
        QCOMPARE(OrzaTest::spokenTexts(panel.outsideRangeLabel()),
                 QStringList{QStringLiteral("1 oxide outside the reference range")});
        one.umf[Oxide::B2O3] = 0.2;
        panel.setChemistry(one);
        QVERIFY(!shown(panel.outsideRangeLabel()));
    }

    void ratiosAndExpansionAreShownAndSpoken() {
        ChemistryPanel panel;
        Chemistry chemistry = glaze();
        chemistry.expansionNotCounted = {Oxide::Fe2O3, Oxide::Cr2O3};
        panel.setChemistry(chemistry);
        QCOMPARE(panel.ratioValue(siAlRow)->text(), QStringLiteral("10.00"));
        QCOMPARE(panel.ratioLabel(siAlRow)->accessibleName(), QStringLiteral("Silica to alumina ratio 10.00"));
        QCOMPARE(panel.ratioValue(r2oRow)->text(), QStringLiteral("0.20 : 0.80"));
        QCOMPARE(panel.ratioLabel(r2oRow)->accessibleName(), QStringLiteral("R 2 O to R O ratio 0.20 to 0.80"));
        QCOMPARE(panel.ratioValue(r2oRow)->toolTip(), QString());
        QCOMPARE(panel.ratioValue(expansionRow)->text(), QStringLiteral("64.3 × 10⁻⁷/K, partial"));
        QCOMPARE(panel.ratioLabel(expansionRow)->accessibleName(),
                 QStringLiteral("Expansion, Appen estimate, 64.3 times 10 to the minus 7 per kelvin, partial, does not "
                                "count Fe2O3, Cr2O3"));
        QVERIFY(shown(panel.expansionPartialNote()));
        QCOMPARE(panel.expansionPartialNote()->text(),
                 QStringLiteral("Partial: does not count Fe₂O₃, Cr₂O₃. See Warnings."));

        chemistry.expansion.reset();
        panel.setChemistry(chemistry);
        QCOMPARE(panel.ratioValue(expansionRow)->text(), QStringLiteral("Not available"));
        QCOMPARE(panel.ratioLabel(expansionRow)->accessibleName(),
                 QStringLiteral("Expansion, Appen estimate, not available"));
        QVERIFY(!shown(panel.expansionPartialNote()));
    }

    void withoutFluxesThePanelSaysWhyAndComparesNothing() {
        ChemistryPanel panel;
        Chemistry fluxless;
        fluxless.molePercent = {{Oxide::SiO2, 80}, {Oxide::Al2O3, 20}};
        fluxless.weightPercent = {{Oxide::SiO2, 70}, {Oxide::Al2O3, 30}};
        fluxless.siAlRatio = 4;
        panel.setChemistry(fluxless);
        QVERIFY(shown(panel.noUmfNote()));
        QCOMPARE(panel.ratioValue(siAlRow)->text(), QStringLiteral("4.00"));
        QCOMPARE(panel.ratioValue(r2oRow)->text(), QStringLiteral("—"));
        QCOMPARE(panel.ratioValue(r2oRow)->toolTip(), QStringLiteral("Not available. The recipe has no flux oxides."));
        QCOMPARE(panel.ratioLabel(r2oRow)->accessibleName(),
                 QStringLiteral("R 2 O to R O ratio not available, no flux oxides"));
        QVERIFY(!shown(panel.notListedLine()));
        QVERIFY(!shown(panel.outsideRangeLabel()));
        QVERIFY(panel.grid()->isRowShown(Oxide::SiO2));

        // Nothing to calculate: no note, no rows.
        panel.setChemistry(Chemistry{});
        QVERIFY(!shown(panel.noUmfNote()));
        QVERIFY(!panel.grid()->isRowShown(Oxide::SiO2));
    }

    void warningsAreListedWithSubscriptedFormulas() {
        ChemistryPanel panel;
        panel.setChemistry(glaze());
        QVERIFY(!shown(panel.warningsBlock()));
        Chemistry warned = glaze();
        warned.warnings = {"B2O3 is counted as a flux here.", "Unknown material \"x\" is left out."};
        panel.setChemistry(warned);
        QVERIFY(shown(panel.warningsBlock()));
        QCOMPARE(panel.warningsBlock()->accessibleName(), QStringLiteral("Warnings"));
        QCOMPARE(panel.shownWarnings().size(), std::size_t(2));
        QCOMPARE(panel.shownWarnings()[0]->text(), QStringLiteral("B₂O₃ is counted as a flux here."));
        warned.warnings.pop_back();
        panel.setChemistry(warned);
        QCOMPARE(panel.shownWarnings().size(), std::size_t(1));

        // An id from a book is quoted shortened and with its controls written out.
        warned.warnings = {"Unknown material \"" + std::string(std::size_t{1} << 20, 'x') + "\u202E\": line ignored."};
        panel.setChemistry(warned);
        const QString quoted = panel.shownWarnings()[0]->text();
        QVERIFY2(quoted.size() < 1100 && quoted.endsWith(QStringLiteral("x\\u202E\": line ignored.")),
                 qPrintable(quoted.right(40)));
    }

    void theSourceIsCollapsedAtFirst() {
        ChemistryPanel panel;
        panel.setChemistry(glaze());
        QVERIFY(shown(panel.referenceBlock()));
        QVERIFY(!panel.sourceGroup()->isExpanded());
        QVERIFY(panel.sourceGroup()->content()->isHidden());
        QTest::mouseClick(panel.sourceGroup()->toggle(), Qt::LeftButton);
        QVERIFY(panel.sourceGroup()->isExpanded());
        const auto* source = qobject_cast<QLabel*>(panel.sourceGroup()->content());
        QCOMPARE(source->text(), QString::fromStdString(panel.chosenLimitSet()->source));
        QVERIFY(source->textInteractionFlags() & Qt::TextSelectableByMouse);
    }

    void arrowsAskTheOwnerForANudge() {
        ChemistryPanel panel;
        panel.setOffersNudge(true);
        panel.setChemistry(glaze());
        QSignalSpy nudges(&panel, &ChemistryPanel::nudgeRequested);
        emit panel.grid()->nudgeRequested(Oxide::Al2O3, 1);
        QCOMPARE(nudges.count(), 1);
        QCOMPARE(nudges.at(0).at(0).value<Oxide>(), Oxide::Al2O3);
    }
};

QTEST_MAIN(ChemistryPanelTest)
#include "ChemistryPanelTest.moc"
