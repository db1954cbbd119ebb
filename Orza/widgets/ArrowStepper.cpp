#include "Orza/widgets/ArrowStepper.h"

#include "Orza/platform/AccessibleOwnInterface.h"
#include "Orza/platform/FocusRing.h"
#include "Orza/widgets/SymbolIcon.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orza {

namespace {

constexpr int buttonWidth = 15;
constexpr int buttonHeight = 10;

QToolButton* makeButton(const QString& name) {
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setFixedSize(buttonWidth, buttonHeight);
    button->setIconSize(QSize(9, 9));
    button->setFocusPolicy(Qt::NoFocus); // the stepper takes the focus as one control
    button->setAccessibleName(name);
    button->setCursor(Qt::ArrowCursor);
    return button;
}

/// The stepper as one spin box: its arrows are its increase and decrease actions, not buttons of their own.
class StepperInterface final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit StepperInterface(ArrowStepper* stepper) : QAccessibleWidget(stepper, QAccessible::SpinBox) {}

    ArrowStepper* stepper() const { return static_cast<ArrowStepper*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? stepper()->steppedText() : QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return stepper()->steppedValue(); }
    void setCurrentValue(const QVariant&) override {} // the owner decides what a step means
    QVariant maximumValue() const override { return {}; }
    QVariant minimumValue() const override { return {}; }
    QVariant minimumStepSize() const override { return {}; }

    QStringList actionNames() const override {
        QStringList names;
        if (stepper()->upButton()->isEnabled()) names << increaseAction();
        if (stepper()->downButton()->isEnabled()) names << decreaseAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == increaseAction())
            stepper()->upButton()->click();
        else if (name == decreaseAction())
            stepper()->downButton()->click();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* stepperFactory(const QString&, QObject* object) {
    auto* stepper = qobject_cast<ArrowStepper*>(object);
    return stepper ? new StepperInterface(stepper) : nullptr;
}

} // namespace

ArrowStepper::ArrowStepper(QWidget* parent)
    : QWidget(parent), m_up(makeButton(tr("Up"))), m_down(makeButton(tr("Down"))) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_up);
    column->addWidget(m_down);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_up, &QToolButton::clicked, this, &ArrowStepper::incremented);
    connect(m_down, &QToolButton::clicked, this, &ArrowStepper::decremented);
    refreshIcons();
    useOwnInterface<StepperInterface>(this, stepperFactory);
    // The arrows draw no focus of their own, and the stepper is one Tab stop.
    FocusRing::attach(this);
}

void ArrowStepper::setSteppedValue(double value, const QString& text) {
    if (value == m_value && text == m_text) return;
    m_value = value;
    m_text = text;
    QAccessibleValueChangeEvent changed(this, value);
    QAccessible::updateAccessibility(&changed);
}

QSize ArrowStepper::sizeHint() const {
    return {buttonWidth, 2 * buttonHeight};
}

void ArrowStepper::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up) {
        emit incremented();
    } else if (event->key() == Qt::Key_Down) {
        emit decremented();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void ArrowStepper::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) refreshIcons();
}

void ArrowStepper::refreshIcons() {
    const QColor color = palette().color(QPalette::ButtonText);
    m_up->setIcon(SymbolIcon::icon(Symbol::chevronUp, color));
    m_down->setIcon(SymbolIcon::icon(Symbol::chevronDown, color));
}

} // namespace Orza
