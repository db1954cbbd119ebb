#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/text/Uuid.h"
#include "Orza/document/BookFieldNames.h"

#include <QSet>
#include <QWidget>

#include <vector>

class QGridLayout;
class QLabel;
class QPushButton;
class QToolButton;

namespace Orza {

class ActionRegistry;
class BookDocument;
class LiveNumberField;
class ProblemLabel;

/**
 * The table that edits one tile's firing schedule: a row per segment with its rate, target and hold, a
 * remove button per row, then Add Segment, Cone 6 Default and the total firing time.
 *
 * Every change reads the tile's schedule from the book, changes it and writes the whole list back through
 * the document, one undoable edit; typing in the fields of one schedule merges into one step until a field
 * loses the focus. The fields take what a book file can hold: a text that is no such number writes nothing
 * and shows the limit with the value the segment keeps, the one its edit began from, which leaving the field
 * goes back to. Add Segment stops at the most segments a tile may have. The buttons end a field's edit
 * before they move rows under it, as a command does, so what a row's field took back stays its own segment's.
 */
class FiringScheduleEditor final : public QWidget {
    Q_OBJECT
public:
    enum class Column { rate, target, hold };

    FiringScheduleEditor(BookDocument& document, ActionRegistry& actions, const GlazeCore::Uuid& tileID,
                         QWidget* parent = nullptr);

    /// The tile's schedule as the book holds it now; empty once the tile is gone.
    std::vector<GlazeCore::FiringSegment> schedule() const;

    void addFiringSegment();
    void applyCone6Default();
    /// Removes the segment at `index`; an index outside the schedule changes nothing.
    void removeSegment(int index);

    int rowCount() const { return int(m_rows.size()); }
    LiveNumberField* field(int row, Column column) const;
    QToolButton* removeButton(int row) const;
    QPushButton* addButton() const { return m_add; }
    QPushButton* cone6Button() const { return m_cone6; }
    QLabel* totalLabel() const { return m_total; }
    /// The limit message, shown while a field holds a text that is no number the book can keep.
    ProblemLabel* problemLabel() const { return m_problem; }

signals:
    /// The schedule the editor shows changed, by its own edit or from elsewhere.
    void scheduleShown(const std::vector<GlazeCore::FiringSegment>& schedule);

private:
    struct Row {
        QLabel* number;
        LiveNumberField* fields[3];
        QToolButton* remove;
    };

    void refresh();
    void addRow();
    void removeLastRow();
    void orderTabs();
    void showValues(const std::vector<GlazeCore::FiringSegment>& schedule);
    void writeField(int row, Column column, double value);
    void checkTyped(LiveNumberField* field);
    void updateProblem();
    QString problemText() const;
    /// Ends the edit of any field before the rows change under it.
    void endFieldEdits();
    void write(std::vector<GlazeCore::FiringSegment> schedule);
    void onTileChanged(const GlazeCore::Uuid& tileID, int row, TileField field);

    BookDocument& m_document;
    ActionRegistry& m_actions;
    GlazeCore::Uuid m_tileID;
    QGridLayout* m_grid;
    std::vector<Row> m_rows;
    QSet<LiveNumberField*> m_refused;
    LiveNumberField* m_lastRefused = nullptr;
    ProblemLabel* m_problem;
    QPushButton* m_add;
    QPushButton* m_cone6;
    QLabel* m_total;
};

} // namespace Orza
