#pragma once

#include "GlazeCore/reformulate/Adjustment.h"
#include "Orza/chemistry/StullChartRules.h"

#include <QLocale>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QGridLayout;
class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace Orza {

class BookLibrary;
class IconLabel;
class ElidedLabel;
class StullChartView;

/**
 * The now-and-new view of a reformulation that both reformulation sheets show: whether every oxide was
 * reached (or a line per miss), the base materials now and new, the unity formula now, aimed at and new,
 * and the Stull chart comparing the recipe now with the new one.
 *
 * It works out no chemistry: every value comes from the Adjustment, and the view only picks, sums and
 * formats them. The sheet gives it new content once per solve; rows are reused from one solve to the next,
 * so typing a target does not build the grids again.
 */
class AdjustmentSummary final : public QWidget {
    Q_OBJECT
public:
    /// One line of the materials grid: a material's summed base amount now and new.
    struct MaterialRow {
        std::string id;
        double before = 0;
        double after = 0;
    };
    /// The sentence of one missed oxide: the oxide, its miss and the whole adjustment.
    using MissText = std::function<QString(GlazeCore::Oxide, double, const GlazeCore::Adjustment&)>;

    struct MaterialCells {
        ElidedLabel* name = nullptr;
        QLabel* now = nullptr;
        QLabel* next = nullptr;
        QLabel* change = nullptr;
    };
    struct UnityCells {
        QLabel* oxide = nullptr;
        QLabel* now = nullptr;
        QLabel* target = nullptr;
        QLabel* mark = nullptr;
        QLabel* next = nullptr;
    };

    explicit AdjustmentSummary(QWidget* parent = nullptr);
    ~AdjustmentSummary() override;

    void setContent(const GlazeCore::Recipe& original, const GlazeCore::Adjustment& adjustment,
                    const BookLibrary& library, const QString& targetTitle, const MissText& missText);

    /// Base materials in order of first appearance, the current recipe's first; several lines of one
    /// material summed, negative and unknown amounts counted as 0.
    static std::vector<MaterialRow> materialRows(const GlazeCore::Recipe& original, const GlazeCore::Recipe& adjusted);
    /// An oxide gets a row when it is above 0.00005 now, new or at the target, or when it missed.
    static bool showsOxide(const GlazeCore::Adjustment& adjustment, GlazeCore::Oxide oxide);
    /// The chemistry's place on the chart; none unless both values are finite and one is above 0.
    static std::optional<StullPoint> stullPoint(const GlazeCore::Chemistry& chemistry);
    /// The chart compares the recipe now (its trail) with the new one (its current point).
    static StullChartInput chartInput(const GlazeCore::Adjustment& adjustment);
    /// "0" below half a hundredth, else "+3" or "−3" (U+2212) with up to 2 decimals.
    static QString changeText(double before, double after, const QLocale& locale = {});
    /// The New amount is emphasised when it moved by more than half a hundredth.
    static bool isEmphasised(double before, double after);

    // What is shown, for the sheets' tests and for assistive technology.
    IconLabel* reachedLabel() const { return m_reached; }
    /// The miss lines shown now, in oxide order.
    std::vector<IconLabel*> missLabels() const;
    int shownMaterialRows() const { return m_shownMaterials; }
    const MaterialCells& materialCells(int row) const { return m_materials.at(std::size_t(row)); }
    const MaterialCells& totalCells() const { return m_total; }
    const UnityCells& unityCells(GlazeCore::Oxide oxide) const;
    /// The oxides with a row now, in oxide order.
    std::vector<GlazeCore::Oxide> shownOxides() const;
    const UnityCells& ratioCells() const { return m_ratio; }
    QLabel* targetHeader() const { return m_targetHeader; }
    StullChartView* chart() const { return m_chart; }

private:
    void buildOutcome(QVBoxLayout* column);
    void buildMaterialsGrid(QVBoxLayout* column);
    void buildUnityGrid(QVBoxLayout* column);
    /// The chart in a column of its own that scrolls when the sheet is too short for it.
    static QScrollArea* chartArea(StullChartView* chart);
    void addMaterialRow();
    void placeTotalRow();
    void showOutcome(const GlazeCore::Adjustment& adjustment, const QString& targetTitle, const MissText& missText);
    void showMaterials(const GlazeCore::Recipe& original, const GlazeCore::Adjustment& adjustment,
                       const BookLibrary& library);
    void showUnity(const GlazeCore::Adjustment& adjustment, const QString& targetTitle);

    QScrollArea* m_scroll = nullptr;
    IconLabel* m_reached = nullptr;
    QWidget* m_misses = nullptr;
    std::vector<IconLabel*> m_missLabels;
    QWidget* m_materialsGrid = nullptr;
    QGridLayout* m_materialsLayout = nullptr;
    std::vector<MaterialCells> m_materials;
    int m_shownMaterials = 0;
    MaterialCells m_total;
    QWidget* m_unityGrid = nullptr;
    QLabel* m_targetHeader = nullptr;
    std::array<UnityCells, GlazeCore::oxideCount> m_unity{};
    UnityCells m_ratio;
    StullChartView* m_chart = nullptr;
};

} // namespace Orza
