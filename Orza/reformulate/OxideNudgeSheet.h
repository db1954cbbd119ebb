#pragma once

#include "GlazeCore/chemistry/Chemistry.h"
#include "Orza/models/WindowTypes.h"
#include "Orza/reformulate/ReformulateSheet.h"

#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QStackedWidget;
class QWidget;

namespace Orza {

class AdjustmentSummary;
class ArrowStepper;
class IconLabel;
class LiveNumberField;
struct PaneContext;

/**
 * Oxide Nudge: moves one oxide of the recipe's unity formula to a target by changing the amounts of its
 * base materials only. The user picks the oxide (those in the base first) and types or steps the target;
 * every change solves again and shows the recipe now and new, or why it cannot. When no base material
 * supplies the oxide, the sheet suggests materials that do and adds the one chosen to the calculation.
 */
class OxideNudgeSheet final : public ReformulateSheet {
    Q_OBJECT
public:
    OxideNudgeSheet(BookDocument& document, const GlazeCore::Uuid& recipeID, GlazeCore::Oxide oxide, double target,
                    Select select, QWidget* parent = nullptr);

    /// Opens the sheet window-modal over the window for the request, its target started from the recipe's
    /// base chemistry. The window model holds the request while the sheet is up: clearing it closes the
    /// sheet, closing the sheet clears it. None when the book has no recipe with that id.
    static OxideNudgeSheet* open(const PaneContext& context, const GlazeCore::Uuid& recipeID,
                                 const NudgeRequest& request);
    using QDialog::open;
    /// Where a request starts the target for the recipe: from its base UMF value of the oxide (0 when that
    /// cannot be worked out), one step up or down, or unchanged for direction 0.
    static double initialTarget(const GlazeCore::Recipe& recipe, const BookLibrary& library,
                                const NudgeRequest& request);

    GlazeCore::Oxide oxide() const { return m_oxide; }
    /// Another oxide: the target starts at its current value and the added materials are dropped.
    void setOxide(GlazeCore::Oxide oxide);
    double target() const { return m_target; }
    void setTarget(double target);
    const std::vector<std::string>& extras() const { return m_extras; }
    /// Lets the solve use a suggested material.
    void addExtra(const std::string& materialID);
    /// One press of the stepper, up (+1) or down (−1).
    void step(int direction);

    /// The oxide's value in the recipe's base UMF now; 0 when it cannot be worked out.
    double currentValue() const;
    /// The result differs from the recipe now; false for a failure.
    bool hasChanges() const;

    QComboBox* oxidePicker() const { return m_picker; }
    QLabel* nowLabel() const { return m_now; }
    LiveNumberField* targetField() const { return m_targetField; }
    ArrowStepper* stepper() const { return m_stepper; }
    QLabel* changeLabel() const { return m_change; }
    IconLabel* failureLabel() const { return m_failure; }
    QLabel* suggestionNote() const { return m_suggestionNote; }
    /// The suggestion buttons shown now, in the engine's order.
    std::vector<QPushButton*> suggestionButtons() const;
    QPushButton* copyButton() const { return m_copy; }
    QPushButton* applyButton() const { return m_apply; }

protected:
    std::optional<Result> solve(const GlazeCore::Recipe& recipe) override;
    void showResult() override;
    QString copySuffix() const override;
    QString inPlaceStepName() const override;
    QString copyStepName() const override;

private:
    QWidget* makeTargetRow();
    QWidget* makeResultArea();
    QWidget* makeButtons();
    void showPicker();
    void showTargetRow();
    void showFailure(const Failure& failure);
    void showSuggestions(const std::vector<GlazeCore::Material>& materials);

    GlazeCore::Oxide m_oxide;
    double m_target;
    std::vector<std::string> m_extras;
    /// The base chemistry of the last solve's recipe; none when it could not be worked out.
    std::optional<GlazeCore::Chemistry> m_base;
    /// The oxides the picker lists before its divider.
    std::optional<std::vector<GlazeCore::Oxide>> m_pickerFirst;

    QComboBox* m_picker = nullptr;
    QLabel* m_now = nullptr;
    LiveNumberField* m_targetField = nullptr;
    ArrowStepper* m_stepper = nullptr;
    QLabel* m_change = nullptr;
    IconLabel* m_failure = nullptr;
    QLabel* m_suggestionNote = nullptr;
    QWidget* m_suggestionRow = nullptr;
    std::vector<QPushButton*> m_suggestions;
    std::vector<std::string> m_suggestedIDs;
    QPushButton* m_copy = nullptr;
    QPushButton* m_apply = nullptr;
};

} // namespace Orza
