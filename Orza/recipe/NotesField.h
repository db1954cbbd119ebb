#pragma once

#include "Orza/widgets/PlainTextField.h"

namespace Orza {

/**
 * A plain text field that grows with its text from one line to `maxLines` lines as they wrap, then
 * scrolls. It fits itself again whenever its text or its width changes, so a field that gets wider or
 * narrower (a column beside it coming or going) never keeps a height its text no longer has.
 */
class NotesField final : public PlainTextField {
    Q_OBJECT
public:
    explicit NotesField(int maxLines = 3, QWidget* parent = nullptr);

    /// The wrapped lines of the text at the field's width now, at least 1 and at most `maxLines`.
    int shownLines() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitHeight();

    int m_maxLines;
};

} // namespace Orza
