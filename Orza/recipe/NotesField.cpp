#include "Orza/recipe/NotesField.h"

#include <QAbstractTextDocumentLayout>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>

namespace Orza {

NotesField::NotesField(int maxLines, QWidget* parent) : PlainTextField(parent), m_maxLines(std::max(1, maxLines)) {
    connect(this, &QPlainTextEdit::textChanged, this, &NotesField::fitHeight);
    fitHeight();
}

int NotesField::shownLines() const {
    // The document lays its blocks out at the field's width when asked for their size.
    const QAbstractTextDocumentLayout* layout = document()->documentLayout();
    int lines = 0;
    for (QTextBlock block = document()->firstBlock(); block.isValid() && lines < m_maxLines; block = block.next()) {
        layout->blockBoundingRect(block);
        lines += std::max(1, block.layout()->lineCount());
    }
    return std::clamp(lines, 1, m_maxLines);
}

void NotesField::fitHeight() {
    const int lines = shownLines();
    const qreal lineHeight = std::ceil(QFontMetricsF(font()).lineSpacing());
    // The text scrolls unless the viewport holds its lines, the margin above and below, and one more pixel.
    const qreal margins = 2 * document()->documentMargin() + 1;
    const QMargins frame = contentsMargins();
    setFixedHeight(int(std::ceil(lines * lineHeight + margins)) + frame.top() + frame.bottom());
}

void NotesField::resizeEvent(QResizeEvent* event) {
    PlainTextField::resizeEvent(event);
    // Another width wraps the text anew; a change of height alone (this fitting it) needs nothing more.
    if (event->oldSize().width() != event->size().width()) fitHeight();
}

} // namespace Orza
