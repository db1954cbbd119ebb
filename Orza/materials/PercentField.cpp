#include "Orza/materials/PercentField.h"

#include "Orza/materials/MaterialsStyle.h"
#include "Orza/widgets/AccessibleFieldValue.h"
#include "Orza/widgets/AccessibleHidden.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

#include <cmath>

namespace Orza {

namespace {

// Read on every use, so an open field follows a change of the user's locale.
std::string currentLocaleID() {
    return QLocale().name().toStdString();
}

/// Wide enough for "100.000" in any locale's digits, with room for the frame.
int fieldWidth(const QLineEdit& edit) {
    return edit.fontMetrics().horizontalAdvance(QStringLiteral("0000.0000")) + 16;
}

} // namespace

PercentField::PercentField(const QString& title, double value, FractionDigits fractionDigits,
                           const std::optional<QString>& spokenName, QWidget* parent)
    : QWidget(parent), m_title(title), m_value(value), m_fractionDigits(fractionDigits), m_edit(new QLineEdit),
      m_message(new QLabel) {
    m_edit->setAccessibleName(spokenName.value_or(title));
    m_edit->setAlignment(Qt::AlignRight);
    m_edit->setFixedWidth(fieldWidth(*m_edit));
    m_edit->installEventFilter(this);

    m_message->setFont(MaterialsStyle::captionFont(font()));
    MaterialsStyle::makeAlert(m_message);
    m_message->setAlignment(Qt::AlignRight);
    m_message->setWordWrap(true);
    m_message->hide();
    // The field's own value reads the message; the label would say it a second time.
    hideFromAccessibility(m_message);

    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(2);
    stack->addWidget(m_edit, 0, Qt::AlignRight);
    stack->addWidget(m_message);

    showText(formatted(value, fractionDigits));
    connect(m_edit, &QLineEdit::textEdited, this, &PercentField::userEdited);
    connect(m_edit, &QLineEdit::returnPressed, this, &PercentField::tidy);
}

QString PercentField::text() const {
    return m_edit->text();
}

GlazeCore::MaterialRules::PercentEntry PercentField::entry() const {
    return GlazeCore::MaterialRules::parsePercent(m_edit->text().toStdString(), currentLocaleID());
}

std::optional<QString> PercentField::message() const {
    const auto sentence = entry().message();
    if (!sentence) return std::nullopt;
    return QString::fromStdString(*sentence);
}

QString PercentField::accessibleValue() const {
    const auto why = message();
    return why ? text() + QStringLiteral(", ") + *why : text();
}

QString PercentField::formatted(double value, FractionDigits fractionDigits) {
    // A book may hold a value no field could type; it is shown plainly rather than hidden.
    if (std::isnan(value)) return QStringLiteral("nan");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    return QString::fromStdString(GlazeCore::NumberText::format(value, fractionDigits, currentLocaleID()));
}

void PercentField::setValue(double value) {
    // Compared bit for bit: a stored NaN is still the same stored value.
    if (value == m_value || (std::isnan(value) && std::isnan(m_value))) return;
    m_value = value;
    const auto typed = entry();
    if (m_focused && typed.kind == GlazeCore::MaterialRules::PercentEntry::Kind::value && typed.number == value) return;
    showText(formatted(value, m_fractionDigits));
}

void PercentField::userEdited() {
    updateMessage();
    if (!m_focused) return;
    const auto typed = entry();
    if (typed.kind != GlazeCore::MaterialRules::PercentEntry::Kind::value || typed.number == m_value) return;
    // The stored value changes only when the owner hands it back through setValue(): a write the book
    // refuses leaves the field's idea of the stored value alone.
    emit valueEdited(typed.number);
}

void PercentField::focusLost() {
    m_focused = false;
    tidy();
}

void PercentField::tidy() {
    if (entry().kind != GlazeCore::MaterialRules::PercentEntry::Kind::value) return;
    const QString tidied = formatted(m_value, m_fractionDigits);
    if (m_edit->text() != tidied) showText(tidied);
}

void PercentField::showText(const QString& text) {
    m_edit->setText(text);
    updateMessage();
}

void PercentField::updateMessage() {
    const auto why = message();
    m_message->setText(why.value_or(QString()));
    m_message->setVisible(why.has_value());
    setAccessibleValue(m_edit, accessibleValue());
}

bool PercentField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit) {
        if (event->type() == QEvent::FocusIn) {
            m_focused = true;
        } else if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            // A context menu or a switch to another window leaves the field this window's focus.
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) focusLost();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Orza
