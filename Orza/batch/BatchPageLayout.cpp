#include "Orza/batch/BatchPageLayout.h"

#include "Orza/display/TextDisplay.h"
#include "Orza/printing/PagePainting.h"
#include "Orza/widgets/LongNotes.h"

#include <QCoreApplication>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <optional>

namespace Orza {

namespace {

using Printing::TextBlock;

const QColor ink(Qt::black);
const QColor secondaryInk(0x6e, 0x6e, 0x73);
const QColor dividerInk(0xc6, 0xc6, 0xc8);
constexpr qreal dividerWidth = 0.75;
// The material column never gets narrower than this, however wide the numbers are.
constexpr qreal narrowestMaterialColumn = 72;

QString tr(const char* text) {
    return QCoreApplication::translate("BatchPrintPage", text);
}

/// The locale's long date without the weekday and with the month abbreviated: "Mar 4, 2025", "4. März 2025".
QString abbreviatedDate(QDate date, const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::LongFormat);
    static const QRegularExpression weekday(QStringLiteral("d{3,4}[,\u060c]?\\s*"));
    static const QRegularExpression looseEnds(QStringLiteral("^[\\s,]+|[\\s,]+$"));
    format.remove(weekday).remove(looseEnds);
    format.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    return locale.toString(date, format);
}

} // namespace

QString batchHeaderLine(const BatchPrintPage& page, QDate today, const QLocale& locale) {
    return tr("Cone %1 \u00b7 batch %2 g \u00b7 %3")
        .arg(shownText(page.recipe.cone), page.gramsText(page.totalGrams), abbreviatedDate(today, locale));
}

BatchPageLayout::BatchPageLayout(const BatchPrintPage& page, const QPaintDevice& device, QDate today) {
    const qreal contentWidth = pageWidth - 2 * padding;
    const QFont small = Printing::pageFont(11, QFont::Normal, device);
    qreal y = padding;
    y = addText(
        TextBlock(shownText(page.recipe.name), Printing::pageFont(20, QFont::DemiBold, device), device, contentWidth),
        ink, y);
    y = addText(TextBlock(batchHeaderLine(page, today), small, device, contentWidth), secondaryInk, y + spacing);
    y = addDivider(y + spacing);
    y = addGrid(page, device, y + spacing);
    // Notes are printed as written, but for notes too long to lay out, whose ends are printed; only truly empty
    // notes leave the part out.
    if (!page.recipe.notes.empty()) {
        y = addDivider(y + spacing);
        y = addText(TextBlock(LongNotes::laidOut(page.recipe.notes), small, device, contentWidth), ink, y + spacing);
    }
    m_height = y + padding;
}

qreal BatchPageLayout::addText(TextBlock block, const QColor& color, qreal top) {
    const qreal bottom = top + block.size().height();
    m_texts.push_back({std::move(block), QPointF(padding, top), color});
    return bottom;
}

qreal BatchPageLayout::addDivider(qreal top) {
    const qreal middle = top + dividerWidth / 2;
    m_dividers.emplace_back(padding, middle, pageWidth - padding, middle);
    return top + dividerWidth;
}

qreal BatchPageLayout::addGrid(const BatchPrintPage& page, const QPaintDevice& device, qreal top) {
    struct GridRow {
        std::array<QString, 3> cells;
        QFont font;
    };
    std::vector<GridRow> rows;
    rows.push_back({{tr("Material"), tr("Grams"), tr("Weighed")}, Printing::pageFont(11, QFont::DemiBold, device)});
    const QFont cellFont = Printing::pageFont(12, QFont::Normal, device);
    for (const BatchRow& row : page.rows)
        rows.push_back({{batchRowTitle(row), page.gramsText(row.grams), QStringLiteral("\u2610")}, cellFont});
    rows.push_back({{tr("Total"), page.gramsText(batchRowsTotal(page.rows)), QString()},
                    Printing::pageFont(12, QFont::DemiBold, device)});

    // The grams and the boxes keep their natural width; the names take what is left and wrap in it.
    std::vector<std::array<std::optional<TextBlock>, 3>> blocks(rows.size());
    std::array<qreal, 3> widths{};
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < 3; ++c) {
            blocks[r][c].emplace(rows[r].cells[c], rows[r].font, device);
            widths[c] = std::max(widths[c], blocks[r][c]->size().width());
        }
    const qreal room = pageWidth - 2 * padding - widths[1] - widths[2] - 2 * columnSpacing;
    const qreal materialWidth = std::min(widths[0], std::max(room, narrowestMaterialColumn));
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (blocks[r][0]->size().width() > materialWidth)
            blocks[r][0].emplace(rows[r].cells[0], rows[r].font, device, materialWidth);

    const std::array<qreal, 3> left{padding, padding + materialWidth + columnSpacing,
                                    padding + materialWidth + widths[1] + 2 * columnSpacing};
    qreal y = top;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0) y += rowSpacing;
        qreal height = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            TextBlock& block = *blocks[r][c];
            height = std::max(height, block.size().height());
            // The grams column lines up at its trailing edge, its header with it.
            const qreal x = c == 1 ? left[1] + widths[1] - block.size().width() : left[c];
            m_texts.push_back({std::move(block), QPointF(x, y), ink});
        }
        y += height;
    }
    return y;
}

void BatchPageLayout::paint(QPainter& painter) const {
    painter.save();
    painter.setPen(QPen(dividerInk, dividerWidth));
    for (const QLineF& divider : m_dividers)
        painter.drawLine(divider);
    painter.restore();
    for (const PlacedText& text : m_texts)
        text.block.paint(painter, text.topLeft, text.color);
}

} // namespace Orza
