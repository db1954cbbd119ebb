#include "Orza/reformulate/MaterialPickerButton.h"

#include "Orza/widgets/MaterialPicker.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace Orza {

namespace {

constexpr int horizontalPadding = 6;
constexpr int verticalPadding = 3;
constexpr qreal cornerRadius = 5;
constexpr double backgroundOpacity = 0.6;

} // namespace

MaterialPickerButton::MaterialPickerButton(BookLibrary library, QWidget* parent)
    : QAbstractButton(parent), m_library(std::move(library)) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleDescription(tr("Opens a searchable list of materials"));
    connect(this, &QAbstractButton::clicked, this, &MaterialPickerButton::openPicker);
    refreshTexts();
}

void MaterialPickerButton::setMaterialID(const std::string& id) {
    if (id == m_materialID) return;
    m_materialID = id;
    refreshTexts();
}

void MaterialPickerButton::setLibrary(BookLibrary library) {
    m_library = std::move(library);
    refreshTexts();
}

QString MaterialPickerButton::displayName() const {
    return materialDisplayName(m_materialID, m_library);
}

MaterialPicker* MaterialPickerButton::openPicker() {
    auto* picker = new MaterialPicker(m_library, m_materialID, this);
    connect(picker, &MaterialPicker::picked, this, [this](const QString& id) {
        setMaterialID(id.toStdString());
        emit materialPicked(m_materialID);
    });
    picker->popUp(QRect(mapToGlobal(QPoint(0, 0)), size()));
    return picker;
}

QSize MaterialPickerButton::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(displayName()) + 2 * horizontalPadding + 16,
            metrics.height() + 2 * verticalPadding};
}

QSize MaterialPickerButton::minimumSizeHint() const {
    return {80, sizeHint().height()};
}

void MaterialPickerButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = palette().color(QPalette::Mid);
    fill.setAlphaF(float((isDown() ? 0.9 : backgroundOpacity) * 0.5));
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    painter.fillPath(shape, fill);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
        painter.drawPath(shape);
    }
    const bool usable = !m_materialID.empty() && m_library.material(m_materialID) != nullptr;
    MaterialPicker::paintLabel(
        painter, rect().adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding),
        displayName(), usable, palette(), false);
}

void MaterialPickerButton::keyPressEvent(QKeyEvent* event) {
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && !defaultButtonTakesReturn()) {
        event->accept();
        click();
        return;
    }
    // Ignored here, Return travels up to the dialog, which presses its default button.
    QAbstractButton::keyPressEvent(event);
}

bool MaterialPickerButton::defaultButtonTakesReturn() const {
    const auto* dialog = qobject_cast<const QDialog*>(window());
    if (!dialog) return false;
    const QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
    return std::any_of(buttons.begin(), buttons.end(), [](const QPushButton* button) {
        return button->isDefault() && button->isVisible() && button->isEnabled();
    });
}

void MaterialPickerButton::refreshTexts() {
    const QString name = displayName();
    setToolTip(name);
    setAccessibleName(tr("Material: %1").arg(name));
    updateGeometry();
    update();
}

} // namespace Orza
