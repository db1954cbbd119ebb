#pragma once

#include <QSpinBox>

#include <optional>

namespace Orza {

class ProblemMark;

/**
 * A stepper for a small whole number in a range: the arrows, the Up and Down keys and the wheel step it, and a
 * number typed in is taken when the edit ends (Return, or the focus leaving). Typing is never cut to fit:
 * "25" where 21 is the most, or "7.5", stands as typed with a warning mark whose tooltip, like the accessible
 * description, gives the range, and the value it would have replaced comes back when the edit ends.
 *
 * What the stepper shows is followed live: each whole number in the range typed is shown at once
 * (shownValueChanged), and a text that is no such number shows the value from before the edit, so what depends
 * on the stepper never shows a number nobody sees. Return ends the edit and goes no further: a default button
 * beside the stepper never acts on it.
 */
class WholeNumberStepper final : public QSpinBox {
    Q_OBJECT
public:
    WholeNumberStepper(int minimum, int maximum, QWidget* parent = nullptr);

    /// Why the typed text will not be taken; empty while it is a number in the range, blank, or the value's own.
    QString problem() const { return m_problem; }
    /// What assistive technology reads for the value while no refused text stands ("5 steps").
    void setSpokenValue(const QString& value);
    /// The number the field shows: the whole number in the range being typed, else the value.
    int shownValue() const;
    /// Sets the suffix and keeps a text being typed as it is: the suffix may follow the typing.
    void showSuffix(const QString& suffix);

    void stepBy(int steps) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    /// The text changed, or the value: `value` is shownValue(), which need not have changed.
    void shownValueChanged(int value);

protected:
    QValidator::State validate(QString& text, int& position) const override;
    int valueFromText(const QString& text) const override;
    void fixup(QString& text) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// The text between the prefix and the suffix, without the spaces around it.
    QStringView typedPart(QStringView text) const;
    /// The number a text means, prefix and suffix aside, when it is a whole number in the range.
    std::optional<int> typedNumber(const QString& text) const;
    int markWidth() const;
    void updateProblem();

    QString m_spoken;
    /// The number a reader last heard as the value.
    int m_spokenNumber = 0;
    QString m_problem;
    ProblemMark* m_mark = nullptr;
};

} // namespace Orza
