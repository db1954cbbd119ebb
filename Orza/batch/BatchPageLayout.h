#pragma once

#include "Orza/batch/BatchPrintPage.h"
#include "Orza/printing/PageContent.h"
#include "Orza/printing/TextBlock.h"

#include <QColor>
#include <QDate>
#include <QLineF>
#include <QLocale>
#include <QPointF>

#include <vector>

class QPaintDevice;

namespace Orza {

/// "Cone 6 · batch 1,000.0 g · Mar 4, 2025": the cone, the weight asked for and the date the page is made.
QString batchHeaderLine(const BatchPrintPage& page, QDate today, const QLocale& locale = QLocale());

/**
 * The batch page laid out for one device, 612 points wide with 48 points of padding: the recipe's name,
 * the header line, a divider, the grid of material, grams and a box to tick, the total row, and the
 * notes under a second divider when there are any. Its height is what the content needs; the PDF and
 * the printer scale it down when it is taller than the paper.
 */
class BatchPageLayout final : public Printing::PageContent {
public:
    static constexpr qreal pageWidth = 612;
    static constexpr qreal padding = 48;
    static constexpr qreal spacing = 10;
    static constexpr qreal columnSpacing = 24;
    static constexpr qreal rowSpacing = 6;

    /// A piece of text and where it stands on the page.
    struct PlacedText {
        Printing::TextBlock block;
        QPointF topLeft;
        QColor color;
    };

    BatchPageLayout(const BatchPrintPage& page, const QPaintDevice& device, QDate today = QDate::currentDate());

    QSizeF size() const override { return {pageWidth, m_height}; }
    void paint(QPainter& painter) const override;

    /// Every text, top to bottom and, within a grid row, left to right.
    const std::vector<PlacedText>& texts() const { return m_texts; }
    const std::vector<QLineF>& dividers() const { return m_dividers; }

private:
    /// Each adds its part with its top at `top` and returns the part's bottom.
    qreal addText(Printing::TextBlock block, const QColor& color, qreal top);
    qreal addDivider(qreal top);
    qreal addGrid(const BatchPrintPage& page, const QPaintDevice& device, qreal top);

    std::vector<PlacedText> m_texts;
    std::vector<QLineF> m_dividers;
    qreal m_height = 0;
};

} // namespace Orza
