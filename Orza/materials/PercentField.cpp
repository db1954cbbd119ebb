#include "Orza/materials/PercentField.h"

#include "Orza/materials/MaterialsStyle.h"
#include "Orza/widgets/AccessibleFieldValue.h"
#include "Orza/widgets/AccessibleHidden.h"
#include "Orza/widgets/LiveNumberField.h"
#include "Orza/widgets/TextStyle.h"

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
    : QWidget(parent), m_message(new QLabel) {
    LiveNumberField::Rules rules;
    rules.format = [fractionDigits](double shown) { return formatted(shown, fractionDigits); };
    rules.read = [](const QString& text) -> std::optional<double> {
        const auto entry = GlazeCore::MaterialRules::parsePercent(text.toStdString(), currentLocaleID());
        if (entry.kind != GlazeCore::MaterialRules::PercentEntry::Kind::value) return std::nullopt;
        return entry.number;
    };
    // The book is the judge: the stored value changes only when the owner hands it back.
    rules.ownerConfirmsWrites = true;
    m_edit = new LiveNumberField(title, value, std::move(rules));
    m_edit->setPlaceholderText(QString());
    m_edit->setAccessibleName(spokenName.value_or(title));
    m_edit->setAlignment(Qt::AlignRight);
    m_edit->setFixedWidth(fieldWidth(*m_edit));

    m_message->setFont(MaterialsStyle::captionFont(font()));
    TextStyle::makeAlert(m_message);
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

    updateMessage();
    connect(m_edit, &QLineEdit::textChanged, this, &PercentField::updateMessage);
    connect(m_edit, &LiveNumberField::valueEdited, this, &PercentField::valueEdited);
}

double PercentField::value() const {
    return m_edit->value();
}

QLineEdit* PercentField::lineEdit() const {
    return m_edit;
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
    m_edit->setValue(value);
}

void PercentField::updateMessage() {
    const auto why = message();
    m_message->setText(why.value_or(QString()));
    m_message->setVisible(why.has_value());
    setAccessibleValue(m_edit, accessibleValue());
}

} // namespace Orza
