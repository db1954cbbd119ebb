#pragma once

#include "GlazeCore/text/Uuid.h"
#include "Orza/display/DateDisplay.h"
#include "Orza/document/BookFieldNames.h"

#include <QDateEdit>

#include <optional>

namespace Orza {

class BookDocument;
class ProblemLabel;

/**
 * The day a tile was fired on, in the potter's time zone.
 *
 * A typed date is written once it is complete — on Return, when the field loses the focus or before the book is
 * saved — and a step of the arrows or a day picked from the calendar at once, one undo step each. Only the day
 * changes: the time of day the tile was stored with stays.
 *
 * The field takes the digits itself: each number takes as many as it can hold in any month, so "31" typed into
 * a day of February is day 31 and never day 3 with a 1 in the month, and a day, month or year is never moved to
 * one that exists. A date that cannot be stored is refused in the problem label the form gives the field, with
 * the reason: a day or month that no date has, or a year the book cannot hold, as soon as it is typed; a partial
 * date when the edit ends. The tile keeps its date, and a refused text goes back to it when the edit ends; the
 * reason stays until another date is typed or chosen, or the tile's date changes elsewhere. Escape takes back
 * what was typed, and a step of the arrows or the wheel steps the tile's date, never the parts of a refused
 * text. The undo keys act on the book (DocumentFieldKeys), never on the text's own history.
 */
class TileDateField final : public QDateEdit {
    Q_OBJECT
public:
    TileDateField(BookDocument& document, const GlazeCore::Uuid& tileID, ProblemLabel& problem,
                  QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QDateTime dateTimeFromText(const QString& text) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void stepBy(int steps) override;
    bool focusNextPrevChild(bool next) override;

private:
    /// Why a text is not stored, and whether to say so while it is being typed.
    struct Refusal {
        QString why;
        bool whileTyping = false;
        /// The text in the field it refuses.
        QString text;
    };
    /// The number being typed into: which part of the text, and its digits so far.
    struct Typing {
        int part = -1;
        QString digits;
        /// The part was reached by the one before filling up, so a separator typed now is spent.
        bool reachedByFilling = false;
        /// The text the digits stand in; any other text starts the number again.
        QString text;
    };

    Refusal refusalOf(const QString& text) const;
    int partAtCursor() const;
    bool typeKey(QChar key);
    void typeDigit(int part, QChar digit);
    void typeSeparator(int part);
    void selectPart(int part);
    /// To the next or the previous part, staying at the first or the last.
    void walkParts(bool next);
    void forgetTyping();
    /// True while the text is not the tile's date.
    bool isEditing() const;
    /// True while the text is one the field refuses.
    bool isRefused() const;
    void cancelEdit();
    /// The tile's date back in the text, the part at the cursor kept.
    void showStoredText();
    /// The edit ended: nothing typed outlives it.
    void endEdit();
    void noticeGoingBack();
    void onTextChanged(const QString& text);

    void showDate();
    /// The book's date, with no word on an earlier one.
    void showStoredDate();
    void chooseDate(const QDate& day);
    void showProblem(const QString& problem);
    void onTileChanged(const GlazeCore::Uuid& tileID, int row, TileField field);

    BookDocument& m_document;
    GlazeCore::Uuid m_tileID;
    ProblemLabel& m_problem;
    /// None for a format that is not numbers only: the editor's own typing then stands.
    std::optional<NumericDateFormat> m_format;
    Typing m_typing;
    /// Why the text shown last was refused, for saying so when it goes back to the tile's date.
    Refusal m_refusal;
    /// True while the field shows the book's date, so the change it makes is not a choice.
    bool m_showing = false;
    /// True while the field types a key itself, so the cursor it moves keeps the number being typed.
    bool m_typingKey = false;
    /// True while the editor handles a key, which walks its parts where it asks to move the focus.
    bool m_keyWalksParts = false;
};

} // namespace Orza
