#pragma once

#include <QClipboard>
#include <QPlainTextEdit>

class QMimeData;

namespace Orza {

/**
 * The field every multi-line text of the application is typed in. This Qt ends the program when a paste
 * brings data that holds no text (a clipboard nobody owns, nothing selected anywhere), so no paste of
 * nothing reaches it: by key, menu, context menu, middle click or drop, a paste without text does nothing.
 * Whether there is text to paste is told by the formats the clipboard offers; a paste fetches the text once,
 * and one past the limits notes are edited within (LongNotes) is refused with a word.
 *
 * It also says when the user leaves it, so a text kept editable while typed can be shown anew afterwards.
 */
class PlainTextField : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PlainTextField(QWidget* parent = nullptr);

    /// True when `data` offers text to paste; data of no format offer none.
    static bool holdsText(const QMimeData* data);

signals:
    /// Focus went elsewhere in the window: the user left the field, not a context menu or another window.
    void left();

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    /// The clipboard a paste key reads: the selection for Ctrl+Shift+Insert where the desktop has one.
    static QClipboard::Mode pasteMode(const QKeyEvent& event);
    static bool clipboardHoldsText(QClipboard::Mode mode);
    static bool fitsForTyping(const QString& text);
};

} // namespace Orza
