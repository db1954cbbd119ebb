#include "Orza/widgets/ArrowStepper.h"

#include "Orza/widgets/SymbolIcon.h"

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
