#include "Orza/widgets/PlainTextField.h"

#include "Orza/platform/ClipboardOffer.h"
#include "Orza/widgets/FieldRefusal.h"
#include "Orza/widgets/LongNotes.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace Orza {

PlainTextField::PlainTextField(QWidget* parent) : QPlainTextEdit(parent) {}

bool PlainTextField::holdsText(const QMimeData* data) {
    // By its formats: the text itself may be millions of characters away in another program.
    return data && data->hasText();
}

bool PlainTextField::clipboardHoldsText(QClipboard::Mode mode) {
    return ClipboardOffer::instance().offersText(mode);
}

QClipboard::Mode PlainTextField::pasteMode(const QKeyEvent& event) {
    const bool selectionKey =
        event.key() == Qt::Key_Insert && event.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
    return selectionKey && QGuiApplication::clipboard()->supportsSelection() ? QClipboard::Selection
                                                                             : QClipboard::Clipboard;
}

bool PlainTextField::canInsertFromMimeData(const QMimeData* source) const {
    // Asked by the context menu and at every move of a drag: by the formats alone, as Qt's own would fetch the
    // text each time. An empty text is offered, and inserts nothing.
    return holdsText(source);
}

void PlainTextField::insertFromMimeData(const QMimeData* source) {
    // Every paste and drop ends here; Qt's own insert is the one that fails on data without text. The text is
    // fetched once, here, and inserted as it came.
    if (!holdsText(source)) return;
    const QString text = source->text();
    if (text.isEmpty()) return;
    if (!fitsForTyping(text)) {
        FieldRefusal::show(this, tr("This text is too long to paste into notes: they are edited up to %1 "
                                    "characters, and %2 in a line.")
                                     .arg(locale().toString(LongNotes::maxCharacters),
                                          locale().toString(LongNotes::maxLineCharacters)));
        return;
    }
    insertPlainText(text);
    ensureCursorVisible();
}

bool PlainTextField::fitsForTyping(const QString& text) {
    // A UTF-16 unit per character at least: a text of more units than twice the limit cannot fit, and need not
    // be converted to be told so.
    return text.size() <= 2 * qsizetype(LongNotes::maxCharacters) && LongNotes::fitsForTyping(text.toStdString());
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
