#include "Orza/widgets/OneLineText.h"

#include "Orza/widgets/FieldRefusal.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QValidator>

#include <limits>

namespace Orza::OneLineText {

namespace {

/// Refuses an edit that takes the field past maxCharacters; Qt then undoes it whole and says inputRejected.
class LengthRule final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override { return fits(input) ? Acceptable : Invalid; }

private:
    static bool fits(const QString& text) {
        const auto limit = qsizetype(maxCharacters);
        // Characters, not UTF-16 units: counted only where the two can differ about the limit.
        if (text.size() <= limit) return true;
        return text.size() <= 2 * limit && text.toUcs4().size() <= limit;
    }
};

} // namespace

void keepWhole(QLineEdit* field) {
    field->setMaxLength(std::numeric_limits<int>::max());
    field->setValidator(new LengthRule(field));
    QObject::connect(field, &QLineEdit::inputRejected, field, [field] {
        FieldRefusal::show(field, QCoreApplication::translate("OneLineText",
                                                              "This field holds at most %1 characters: the text "
                                                              "was left as it was.")
                                      .arg(field->locale().toString(qulonglong(maxCharacters))));
    });
}

} // namespace Orza::OneLineText
