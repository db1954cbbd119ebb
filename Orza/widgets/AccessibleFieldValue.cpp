#include "Orza/widgets/AccessibleFieldValue.h"

#include "Orza/platform/AccessibleOwnInterface.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QString>

namespace Orza {

namespace {

constexpr const char* valueProperty = "orzaAccessibleValue";

/// A line edit read and edited as usual, whose value is the one given to it.
class FieldInterface final : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
public:
    explicit FieldInterface(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }

    QString value() const { return edit()->property(valueProperty).toString(); }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return value();
        if (kind == QAccessible::Description) return description();
        return QAccessibleWidget::text(kind);
    }
    /// The Linux bridge reads a text field's text, never its value: a value that says more than the text
    /// (why the text is refused, say) reaches the reader as the description, ahead of any of the field's own.
    QString description() const {
        const QString own = QAccessibleWidget::text(QAccessible::Description);
        if (value() == edit()->text() || own == value()) return own;
        return own.isEmpty() ? value() : value() + QLatin1Char(' ') + own;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !edit()->isReadOnly();
        state.readOnly = edit()->isReadOnly();
        state.selectableText = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // Selection and caret.
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !edit()->hasSelectedText()) return;
        *start = edit()->selectionStart();
        *end = edit()->selectionEnd();
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) edit()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }

    // Text and where it stands.
    QString text(int start, int end) const override { return edit()->text().mid(start, end - start); }
    int characterCount() const override { return int(edit()->text().size()); }
    QRect characterRect(int offset) const override {
        // Measured from the caret, which the field places itself, along the one line of text.
        const QString shown = edit()->displayText();
        const QFontMetrics metrics(edit()->font());
        const QRect caret = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = caret.x() + metrics.horizontalAdvance(shown.left(offset)) -
                      metrics.horizontalAdvance(shown.left(edit()->cursorPosition()));
        const int width = offset < shown.size() ? metrics.horizontalAdvance(shown.at(offset)) : 1;
        return QRect(edit()->mapToGlobal(QPoint(x, caret.y())), QSize(width, caret.height()));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int) override { edit()->setCursorPosition(start); }
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // Editing.
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (edit()->isReadOnly()) return;
        edit()->setSelection(start, end - start);
        edit()->insert(text);
    }
};

QAccessibleInterface* fieldFactory(const QString&, QObject* object) {
    auto* edit = qobject_cast<QLineEdit*>(object);
    if (!edit || !edit->property(valueProperty).isValid()) return nullptr;
    return new FieldInterface(edit);
}

} // namespace

void setAccessibleValue(QLineEdit* edit, const QString& value) {
    const bool first = !edit->property(valueProperty).isValid();
    if (!first && edit->property(valueProperty).toString() == value) return;
    edit->setProperty(valueProperty, value);
    if (first) {
        useOwnInterface<FieldInterface>(edit, fieldFactory);
        return;
    }
    if (!QAccessible::isActive()) return;
    QAccessibleValueChangeEvent changed(edit, value);
    QAccessible::updateAccessibility(&changed);
    QAccessibleEvent described(edit, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&described);
}

} // namespace Orza
