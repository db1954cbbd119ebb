#pragma once

#include "GlazeCore/chemistry/Chemistry.h"
#include "Orza/chemistry/LimitComparison.h"
#include "Orza/chemistry/OxideGroup.h"
#include "Orza/widgets/FirstFitView.h"

#include <array>

class QFrame;
class QGridLayout;
class QLabel;

namespace Orza {

class ArrowStepper;
class RangeStatusCell;

/**
 * The unity formula table of the chemistry panel: one row per listed oxide under its group heading, with
 * UMF, mole and weight %, the reference range and its status, and nudge arrows when Oxide Nudge is offered.
 *
 * Every cell of all 22 oxides is made once; an update sets texts and shows or hides rows. The table takes
 * the widest of its three layouts that fits the width it is given, measured from the texts' font metrics:
 * `full`, then `medium` (no Mol %), then `compact` (status symbols without words, tighter columns).
 * Columns keep their natural widths; spare width stays empty at the trailing side.
 */
class UmfGrid final : public FirstFitView {
    Q_OBJECT
public:
    enum class Variant { full, medium, compact };
    enum Column {
        oxideColumn,
        umfColumn,
        arrowsColumn,
        moleColumn,
        weightColumn,
        rangeColumn,
        statusColumn,
        columnCount
    };

    explicit UmfGrid(QWidget* parent = nullptr);

    /// Shows the chemistry against the comparison (made over the same chemistry). `offersNudge`: the owner
    /// serves nudge requests.
    void setContent(const GlazeCore::Chemistry& chemistry, const LimitComparison& comparison, bool offersNudge,
                    bool includeAdditions);

    Variant variant() const { return Variant(currentVariant()); }
    int naturalWidthOf(Variant variant) const { return naturalWidth(int(variant)); }
    int columnSpacing(Variant variant) const { return variant == Variant::compact ? 10 : 12; }
    /// The arrows column exists: nudging is offered, there is a UMF and additions are not counted.
    bool arrowsShown() const { return m_arrowsShown; }
    /// The columns of a variant, which the group headings span.
    int gridColumnCount(Variant variant) const;

    bool isRowShown(GlazeCore::Oxide oxide) const;
    QLabel* headerCell(Column column) const { return m_header[column]; }
    QLabel* groupHeading(OxideGroup group) const { return m_headings[std::size_t(group)]; }
    QFrame* fluxDivider() const { return m_divider; }
    QLabel* oxideCell(GlazeCore::Oxide oxide) const { return row(oxide).oxide; }
    QLabel* umfCell(GlazeCore::Oxide oxide) const { return row(oxide).umf; }
    ArrowStepper* stepper(GlazeCore::Oxide oxide) const { return row(oxide).stepper; }
    QLabel* moleCell(GlazeCore::Oxide oxide) const { return row(oxide).mole; }
    QLabel* weightCell(GlazeCore::Oxide oxide) const { return row(oxide).weight; }
    QLabel* rangeCell(GlazeCore::Oxide oxide) const { return row(oxide).range; }
    RangeStatusCell* statusCell(GlazeCore::Oxide oxide) const { return row(oxide).status; }

signals:
    void nudgeRequested(GlazeCore::Oxide oxide, int direction);

protected:
    int variantCount() const override { return 3; }
    int naturalWidth(int variant) const override;
    int naturalHeight(int variant, int width) const override;
    void showVariant(int variant) override;
    void arrange() override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QLabel* oxide = nullptr;
        QLabel* umf = nullptr;
        ArrowStepper* stepper = nullptr;
        QLabel* mole = nullptr;
        QLabel* weight = nullptr;
        QLabel* range = nullptr;
        RangeStatusCell* status = nullptr;
        bool shown = false;
        bool canNudge = false;
    };

    const Row& row(GlazeCore::Oxide oxide) const { return m_rows[GlazeCore::OxideNames::index(oxide)]; }
    Row& row(GlazeCore::Oxide oxide) { return m_rows[GlazeCore::OxideNames::index(oxide)]; }
    void buildHeader();
    void buildRow(GlazeCore::Oxide oxide, int gridRow);
    void updateRow(GlazeCore::Oxide oxide, const GlazeCore::Chemistry& chemistry, const LimitComparison& comparison);
    void applyVisibility();
    /// Lays the headings and the divider across the grid, over the rows kept for them.
    void placeOverlays();
    QWidget* makeSlot(QWidget* overlay, int gridRow);
    bool columnVisible(Column column, Variant variant) const;
    int columnWidth(Column column, Variant variant) const;

    QWidget* m_content;
    QGridLayout* m_grid;
    std::array<QLabel*, columnCount> m_header{};
    std::array<QLabel*, 4> m_headings{};
    // Headings and the divider span the table, but a spanning layout item would keep spacing for hidden
    // columns; so each stands over an empty row of its own height instead of in the layout.
    std::array<QWidget*, 4> m_headingSlots{};
    QWidget* m_dividerSlot = nullptr;
    std::array<bool, 4> m_headingShown{};
    QFrame* m_divider = nullptr;
    std::array<Row, GlazeCore::oxideCount> m_rows;
    bool m_arrowsShown = false;
    Variant m_variant = Variant::full;
};

} // namespace Orza
