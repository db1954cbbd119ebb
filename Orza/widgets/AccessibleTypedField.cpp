#include "Orza/widgets/AccessibleTypedField.h"

#include <QAbstractSpinBox>
#include <QLineEdit>

namespace Orza {

AccessibleTypedField::AccessibleTypedField(QAbstractSpinBox* field, QAccessible::Role role)
    : QAccessibleWidget(field, role) {}

QLineEdit* AccessibleTypedField::lineEdit() const {
    return widget()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
}

void* AccessibleTypedField::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString AccessibleTypedField::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Value) return lineEdit() ? lineEdit()->text() : QString();
    return QAccessibleWidget::text(kind);
}

QAccessible::State AccessibleTypedField::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !static_cast<QAbstractSpinBox*>(widget())->isReadOnly();
    // The line edit takes the focus for the field.
    state.focused = state.focused || (lineEdit() && lineEdit()->hasFocus());
    return state;
}

void AccessibleTypedField::selection(int index, int* start, int* end) const {
    *start = *end = 0;
    if (index != 0 || !lineEdit() || !lineEdit()->hasSelectedText()) return;
    *start = lineEdit()->selectionStart();
    *end = lineEdit()->selectionEnd();
}

int AccessibleTypedField::selectionCount() const {
    return lineEdit() && lineEdit()->hasSelectedText() ? 1 : 0;
}

void AccessibleTypedField::addSelection(int start, int end) {
    setSelection(0, start, end);
}

void AccessibleTypedField::removeSelection(int index) {
    if (index == 0 && lineEdit()) lineEdit()->deselect();
}

void AccessibleTypedField::setSelection(int index, int start, int end) {
    if (index == 0 && lineEdit()) lineEdit()->setSelection(start, end - start);
}

int AccessibleTypedField::cursorPosition() const {
    return lineEdit() ? lineEdit()->cursorPosition() : 0;
}

void AccessibleTypedField::setCursorPosition(int position) {
    if (lineEdit()) lineEdit()->setCursorPosition(position);
}

QString AccessibleTypedField::text(int start, int end) const {
    return lineEdit() ? lineEdit()->text().mid(start, end - start) : QString();
}

int AccessibleTypedField::characterCount() const {
    return lineEdit() ? int(lineEdit()->text().size()) : 0;
}

QRect AccessibleTypedField::characterRect(int) const {
    return rect();
}

int AccessibleTypedField::offsetAtPoint(const QPoint& point) const {
    return lineEdit() ? lineEdit()->cursorPositionAt(lineEdit()->mapFromGlobal(point)) : -1;
}

QString AccessibleTypedField::attributes(int, int* start, int* end) const {
    *start = 0;
    *end = characterCount();
    return {};
}

} // namespace Orza
