#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/reformulate/Adjustment.h"
#include "GlazeCore/reformulate/ReformulateError.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>
#include <variant>
#include <vector>

class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace Orza {

class AdjustmentSummary;
class BookDocument;
class BookLibrary;
class ScreenFit;

/**
 * What the Oxide Nudge and Replace Material sheets share: a window-modal sheet sized from the screen that
 * solves its reformulation of one recipe again whenever the recipe or a choice changes, shows the result
 * or why there is none, and writes nothing until the result is applied — in place (the recipe's lines, one
 * undo step) or as a copy inserted right after the recipe and selected (one undo step).
 *
 * The sheet keeps no copy of the recipe: it reads the book's recipe by id on every solve, and only when
 * the book no longer holds it does it keep working on the last one it saw. The result is never kept past
 * the next solve.
 */
class ReformulateSheet : public QDialog {
    Q_OBJECT
public:
    /// Why a solve gave no result: the sentence to show and, from the engine, its error.
    struct Failure {
        QString message;
        std::optional<GlazeCore::ReformulateError> error;
    };
    using Result = std::variant<GlazeCore::Adjustment, Failure>;
    /// Makes a recipe the window's selection.
    using Select = std::function<void(const GlazeCore::Uuid&)>;

    ~ReformulateSheet() override;

    /// The recipe as the book holds it now (the last one seen once the book no longer holds it).
    const GlazeCore::Recipe& recipe() const { return m_recipe; }
    const BookLibrary& library() const;
    /// The last solve: none while the sheet has nothing to solve yet.
    const std::optional<Result>& result() const { return m_result; }
    /// The last solve's adjustment, null unless it succeeded.
    const GlazeCore::Adjustment* adjustment() const;
    /// How many solves the sheet has run; each change of input runs exactly one.
    int solveCount() const { return m_solves; }

    /// Writes the adjusted lines into the recipe as one undo step and closes the sheet. Nothing on a failure.
    void applyInPlace();
    /// Inserts the adjusted recipe as a new one right after the recipe (at the end when the book no longer
    /// holds it), as one undo step, closes the sheet and selects the copy. Nothing on a failure.
    void applyAsCopy();

    /// The sheet's size on a screen whose visible frame has this size; 900 × 740 without one.
    static QSize sheetSize(std::optional<QSize> visibleFrame);
    /// The visible frame of the active window's screen, else the primary screen's; none without a screen.
    static std::optional<QSize> screenFrame();
    /// A recipe's name as the base of a copy's name: "Untitled recipe" only for a name with no characters.
    static QString copyBaseName(const GlazeCore::Recipe& recipe);
    /// Runs a reformulation and turns what it throws into a failure.
    static Result run(const std::function<GlazeCore::Adjustment()>& reformulate);

    /// Solves again for the book's recipe and the sheet's choices and shows the outcome.
    void refresh();

    AdjustmentSummary* summary() const { return m_summary; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    ReformulateSheet(BookDocument& document, const GlazeCore::Uuid& recipeID, Select select, QWidget* parent);

    /// The sheet's content column.
    QVBoxLayout* content() const { return m_content; }
    BookDocument& document() const { return m_document; }
    /// A button of the sheet, with its help shown as a tool tip.
    static QPushButton* button(const QString& title, const QString& help = {});
    /// The area under the choices: a page of `messageParts` one under another, or the summary of a solve.
    QWidget* makeResultArea(const std::vector<QWidget*>& messageParts);
    void showSummary(bool shown);
    /// The row of buttons at the sheet's foot: Cancel, then `actions` in order.
    QWidget* makeButtonRow(const std::vector<QPushButton*>& actions);

    /// Runs the sheet's reformulation of `recipe`; none when it has nothing to solve.
    virtual std::optional<Result> solve(const GlazeCore::Recipe& recipe) = 0;
    /// Shows the outcome of the solve just run.
    virtual void showResult() = 0;
    /// What the copy's name ends with, after the recipe's name.
    virtual QString copySuffix() const = 0;
    /// The undo steps' names.
    virtual QString inPlaceStepName() const = 0;
    virtual QString copyStepName() const = 0;

    void done(int result) override;

private:
    void readRecipe();

    BookDocument& m_document;
    GlazeCore::Uuid m_recipeID;
    Select m_select;
    GlazeCore::Recipe m_recipe;
    std::optional<Result> m_result;
    int m_solves = 0;
    bool m_finished = false;
    QVBoxLayout* m_content = nullptr;
    ScreenFit* m_fit = nullptr;
    QStackedWidget* m_resultArea = nullptr;
    AdjustmentSummary* m_summary = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace Orza
