#include "Orza/widgets/LiveNumberField.h"

#include "GlazeCore/text/UnicodeText.h"
#include "Orza/widgets/SymbolIcon.h"
#include "Orza/widgets/TextStyle.h"

#include <QAction>
#include <QFocusEvent>
#include <QLocale>

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

} // namespace

LiveNumberField::LiveNumberField(const QString& title, double value, FractionDigits fractionDigits, bool allowsNegative,
                                 QWidget* parent)
    : QLineEdit(parent), m_title(title), m_value(value), m_fractionDigits(fractionDigits),
      m_allowsNegative(allowsNegative), m_problemMark(new QAction(this)) {
    setPlaceholderText(title);
    setAccessibleName(title);
    setText(formatted(value));
    m_problemMark->setIcon(SymbolIcon::icon(Symbol::exclamationTriangleFill, TextStyle::alert(palette())));
    // Hidden after adding: the line edit shows the button it makes for an action whatever the action says.
    addAction(m_problemMark, QLineEdit::TrailingPosition);
    m_problemMark->setVisible(false);
    connect(this, &QLineEdit::textEdited, this, &LiveNumberField::userEdited);
    connect(this, &QLineEdit::textChanged, this, &LiveNumberField::updateProblem);
    connect(this, &QLineEdit::returnPressed, this, &LiveNumberField::tidy);
}

void LiveNumberField::setValue(double value) {
    if (value == m_value) return;
    m_value = value;
    // What the user typed (1.50, "1.", 01) survives a value it already means.
    if (m_editing && parsed(text()) == value) return;
    setText(formatted(value));
}

void LiveNumberField::userEdited(const QString& text) {
    // Driven by the user's own edits only, so every new number typed is stored.
    const auto number = GlazeCore::NumberText::editedValue(text.toStdString(), true, m_fractionDigits, m_allowsNegative,
                                                           currentLocaleID(), m_value);
    if (!number) return;
    m_value = *number;
    emit valueEdited(*number);
}

void LiveNumberField::tidy() {
    const QString tidied = formatted(m_value);
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
    if (event->type() == QEvent::PaletteChange)
        m_problemMark->setIcon(SymbolIcon::icon(Symbol::exclamationTriangleFill, TextStyle::alert(palette())));
}

void LiveNumberField::updateProblem() {
    // A blank field or the stored value's own text is no mistake, only text being typed can be.
    const QString typed = text();
    const bool refused = !isBlank(typed) && typed != formatted(m_value) && !parsed(typed);
    const QString problem = refused ? rangeMessage() : QString();
    if (problem == m_problem) return;
    m_problem = problem;
    m_problemMark->setVisible(refused);
    m_problemMark->setToolTip(problem);
    setAccessibleDescription(problem);
}

QString LiveNumberField::rangeMessage() const {
    const QLocale locale;
    const QString lowest = m_allowsNegative ? locale.toString(-largestNumber) : locale.toString(0);
    return tr("Enter a number from %1 to %2.").arg(lowest, locale.toString(largestNumber));
}

QString LiveNumberField::formatted(double value) const {
    return QString::fromStdString(GlazeCore::NumberText::format(value, m_fractionDigits, currentLocaleID()));
}

std::optional<double> LiveNumberField::parsed(const QString& text) const {
    return GlazeCore::NumberText::parse(text.toStdString(), m_allowsNegative, currentLocaleID());
}

} // namespace Orza
