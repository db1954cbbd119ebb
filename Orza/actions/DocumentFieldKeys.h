#pragma once

#include <QObject>

class QContextMenuEvent;
class QKeyEvent;
class QWidget;

namespace Orza {

class ActionRegistry;
class BookDocument;

/**
 * Binds a text field that edits the book to the book's undo. While the field has the focus, the undo keys
 * (Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y) and the Undo and Redo of its context menu act on the document's steps,
 * never on the field's own text history, so field and book cannot disagree; the field shows the book's
 * value again when its owner hears of the change. Leaving the field ends the typing burst, so the next
 * edit of the same field is an undo step of its own; a number field takes its refused text back first.
 * Return, every command and every save or question about the book (BookDocument::endFieldEdits) end a
 * number's edit the same way, and Escape cancels it. An undo key ends the focused field's edit the same way
 * before the undo is looked for.
 *
 * Works on QLineEdit, QPlainTextEdit and a spin box's own text; lives as long as the field.
 */
class DocumentFieldKeys final : public QObject {
    Q_OBJECT
public:
    static DocumentFieldKeys* attach(QWidget* field, BookDocument& document, ActionRegistry& actions);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DocumentFieldKeys(QWidget* field, BookDocument& document, ActionRegistry& actions);
    bool isUndoKey(const QKeyEvent& event) const;
    /// Ends the field's edit and the typing burst: on leaving the field, and before a save or a question.
    void endEdit();
    void showContextMenu(const QContextMenuEvent& event);

    QWidget* m_field;
    BookDocument& m_document;
    ActionRegistry& m_actions;
};

} // namespace Orza
