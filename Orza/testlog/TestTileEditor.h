#pragma once

#include "GlazeCore/text/Uuid.h"
#include "Orza/document/BookFieldNames.h"

#include <QScrollArea>

#include <functional>

class QComboBox;
class QDateEdit;
class QPlainTextEdit;

namespace Orza {

class ActionRegistry;
class BookDocument;
class FiringRampChart;
class FiringScheduleEditor;
class IconLabel;
class PlainTextField;
class ProblemLabel;
class TileCodeField;
class TileDateField;
class TilePhotoSection;

/**
 * The editor of one test tile: a scrolling form of four sections. "Tile" holds the code with its live
 * check, the recipe, cone and atmosphere pickers and the firing date; "Firing schedule (°C)" the
 * schedule table over its ramp chart; then the notes and the photo link.
 *
 * Every field writes through the document's tile edits, one undoable step each (typing merges), and
 * follows the document's change signals, so an undo anywhere shows at once. Showing a tile never changes
 * the book. Made afresh for each tile selected; when the tile leaves the book the form stays, disabled,
 * until an undo brings it back.
 */
class TestTileEditor final : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int rampChartHeight = 180;
    static constexpr int notesMinimumHeight = 80;

    TestTileEditor(BookDocument& document, ActionRegistry& actions, const GlazeCore::Uuid& tileID,
                   QWidget* parent = nullptr);

    const GlazeCore::Uuid& tileID() const { return m_tileID; }
    /// Print Label… runs this; without one the button stays disabled.
    void setPrintLabel(std::function<void()> printLabel);

    TileCodeField* codeField() const { return m_code; }
    QComboBox* recipePicker() const { return m_recipe; }
    QComboBox* conePicker() const { return m_cone; }
    QComboBox* atmospherePicker() const { return m_atmosphere; }
    QDateEdit* datePicker() const;
    /// Why the date chosen last was refused; hidden while none was.
    ProblemLabel* dateProblem() const { return m_dateProblem; }
    FiringScheduleEditor* scheduleEditor() const { return m_schedule; }
    FiringRampChart* rampChart() const { return m_chart; }
    QPlainTextEdit* notesEditor() const;
    TilePhotoSection* photoSection() const { return m_photo; }

private:
    QWidget* makeTileSection(ActionRegistry& actions);
    QWidget* makeScheduleSection(ActionRegistry& actions);
    QWidget* makeNotesSection(ActionRegistry& actions);
    QWidget* makePhotoSection();

    void showRecipes();
    void showCone();
    void showAtmosphere();
    void showNotes();
    void showAll();
    void onTileChanged(const GlazeCore::Uuid& tileID, int row, TileField field);

    BookDocument& m_document;
    GlazeCore::Uuid m_tileID;
    QWidget* m_form = nullptr;
    TileCodeField* m_code = nullptr;
    QComboBox* m_recipe = nullptr;
    QComboBox* m_cone = nullptr;
    QComboBox* m_atmosphere = nullptr;
    TileDateField* m_date = nullptr;
    ProblemLabel* m_dateProblem = nullptr;
    FiringScheduleEditor* m_schedule = nullptr;
    FiringRampChart* m_chart = nullptr;
    PlainTextField* m_notes = nullptr;
    IconLabel* m_notesTooLong = nullptr;
    TilePhotoSection* m_photo = nullptr;
    /// True while the form shows the book's values, so the widgets' change signals are not edits.
    bool m_showing = false;
};

} // namespace Orza
