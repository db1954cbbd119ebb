#include "Orza/widgets/LiveNumberField.h"

#include "GlazeCore/text/UnicodeText.h"
#include "Orza/widgets/ProblemMark.h"

#include <QFocusEvent>
#include <QHideEvent>
#include <QKeyEvent>
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

/// Compared bit for bit: a stored NaN is still the same stored value.
bool sameValue(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool isBlank(const QString& text) {
    return GlazeCore::UnicodeText::trimHorizontalSpace(text.toStdString()).empty();
}

} // namespace

LiveNumberField::Rules LiveNumberField::plainRules(FractionDigits fractionDigits, bool allowsNegative) {
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

LiveNumberField::LiveNumberField(const QString& title, double value, FractionDigits fractionDigits, bool allowsNegative,
                                 QWidget* parent)
    : LiveNumberField(title, value, plainRules(fractionDigits, allowsNegative), parent) {}

LiveNumberField::LiveNumberField(const QString& title, double value, Rules rules, QWidget* parent)
    : QLineEdit(parent), m_title(title), m_value(value), m_valueBeforeEdit(value), m_rules(std::move(rules)) {
    setPlaceholderText(title);
    setAccessibleName(title);
    setText(m_rules.format(value));
    if (m_rules.refusal) {
        m_problemMark = new ProblemMark(this);
        connect(this, &QLineEdit::textChanged, this, &LiveNumberField::updateProblem);
    }
    connect(this, &QLineEdit::textEdited, this, &LiveNumberField::userEdited);
    connect(this, &QLineEdit::returnPressed, this, &LiveNumberField::endEdit);
}

void LiveNumberField::setValue(double value) {
    if (sameValue(value, m_value)) return;
    m_value = value;
    // What the user typed (1.50, "1.", 01) survives a value it already means.
    if (m_editing && textMeans(value)) return;
    // A change from outside (an undo): what is typed from here on is taken back to it, not past it.
    m_valueBeforeEdit = value;
    setText(m_rules.format(value));
}

void LiveNumberField::userEdited(const QString& text) {
    // Driven by the user's own edits only, so every new number typed is stored. No comparison with the
    // stored value's text: after typing 1.2345 and deleting two digits, "1.23" is what the user means.
    if (m_rules.ownerConfirmsWrites && !m_editing) return;
    const auto number = m_rules.read(text);
    // A refused text takes back at once what its typing wrote ("17" on the way to a German "17.5"), so
    // nothing that reads the value meanwhile sees a prefix; the text stays as typed, with its mark.
    if (!number) {
        takeBackWrites();
        return;
    }
    if (*number == m_value) return;
    if (!m_rules.ownerConfirmsWrites) m_value = *number;
    emit valueEdited(*number);
}

bool LiveNumberField::textMeans(double value) const {
    const auto number = m_rules.read(text());
    // A refused text stands for the value its edit began from, which it wrote back.
    return number ? *number == value : sameValue(value, m_valueBeforeEdit);
}

void LiveNumberField::takeBackWrites() {
    const double start = m_valueBeforeEdit;
    if (sameValue(start, m_value)) return;
    if (!m_rules.ownerConfirmsWrites) m_value = start;
    // Written back as any typed value is, so the owner's merged step ends where it began.
    emit valueEdited(start);
}

void LiveNumberField::revertRefusedText() {
    if (isRefused()) revertEdit();
}

void LiveNumberField::revertEdit() {
    takeBackWrites();
    tidy();
}

void LiveNumberField::tidy() {
    const QString tidied = m_rules.format(m_value);
    if (text() != tidied) setText(tidied);
}

bool LiveNumberField::isRefused() const {
    // The stored value's own text is no typing, even where it reads as no number ("nan").
    const QString typed = text();
    return typed != m_rules.format(m_value) && !m_rules.read(typed);
}

void LiveNumberField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A context menu or another window handing the focus back goes on with the same edit.
    if (!m_editing) m_valueBeforeEdit = m_value;
    m_editing = true;
}

void LiveNumberField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu or a switch to another window leaves the field this window's focus.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
    endEdit();
}

void LiveNumberField::hideEvent(QHideEvent* event) {
    QLineEdit::hideEvent(event);
    // A sheet closed with Escape ends its edit as surely as leaving the field does; a minimised one does not.
    // On the next turn: a window being destroyed hides its fields while its owners are half gone, and then
    // the field goes with them and the turn never comes.
    if (!m_editing || event->spontaneous()) return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_editing && !isVisible()) endEdit();
        },
        Qt::QueuedConnection);
}

void LiveNumberField::endEdit() {
    revertRefusedText();
    tidy();
    // Still focused, the field begins a new edit: a text refused later goes back to this value, not further.
    m_valueBeforeEdit = m_value;
    m_editing = hasFocus();
}

void LiveNumberField::keyPressEvent(QKeyEvent* event) {
    const bool returnTakesBack = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isRefused();
    QLineEdit::keyPressEvent(event);
    // Spent on taking the text back: the default button must not act on a value nobody saw.
    if (returnTakesBack) event->accept();
}

void LiveNumberField::updateProblem() {
    // A blank field is no mistake yet, only text being typed can be.
    const bool refused = !isBlank(text()) && isRefused();
    const QString problem = refused ? m_rules.refusal() : QString();
    if (problem == m_problem) return;
    m_problem = problem;
    m_problemMark->showProblem(problem);
    setAccessibleDescription(problem);
}

} // namespace Orza
