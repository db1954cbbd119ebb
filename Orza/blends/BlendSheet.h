#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "Orza/blends/BlendTiles.h"
#include "Orza/display/ShownTextEdit.h"
#include "Orza/display/TextDisplay.h"
#include "Orza/models/WindowTypes.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <string>
#include <utility>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QStackedWidget;

namespace Orza {

class BookDocument;
class ContentUnavailableView;
class TileCardGrid;
class WholeNumberStepper;
struct PaneContext;

/**
 * The blend sheet: two, three or four recipes of the book (the corners) mixed into a line, a triaxial
 * blend or a four-corner grid of test tiles, each shown as a card with its lines and chemistry. "Add Tiles
 * to Book" appends the tiles as recipes and, when asked, one test-log entry each with a code from the
 * document's ledger, all as one undo step; the sheet stays open. The tiles follow every change of the
 * choices and of the book at once.
 */
class BlendSheet final : public QDialog {
    Q_OBJECT
public:
    BlendSheet(BookDocument& document, const GlazeCore::Uuid& startRecipeID, BlendMode mode, QWidget* parent = nullptr);

    /// Opens the sheet window-modal over the window, starting from the recipe in the given mode. The window
    /// model's blendMode holds the mode while it is up: clearing it closes the sheet, closing the sheet clears
    /// it. A sheet already up is brought forward instead.
    static BlendSheet* open(const PaneContext& context, const GlazeCore::Uuid& startRecipeID, BlendMode mode);
    using QDialog::open;

    const BlendChoice& choice() const { return m_choice; }
    void setMode(BlendMode mode);
    void setCorner(int index, const GlazeCore::Uuid& recipeID);
    void setSteps(int steps);
    void setDivisions(int divisions);
    void setRows(int rows);
    void setColumns(int columns);
    /// The prefix whole, as typed or as the start recipe's name; the field shows a huge one by its ends.
    const std::string& namePrefix() const { return m_namePrefix; }
    void setNamePrefix(const std::string& prefix);
    bool addTestEntries() const { return m_addTestEntries; }
    void setAddTestEntries(bool add);
    const std::optional<QString>& addedMessage() const { return m_addedMessage; }

    /// The tiles of the choices and the book as they are now.
    std::vector<BlendTile> tiles() const;
    /// A prefix too long to show is quoted by its ends, on the cards and in the added recipes' names alike.
    /// The field's own quote is the one used, so that a key typed next to its "…" shows in the names too.
    QString tileTitle(const BlendTile& tile) const { return blendTileTitle(m_prefixEdit.shown(), tile); }

    /// Add Tiles to Book: the tiles as new recipes (and test tiles) at the end of the book, one undo step.
    void addTilesToBook(const std::vector<BlendTile>& tiles);

    QPushButton* modeButton(BlendMode mode) const;
    QComboBox* cornerPicker(int index) const;
    QLabel* cornerLabel(int index) const;
    WholeNumberStepper* stepsStepper() const { return m_steps; }
    WholeNumberStepper* divisionsStepper() const { return m_divisions; }
    WholeNumberStepper* rowsStepper() const { return m_rows; }
    WholeNumberStepper* columnsStepper() const { return m_columns; }
    QLabel* countLabel() const { return m_count; }
    ContentUnavailableView* emptyView() const { return m_empty; }
    TileCardGrid* grid() const { return m_grid; }
    QLineEdit* prefixField() const { return m_prefix; }
    QCheckBox* testEntriesBox() const { return m_testEntries; }
    QLabel* messageLabel() const { return m_messageLabel; }
    QPushButton* closeButton() const { return m_close; }
    QPushButton* addButton() const { return m_add; }

private:
    void build();
    QWidget* makeControls();
    QWidget* makeTileArea();
    QWidget* makeFooter();
    WholeNumberStepper* makeStepper(int minimum, int maximum, const QString& accessibleName);
    void refresh();
    void refreshCornerPickers();
    void refreshSteppers();
    void setMessage(const QString& text);
    void prefixEdited(const QString& typed);

    BookDocument& m_document;
    BlendChoice m_choice;
    std::string m_namePrefix;
    ShownTextEdit m_prefixEdit;
    bool m_addTestEntries = true;
    std::optional<QString> m_addedMessage;
    /// What the corner pickers list: each recipe's name and id.
    std::vector<std::pair<QString, QString>> m_pickerEntries;

    QButtonGroup* m_modes = nullptr;
    std::vector<QLabel*> m_cornerLabels;
    std::vector<QComboBox*> m_cornerPickers;
    std::vector<QWidget*> m_cornerBoxes;
    QStackedWidget* m_resolution = nullptr;
    WholeNumberStepper* m_steps = nullptr;
    WholeNumberStepper* m_divisions = nullptr;
    WholeNumberStepper* m_rows = nullptr;
    WholeNumberStepper* m_columns = nullptr;
    QStackedWidget* m_tileArea = nullptr;
    ContentUnavailableView* m_empty = nullptr;
    QLabel* m_count = nullptr;
    QScrollArea* m_scroll = nullptr;
    TileCardGrid* m_grid = nullptr;
    QLineEdit* m_prefix = nullptr;
    QCheckBox* m_testEntries = nullptr;
    QLabel* m_messageLabel = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_add = nullptr;
};

} // namespace Orza
