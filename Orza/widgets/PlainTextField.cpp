#include "Orza/widgets/PlainTextField.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace Orza {

PlainTextField::PlainTextField(QWidget* parent) : QPlainTextEdit(parent) {}

bool PlainTextField::holdsText(const QMimeData* data) {
    return data && data->hasText() && !data->text().isEmpty();
}

bool PlainTextField::clipboardHoldsText(QClipboard::Mode mode) {
    return holdsText(QGuiApplication::clipboard()->mimeData(mode));
}

QClipboard::Mode PlainTextField::pasteMode(const QKeyEvent& event) {
    const bool selectionKey =
        event.key() == Qt::Key_Insert && event.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
    return selectionKey && QGuiApplication::clipboard()->supportsSelection() ? QClipboard::Selection
                                                                             : QClipboard::Clipboard;
}

bool PlainTextField::canInsertFromMimeData(const QMimeData* source) const {
    return holdsText(source) && QPlainTextEdit::canInsertFromMimeData(source);
}

void PlainTextField::insertFromMimeData(const QMimeData* source) {
    // Every paste and drop ends here; Qt's own insert is the one that fails on data without text.
    if (holdsText(source)) QPlainTextEdit::insertFromMimeData(source);
}

void PlainTextField::keyPressEvent(QKeyEvent* event) {
    // Taken before Qt's key handling reads the clipboard at all.
    if (event->matches(QKeySequence::Paste) && !clipboardHoldsText(pasteMode(*event))) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void PlainTextField::mouseReleaseEvent(QMouseEvent* event) {
    // A middle click pastes the selection wherever the desktop keeps one.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() &&
        !clipboardHoldsText(QClipboard::Selection)) {
        event->accept();
        return;
    }
    QPlainTextEdit::mouseReleaseEvent(event);
}

void PlainTextField::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) emit left();
}

} // namespace Orza
