#pragma once

#include "GlazeCore/chemistry/Chemistry.h"
#include "GlazeCore/chemistry/LimitSet.h"
#include "Orza/settings/Settings.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QVBoxLayout;

namespace Orza {

class DisclosureGroup;
class IconLabel;
class LimitComparison;
class UmfGrid;

/**
 * The computed chemistry of one recipe: the incomplete-rows note, the choice of reference ranges, the
 * switch that counts additions, the ratios and expansion, the UMF grid, the oxides left out of it, the
 * count outside the reference ranges and the calculator's warnings.
 *
 * The owner gives a new `Chemistry` on every change of the recipe; the panel keeps no other state. The
 * chosen reference set and whether additions count are per-user settings: the panel's picker and check box
 * write them, and every open panel follows a change at once. The owner recomputes the chemistry when
 * "includeAdditions" changes (Settings::changed).
 */
class ChemistryPanel final : public QWidget {
    Q_OBJECT
public:
    explicit ChemistryPanel(QWidget* parent = nullptr);
    ~ChemistryPanel() override;

    /// Shows a new chemistry. `incompleteNote`: the sentence about rows with an amount but no material.
    void setChemistry(const GlazeCore::Chemistry& chemistry,
                      const std::optional<QString>& incompleteNote = std::nullopt);
    const GlazeCore::Chemistry& chemistry() const { return m_chemistry; }
    /// Whether the owner serves nudgeRequested(); without it the grid offers no arrows.
    void setOffersNudge(bool offers);
    bool offersNudge() const { return m_offersNudge; }

    /// The stored per-user settings the panel works with, as it last read them.
    bool includeAdditions() const { return m_includeAdditions; }
    const QString& limitSetID() const { return m_limitSetID; }
    /// The reference set in force: the stored one, else the first.
    const GlazeCore::LimitSet* chosenLimitSet() const;
    /// The comparison behind what is shown now.
    const LimitComparison& comparison() const { return *m_comparison; }

    UmfGrid* grid() const { return m_grid; }
    QComboBox* limitSetPicker() const { return m_picker; }
    QCheckBox* includeAdditionsBox() const { return m_includeBox; }
    IconLabel* incompleteNote() const { return m_incomplete; }
    QLabel* nudgeNote() const { return m_nudgeNote; }
    QWidget* referenceBlock() const { return m_referenceBlock; }
    DisclosureGroup* sourceGroup() const { return m_source; }
    QLabel* ratioValue(int row) const;
    QLabel* ratioLabel(int row) const;
    QLabel* expansionPartialNote() const { return m_partialNote; }
    QLabel* noUmfNote() const { return m_noUmfNote; }
    QLabel* notListedLine() const { return m_notListed; }
    IconLabel* outsideRangeLabel() const { return m_outside; }
    QWidget* warningsBlock() const { return m_warnings; }
    /// The warning labels shown now, in order.
    std::vector<IconLabel*> shownWarnings() const;

signals:
    /// An arrow of the grid asks for an Oxide Nudge of the oxide, up (+1) or down (-1).
    void nudgeRequested(GlazeCore::Oxide oxide, int direction);

private:
    void buildPicker(QVBoxLayout* column);
    void buildReferenceBlock(QVBoxLayout* column);
    void buildRatios(QVBoxLayout* column);
    void buildWarnings(QVBoxLayout* column);
    void readSettings();
    void settingChanged(Settings::Key key);
    void refresh();
    void refreshPicker(const GlazeCore::LimitSet* set);
    void refreshRatios();
    void refreshWarnings();
    void limitSetChosen(int index);

    GlazeCore::Chemistry m_chemistry;
    std::optional<QString> m_incompleteText;
    std::unique_ptr<LimitComparison> m_comparison;
    bool m_offersNudge = false;
    bool m_includeAdditions = false;
    QString m_limitSetID;

    IconLabel* m_incomplete;
    QComboBox* m_picker = nullptr;
    QCheckBox* m_includeBox;
    QLabel* m_nudgeNote;
    QWidget* m_referenceBlock = nullptr;
    QLabel* m_sourceText = nullptr;
    DisclosureGroup* m_source = nullptr;
    QGridLayout* m_ratios = nullptr;
    QLabel* m_partialNote = nullptr;
    QLabel* m_noUmfNote;
    UmfGrid* m_grid;
    QLabel* m_notListed;
    IconLabel* m_outside;
    QWidget* m_warnings = nullptr;
    QVBoxLayout* m_warningList = nullptr;
    std::vector<IconLabel*> m_warningLabels;
};

} // namespace Orza
