#pragma once

#include "GlazeCore/library/MaterialRules.h"
#include "GlazeCore/text/NumberText.h"

#include <QString>
#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;

namespace Orza {

class LiveNumberField;

/**
 * The field of one percentage of a custom material: its loss on ignition or one oxide's weight percent.
 *
 * A live number field whose text is a percentage: every keystroke whose text is a percentage from 0 to 100
 * and differs from the stored value is written at once (valueEdited), so the totals and the chemistry follow
 * the typing; an empty field means 0. Any other text writes nothing and shows why under the field in red.
 * While the field has the focus the user's text stands as typed when it means the stored value (12.50 is
 * not rewritten to 12.5 under the cursor); on losing the focus (or on Return) a valid text is tidied to the
 * stored value, and an invalid one takes back what the edit wrote: the value it began from is written again
 * and shown.
 *
 * Numbers are read and written in the user's current locale, never grouped.
 */
class PercentField final : public QWidget {
    Q_OBJECT
public:
    using FractionDigits = GlazeCore::NumberText::FractionDigits;

    /// `spokenName` is what assistive technology reads for the field; the title when none.
    PercentField(const QString& title, double value, FractionDigits fractionDigits,
                 const std::optional<QString>& spokenName = std::nullopt, QWidget* parent = nullptr);

    double value() const;
    QLineEdit* lineEdit() const;
    QString text() const;
    /// The verdict on the text as it stands.
    GlazeCore::MaterialRules::PercentEntry entry() const;
    /// Why the text is refused; none while it is a valid percentage.
    std::optional<QString> message() const;
    /// What assistive technology reads as the field's value: the text, and the message when it has one.
    QString accessibleValue() const;

    /// The stored value changed (this field's own write, another field, an undo): the text follows it,
    /// unless the field has the focus and its text already means exactly that value.
    void setValue(double value);

    /// The text of a value in the user's current locale with these fraction digits, never grouped.
    static QString formatted(double value, FractionDigits fractionDigits);

signals:
    /// The user typed a new valid percentage; the owner stores it and hands it back through setValue().
    void valueEdited(double value);

private:
    void updateMessage();

    LiveNumberField* m_edit;
    QLabel* m_message;
};

} // namespace Orza
