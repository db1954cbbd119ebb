#include "Orza/widgets/LiveNumberField.h"

#include "GlazeCore/text/UnicodeText.h"
#include "Orza/widgets/SymbolIcon.h"
#include "Orza/widgets/TextStyle.h"

#include <QAction>
#include <QFocusEvent>
#include <QLocale>

#include <cmath>

namespace Orza {

namespace {

// Read on every use, so an open field follows a change of the user's locale.
std::string currentLocaleID() {
    return QLocale().name().toStdString();
}

// The largest magnitude the parsing takes.
constexpr qlonglong largestNumber = 1'000'000;

bool isBlank(const QString& text) {
    return GlazeCore::UnicodeText::trimHorizontalSpace(text.toStdString()).empty();
}

/// The plain number of most fields: any magnitude up to the largest, negative only when allowed.
LiveNumberField::Rules plainRules(LiveNumberField::FractionDigits fractionDigits, bool allowsNegative) {
    LiveNumberField::Rules rules;
    rules.format = [fractionDigits](double value) {
        return QString::fromStdString(GlazeCore::NumberText::format(value, fractionDigits, currentLocaleID()));
    };
    rules.read = [allowsNegative](const QString& text) {
        return GlazeCore::NumberText::parse(text.toStdString(), allowsNegative, currentLocaleID());
    };
    rules.refusal = [allowsNegative] {
        const QLocale locale;
        const QString lowest = allowsNegative ? locale.toString(-largestNumber) : locale.toString(0);
        return LiveNumberField::tr("Enter a number from %1 to %2.").arg(lowest, locale.toString(largestNumber));
    };
    return rules;
}

} // namespace

LiveNumberField::LiveNumberField(const QString& title, double value, FractionDigits fractionDigits, bool allowsNegative,
                                 QWidget* parent)
    : LiveNumberField(title, value, plainRules(fractionDigits, allowsNegative), parent) {}

LiveNumberField::LiveNumberField(const QString& title, double value, Rules rules, QWidget* parent)
    : QLineEdit(parent), m_title(title), m_value(value), m_rules(std::move(rules)) {
    setPlaceholderText(title);
    setAccessibleName(title);
    setText(m_rules.format(value));
    if (m_rules.refusal) {
        m_problemMark = new QAction(this);
        m_problemMark->setIcon(SymbolIcon::icon(Symbol::exclamationTriangleFill, TextStyle::alert(palette())));
        // Hidden after adding: the line edit shows the button it makes for an action whatever the action says.
        addAction(m_problemMark, QLineEdit::TrailingPosition);
        m_problemMark->setVisible(false);
        connect(this, &QLineEdit::textChanged, this, &LiveNumberField::updateProblem);
    }
    connect(this, &QLineEdit::textEdited, this, &LiveNumberField::userEdited);
    connect(this, &QLineEdit::returnPressed, this, &LiveNumberField::tidy);
}

void LiveNumberField::setValue(double value) {
    // Compared bit for bit: a stored NaN is still the same stored value.
    if (value == m_value || (std::isnan(value) && std::isnan(m_value))) return;
    m_value = value;
    // What the user typed (1.50, "1.", 01) survives a value it already means.
    if (m_editing && m_rules.read(text()) == value) return;
    setText(m_rules.format(value));
}

void LiveNumberField::userEdited(const QString& text) {
    // Driven by the user's own edits only, so every new number typed is stored. No comparison with the
    // stored value's text: after typing 1.2345 and deleting two digits, "1.23" is what the user means.
    if (m_rules.ownerConfirmsWrites && !m_editing) return;
    const auto number = m_rules.read(text);
    if (!number || *number == m_value) return;
    if (!m_rules.ownerConfirmsWrites) m_value = *number;
    emit valueEdited(*number);
}

void LiveNumberField::tidy() {
    // A refused text the owner explains stays, so its explanation still fits.
    if (!m_rules.refusal && !m_rules.read(text())) return;
    const QString tidied = m_rules.format(m_value);
    if (text() != tidied) setText(tidied);
}

void LiveNumberField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    m_editing = true;
}

void LiveNumberField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu or a switch to another window leaves the field this window's focus.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
    m_editing = false;
    tidy();
}

void LiveNumberField::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    // The mark keeps its contrast when the palette turns dark or light.
    if (m_problemMark && event->type() == QEvent::PaletteChange)
        m_problemMark->setIcon(SymbolIcon::icon(Symbol::exclamationTriangleFill, TextStyle::alert(palette())));
}

void LiveNumberField::updateProblem() {
    // A blank field or the stored value's own text is no mistake, only text being typed can be.
    const QString typed = text();
    const bool refused = !isBlank(typed) && typed != m_rules.format(m_value) && !m_rules.read(typed);
    const QString problem = refused ? m_rules.refusal() : QString();
    if (problem == m_problem) return;
    m_problem = problem;
    m_problemMark->setVisible(refused);
    m_problemMark->setToolTip(problem);
    setAccessibleDescription(problem);
}

} // namespace Orza
