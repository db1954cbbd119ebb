#pragma once

#include "GlazeCore/text/NumberText.h"

#include <QLineEdit>

#include <functional>
#include <optional>

namespace Orza {

class ProblemMark;

/**
 * The editable number field of every pane: it writes on each keystroke whose text parses to a new value,
 * so chemistry, charts and totals follow the typing, and it tidies its text only when editing ends (focus
 * leaves, or Return).
 *
 * The text is the value in the user's current locale with `fractionDigits` and never grouped; parsing
 * is lenient in that locale, refuses an empty or out-of-range text, and refuses a negative number unless
 * allowed. Only the user's own edits write: text the field sets itself never does, so showing a rounded
 * value can never store the rounding. A written value keeps every digit typed; the digits limit only the
 * display. Text that does not parse writes no number of its own, and while it stands the field says so: a
 * warning mark at its end whose tooltip, like the field's accessible description, gives the range.
 *
 * The moment the text is no number, what its typing wrote is taken back: "17.5" in German wrote 1 and 17 on
 * the way, and neither is what was meant. The field writes the value it had when the edit began, so a typing
 * burst merged into one step ends back where it began and no reader of the value ever sees the prefix; the
 * text stays as typed, with its mark, until the edit ends (focus leaves, the field is hidden, Return, or its
 * owner ends it before a command or a save) and shows that value. An outside change of the value while
 * editing (an undo) starts the edit afresh from there. Return ends the edit as leaving does, and the field
 * goes on with a new one from the value it holds. A field of another kind of number (a percentage, say)
 * brings its own rules for reading and writing it.
 */
class LiveNumberField final : public QLineEdit {
    Q_OBJECT
public:
    using FractionDigits = GlazeCore::NumberText::FractionDigits;

    /// How a field of another kind of number reads and writes its text, and what its owner answers for.
    struct Rules {
        /// The text of a value.
        std::function<QString(double value)> format;
        /// The number a text means; none when it means none.
        std::function<std::optional<double>(const QString& text)> read;
        /// Why a text that reads as no number is refused, for the field's warning mark. Without it the owner
        /// says why beside the field.
        std::function<QString()> refusal;
        /// Only edits made while the field is being edited write, and a written value becomes the field's
        /// own only when the owner hands it back through setValue(): a write the owner refuses leaves it alone.
        bool ownerConfirmsWrites = false;
    };

    /// The rules of a plain number: `fractionDigits` shown, any magnitude up to the largest read, negative only
    /// when allowed. An owner may change one of them and keep the others.
    static Rules plainRules(FractionDigits fractionDigits, bool allowsNegative);

    LiveNumberField(const QString& title, double value, FractionDigits fractionDigits, bool allowsNegative,
                    QWidget* parent = nullptr);
    LiveNumberField(const QString& title, double value, Rules rules, QWidget* parent = nullptr);

    QString title() const { return m_title; }
    double value() const { return m_value; }
    /// Whether the field is being edited; a popup or another window taking the keyboard does not end it.
    bool isEditing() const { return m_editing; }

    /// Why the typed text is not stored; empty while the text is a number the field takes, is blank, or
    /// shows the stored value.
    QString problem() const { return m_problem; }
    /// The value this edit began from, which a text that is no number goes back to at once.
    double valueBeforeEdit() const { return m_valueBeforeEdit; }

    /// Ends the edit as leaving the field does: a text that is no number takes back what the edit wrote, a
    /// number stays as typed, and the text is tidied. Leaving, hiding, Return and every command, save or
    /// question about the book end an edit through here. A field that keeps the focus (Return, a command from
    /// the keyboard) goes on with a new edit from the value it holds now.
    void endEdit();
    /// Takes back what the edit wrote, whatever the text: the value it began from is written and shown.
    void revertEdit();

    /// The value changed elsewhere (an undo, a reformulation): the text shows it, unless the field is being
    /// edited and its text already means exactly that value.
    void setValue(double value);

signals:
    /// The user typed a text that means a new value; the owner stores it.
    void valueEdited(double value);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void userEdited(const QString& text);
    /// Takes back what the edit wrote when its text is no number, and tidies it.
    void revertRefusedText();
    /// Writes the value the edit began from, if the edit wrote another.
    void takeBackWrites();
    /// Whether the text stands for `value`: it reads as it, or it is refused and `value` began the edit.
    bool textMeans(double value) const;
    void tidy();
    bool isRefused() const;
    void updateProblem();

    QString m_title;
    double m_value;
    double m_valueBeforeEdit;
    Rules m_rules;
    bool m_editing = false;
    QString m_problem;
    ProblemMark* m_problemMark = nullptr;
};

} // namespace Orza
