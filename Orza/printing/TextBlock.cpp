#include "Orza/printing/TextBlock.h"

#include "Orza/printing/PagePainting.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace Orza::Printing {

namespace {

// A text layout breaks lines only at the Unicode line separator.
QString withLineSeparators(QString text) {
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\r'), QChar::LineSeparator);
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}

} // namespace

TextBlock::TextBlock(const QString& text, const QFont& font, const QPaintDevice& device, qreal maxWidth)
    : m_text(text), m_layout(std::make_unique<QTextLayout>(withLineSeparators(text), font, &device)) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_layout->setTextOption(option);
    m_layout->setCacheEnabled(true);
    m_layout->beginLayout();
    // Laid out in text units, the font's own; size() gives points.
    qreal y = 0;
    qreal width = 0;
    for (QTextLine line = m_layout->createLine(); line.isValid(); line = m_layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(std::max<qreal>(maxWidth * textUnitsPerPoint, 1));
        line.setPosition(QPointF(0, y));
        y += line.height();
        width = std::max(width, line.naturalTextWidth());
    }
    m_layout->endLayout();
    m_size = QSizeF(width, y) / textUnitsPerPoint;
}

TextBlock::TextBlock(TextBlock&&) noexcept = default;
TextBlock& TextBlock::operator=(TextBlock&&) noexcept = default;
TextBlock::~TextBlock() = default;

int TextBlock::lineCount() const {
    return m_layout->lineCount();
}

void TextBlock::paint(QPainter& painter, QPointF topLeft, const QColor& color) const {
    const TextUnitsPainter units(painter, topLeft);
    painter.setPen(color);
    m_layout->draw(&painter, QPointF(0, 0));
}

} // namespace Orza::Printing
