#pragma once

#include <QAccessibleWidget>

class QAbstractSpinBox;
class QLineEdit;

namespace Orza {

/**
 * A spin box or a date field read as one element in `role`: its text is what its line edit shows this moment,
 * typed or not, read as its value text and through a text interface, and it has no children. Qt's own reads the
 * number the box held before the typing, and a date as the number 0.
 */
class AccessibleTypedField : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    AccessibleTypedField(QAbstractSpinBox* field, QAccessible::Role role);

    QLineEdit* lineEdit() const;

    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;

    // The text as the line edit holds it.
    void selection(int index, int* start, int* end) const override;
    int selectionCount() const override;
    void addSelection(int start, int end) override;
    void removeSelection(int index) override;
    void setSelection(int index, int start, int end) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int start, int end) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override;
};

} // namespace Orza
