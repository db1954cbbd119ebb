#include "Orza/widgets/WholeNumberStepper.h"

#include "Orza/platform/AccessibleOwnInterface.h"
#include "Orza/widgets/AccessibleTypedField.h"
#include "Orza/widgets/ProblemMark.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>
#include <QStyle>

#include <utility>

namespace Orza {

namespace {

/// The stepper as a reader meets it: its value is the number it shows, typed or not, as its text is.
class StepperInterface final : public AccessibleTypedField, public QAccessibleValueInterface {
public:
    explicit StepperInterface(WholeNumberStepper* stepper) : AccessibleTypedField(stepper, QAccessible::SpinBox) {}

    WholeNumberStepper* stepper() const { return static_cast<WholeNumberStepper*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return AccessibleTypedField::interface_cast(type);
    }
    QVariant currentValue() const override { return stepper()->shownValue(); }
    void setCurrentValue(const QVariant& value) override { stepper()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return stepper()->maximum(); }
    QVariant minimumValue() const override { return stepper()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override {
        return QStringList{increaseAction(), decreaseAction()} + AccessibleTypedField::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == increaseAction())
            stepper()->stepUp();
        else if (name == decreaseAction())
            stepper()->stepDown();
        else
            AccessibleTypedField::doAction(name);
    }
};

QAccessibleInterface* stepperFactory(const QString&, QObject* object) {
    auto* stepper = qobject_cast<WholeNumberStepper*>(object);
    return stepper ? new StepperInterface(stepper) : nullptr;
}

} // namespace

WholeNumberStepper::WholeNumberStepper(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    // The value changes only when the edit ends; what is typed meanwhile is followed through shownValueChanged, so
    // a text refused on its way ("25" after "2") leaves nothing typed on the way behind.
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    m_mark = new ProblemMark(lineEdit());
    // The spin box puts the value's own text back with the line edit's signals blocked: the mark is checked
    // again wherever that happens.
    connect(lineEdit(), &QLineEdit::textChanged, this, &WholeNumberStepper::updateProblem);
    connect(this, &QAbstractSpinBox::editingFinished, this, &WholeNumberStepper::updateProblem);
    connect(this, &QSpinBox::valueChanged, this, &WholeNumberStepper::updateProblem);
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { emit shownValueChanged(shownValue()); });
    connect(this, &QSpinBox::valueChanged, this, [this] { emit shownValueChanged(shownValue()); });
    // A reader hears the number shown as it is typed, not only once the edit ends.
    connect(this, &WholeNumberStepper::shownValueChanged, this, [this](int shown) {
        if (shown == std::exchange(m_spokenNumber, shown)) return;
        QAccessibleValueChangeEvent changed(this, shown);
        QAccessible::updateAccessibility(&changed);
    });
    m_spokenNumber = value();
    useOwnInterface<StepperInterface>(this, stepperFactory);
}

int WholeNumberStepper::shownValue() const {
    return typedNumber(lineEdit()->text()).value_or(value());
}

void WholeNumberStepper::showSuffix(const QString& suffix) {
    if (suffix == this->suffix()) return;
    QLineEdit* edit = lineEdit();
    const bool typing = edit->text() != prefix() + textFromValue(value()) + this->suffix();
    const QString typed = typing ? edit->text().sliced(0, edit->text().size() - this->suffix().size()) : QString();
    const bool endsWithSuffix = edit->text().endsWith(this->suffix());
    const int cursor = edit->cursorPosition();
    setSuffix(suffix);
    if (!typing || !endsWithSuffix) return;
    // The spin box writes its value's text in with the suffix; the typing goes back in front of the new one.
    const QSignalBlocker quiet(edit);
    edit->setText(typed + suffix);
    edit->setCursorPosition(std::min<int>(cursor, int(typed.size())));
}

void WholeNumberStepper::setSpokenValue(const QString& value) {
    m_spoken = value;
    setAccessibleDescription(m_problem.isEmpty() ? m_spoken : m_problem);
}

QStringView WholeNumberStepper::typedPart(QStringView text) const {
    if (text.startsWith(prefix())) text = text.sliced(prefix().size());
    if (!suffix().isEmpty() && text.endsWith(suffix())) text.chop(suffix().size());
    return text.trimmed();
}

std::optional<int> WholeNumberStepper::typedNumber(const QString& text) const {
    const QStringView number = typedPart(text);
    // Digits only: no sign, no separators, no fraction, so nothing typed is read as some other number.
    if (number.isEmpty() || number.size() > 9) return std::nullopt;
    for (const QChar c : number)
        if (!c.isDigit()) return std::nullopt;
    QLocale locale = this->locale();
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const int value = locale.toInt(number, &ok);
    if (!ok || value < minimum() || value > maximum()) return std::nullopt;
    return value;
}

QValidator::State WholeNumberStepper::validate(QString& text, int& /*position*/) const {
    // Anything may be typed; what is not taken stands marked until the edit ends and the value comes back.
    return typedNumber(text) ? QValidator::Acceptable : QValidator::Intermediate;
}

int WholeNumberStepper::valueFromText(const QString& text) const {
    return typedNumber(text).value_or(value());
}

void WholeNumberStepper::fixup(QString& /*text*/) const {
    // Nothing is mended: dropping a separator from "1,5" would make 15.
}

void WholeNumberStepper::keyPressEvent(QKeyEvent* event) {
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QSpinBox::keyPressEvent(event);
    // Spent on ending the edit: it takes the number typed, or takes a refused text back, and the default button
    // must not act on a value only now confirmed.
    if (isReturn) event->accept();
}

void WholeNumberStepper::stepBy(int steps) {
    // A step from a refused text only takes it back.
    QSpinBox::stepBy(steps);
    updateProblem();
}

int WholeNumberStepper::markWidth() const {
    // The room the line edit gives an action's button beside its text.
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, lineEdit());
    return icon + icon / 4 + 6;
}

QSize WholeNumberStepper::sizeHint() const {
    // Wide enough for the mark beside the widest number, so a refused text does not hide behind it.
    return QSpinBox::sizeHint() + QSize(markWidth(), 0);
}

QSize WholeNumberStepper::minimumSizeHint() const {
    return QSpinBox::minimumSizeHint() + QSize(markWidth(), 0);
}

void WholeNumberStepper::updateProblem() {
    const QString typed = lineEdit()->text();
    // A blank field is no mistake yet, only text being typed can be.
    const bool refused = !typedPart(typed).isEmpty() && !typedNumber(typed);
    const QString problem =
        refused
            ? tr("Enter a whole number from %1 to %2.").arg(locale().toString(minimum()), locale().toString(maximum()))
            : QString();
    if (problem == m_problem) return;
    m_problem = problem;
    m_mark->showProblem(problem);
    setAccessibleDescription(m_problem.isEmpty() ? m_spoken : m_problem);
}

} // namespace Orza
