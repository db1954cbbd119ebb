#pragma once

#include "GlazeCore/text/Uuid.h"
#include "Orza/document/BookFieldNames.h"

#include <QDateEdit>

namespace Orza {

class BookDocument;
class ProblemLabel;

/**
 * The day a tile was fired on, in the potter's time zone.
 *
 * A typed date is written once it is complete — on Return or when the field loses the focus — and a step of
 * the arrows or a day picked from the calendar at once, one undo step each. Only the day changes: the time of
 * day the tile was stored with stays. A year that the book cannot hold is refused in the problem label the
 * form gives the field: the tile keeps its date and the field the refused one, until another date is chosen
 * or the tile's date changes elsewhere.
 */
class TileDateField final : public QDateEdit {
    Q_OBJECT
public:
    TileDateField(BookDocument& document, const GlazeCore::Uuid& tileID, ProblemLabel& problem,
                  QWidget* parent = nullptr);

private:
    void showDate();
    void chooseDate(const QDate& day);
    void showProblem(const QString& problem);
    void onTileChanged(const GlazeCore::Uuid& tileID, int row, TileField field);

    BookDocument& m_document;
    GlazeCore::Uuid m_tileID;
    ProblemLabel& m_problem;
    /// True while the field shows the book's date, so the change it makes is not a choice.
    bool m_showing = false;
};

} // namespace Orza
