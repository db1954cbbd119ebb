#pragma once

#include "GlazeCore/chemistry/Chemistry.h"
#include "GlazeCore/text/Uuid.h"
#include "Orza/display/ShownTextEdit.h"
#include "Orza/models/PaneContext.h"
#include "Orza/models/WindowTypes.h"

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;
class QStackedWidget;
class QTimer;

namespace GlazeCore {
struct Recipe;
}

namespace Orza {

class BookDocument;
class ChemistryPanel;
class IconLabel;
class NotesField;
class RecipeLinesTable;
class StullChartView;

/**
 * The pane of one recipe: its name, cone and notes, the table of its material lines and its place on
 * Stull's chart, beside the chemistry column when the window shows it.
 *
 * The pane keeps no copy of the recipe: every field writes through the document's edits of this recipe,
 * and the pane follows the document's signals. The chemistry is worked out once per change (changes made
 * together are taken together), then the panel and the chart show it and the recipe's trail records its
 * new place. The pane serves the recipe's commands and the chemistry switch through the window's action
 * registry while it lives, and opens the sheets that work on the recipe. Its window title names the recipe and cone
 * (subtitle()), for the window to show after the book's name.
 */
class RecipePane final : public QWidget {
    Q_OBJECT
public:
    /// The chemistry of the recipe as it is now: a result, or the sentence of what stopped it.
    struct LiveChemistry {
        std::optional<GlazeCore::Chemistry> result;
        QString failure;
        /// No line names a material: there is nothing to calculate.
        bool nothingChosen = true;
    };

    RecipePane(const PaneContext& context, const GlazeCore::Uuid& recipeID, QWidget* parent = nullptr);
    ~RecipePane() override;

    const GlazeCore::Uuid& recipeID() const { return m_recipeID; }

    QLineEdit* nameField() const { return m_name; }
    QComboBox* conePicker() const { return m_cone; }
    QPlainTextEdit* notesField() const;
    RecipeLinesTable* linesTable() const { return m_lines; }
    StullChartView* chart() const { return m_chart; }
    QScrollArea* chemistryColumn() const { return m_column; }
    ChemistryPanel* chemistryPanel() const { return m_panel; }
    /// The "Chemistry" title and the sentence shown instead of the panel; hidden while the panel shows.
    IconLabel* chemistryNote() const { return m_note; }

    /// Gives the name field the keyboard with the name selected, for a recipe just made.
    void focusName();

    /// Works the chemistry out now rather than after the pending changes have settled.
    void refreshNow();
    const LiveChemistry& liveChemistry() const { return m_live; }
    const std::optional<StullPoint>& stullPoint() const { return m_point; }

    // The pane's rules, worked out without widgets.
    static LiveChemistry chemistryOf(const GlazeCore::Recipe& recipe, const class BookLibrary& library,
                                     bool includeAdditions);
    static std::optional<StullPoint> pointOf(const LiveChemistry& chemistry);
    static bool hasBoron(const LiveChemistry& chemistry);
    /// "Name · Cone 6": the pane's title.
    static QString subtitle(const GlazeCore::Recipe& recipe);
    /// The cone picker's values: every cone of the list, then the recipe's own cone when the list lacks it.
    static std::vector<std::string> coneChoices(const std::string& cone);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildHeader();
    QWidget* buildEditorColumn();
    void buildChemistryColumn();
    void connectDocument();
    void showRecipeFields();
    void showNotes();
    void showCone();
    void scheduleRefresh();
    void refresh();
    void showChemistry();
    void updateChart();
    /// The commands this pane serves while it is on screen: a blank line, the sheets, printing, the chemistry.
    void setHandlers();
    void followChemistryShown();
    void requestNudge(GlazeCore::Oxide oxide, int direction);

    PaneContext m_context;
    BookDocument& m_document;
    GlazeCore::Uuid m_recipeID;
    QLineEdit* m_name = nullptr;
    ShownTextEdit m_nameEdit;
    QComboBox* m_cone = nullptr;
    NotesField* m_notes = nullptr;
    IconLabel* m_notesTooLong = nullptr;
    RecipeLinesTable* m_lines = nullptr;
    StullChartView* m_chart = nullptr;
    QWidget* m_columnDivider = nullptr;
    QScrollArea* m_column = nullptr;
    QLabel* m_noteTitle = nullptr;
    IconLabel* m_note = nullptr;
    ChemistryPanel* m_panel = nullptr;
    IconLabel* m_bundledProblem = nullptr;
    QTimer* m_refresh = nullptr;
    LiveChemistry m_live;
    std::optional<StullPoint> m_point;
};

} // namespace Orza
