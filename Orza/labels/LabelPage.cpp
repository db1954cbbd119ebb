#include "Orza/labels/LabelPage.h"

#include "Orza/display/TextDisplay.h"
#include "Orza/printing/PagePainting.h"
#include "Orza/printing/PdfPages.h"
#include "Orza/printing/TextFit.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTimeZone>

#include <algorithm>
#include <climits>

namespace Orza {

namespace {

constexpr qreal horizontalPadding = 9;
constexpr qreal outlineWidth = 0.75;
constexpr qreal outlineRadius = 4;
const QColor outlineInk(142, 142, 147, int(0.45 * 255));
constexpr int recipeLines = 2;

struct LabelType {
    qreal code, recipe, details, spacing, verticalPadding;
};

LabelType typeFor(qreal height) {
    if (TileLabel::isTall(height)) return {20, 11, 9.5, 4, 9};
    return {16, 9.5, 8, 2, 6};
}

/// A name typed with line breaks still reads as one name on a label; one far longer than a label holds is laid
/// out by its ends only.
QString oneLine(const std::string& text) {
    QString line = shownText(text);
    for (QChar& c : line)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator) c = QLatin1Char(' ');
    return line;
}

QRectF toRect(const GlazeCore::Rect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

} // namespace

std::vector<std::vector<int>> LabelSet::pages() const {
    return GlazeCore::LabelLayout::pages(int(std::min<std::size_t>(tiles.size(), INT_MAX)), sheet.columns, sheet.rows,
                                         skip);
}

int placedTileLabel(const GlazeCore::LabelLayout::Sheet& sheet, int position, int pageIndex, int skip) {
    return GlazeCore::LabelLayout::slot(position, pageIndex, skip, GlazeCore::LabelLayout::labelsPerPage(sheet));
}

QSizeF labelPaperSize(const GlazeCore::LabelLayout::Sheet& sheet) {
    if (!(sheet.pageWidth > 0) || !(sheet.pageHeight > 0)) return {};
    return QSizeF(
        QPageSize(QSizeF(sheet.pageWidth, sheet.pageHeight), QPageSize::Point, QString(), QPageSize::ExactMatch)
            .sizePoints());
}

TileLabel::TileLabel(const GlazeCore::LabelLayout::Text& text, QSizeF size, const QPaintDevice& device) {
    const LabelType type = typeFor(size.height());
    const qreal width = std::max<qreal>(size.width() - 2 * horizontalPadding, 1);
    // The fonts measure in text units; the lines keep points.
    const qreal room = width * Printing::textUnitsPerPoint;
    qreal y = type.verticalPadding;
    // `fullSize` is the font at its own size: a line shrunk to fit keeps that room and baseline, so the lines
    // under it stay where they are.
    const auto addLine = [&](QStringList rows, QFont font, qreal points, const QFont& fullSize, int maxLines) {
        const QFontMetricsF metrics(fullSize, &device);
        const qreal unit = Printing::textUnitsPerPoint;
        const qreal height = (maxLines == 1 ? metrics.height() : maxLines * metrics.lineSpacing()) / unit;
        const auto direction = rows.join(QLatin1Char(' ')).isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
        m_lines.push_back({std::move(rows), std::move(font), points, QPointF(horizontalPadding, y), width, height,
                           maxLines, metrics.ascent() / unit, metrics.lineSpacing() / unit, direction});
        y += height + type.spacing;
    };

    const QFont codeFont = Printing::pageFont(type.code, QFont::Bold, device);
    const auto code = Printing::shrinkToWidth(oneLine(text.code), codeFont, device, room, 0.6);
    addLine({code.text}, code.font, type.code * code.scale, codeFont, 1);

    const QFont recipeFont = Printing::pageFont(type.recipe, QFont::Normal, device);
    const QString recipe = Printing::elideMiddle(oneLine(text.recipe), [&](const QString& candidate) {
        return Printing::wrappedLines(candidate, recipeFont, device, room).size() <= recipeLines;
    });
    addLine(Printing::wrappedLines(recipe, recipeFont, device, room), recipeFont, type.recipe, recipeFont, recipeLines);

    const QFont detailsFont = Printing::pageFont(type.details, QFont::Normal, device);
    const auto details = Printing::shrinkToWidth(oneLine(text.details), detailsFont, device, room, 0.7);
    addLine({details.text}, details.font, type.details * details.scale, detailsFont, 1);
}

void TileLabel::paint(QPainter& painter, QPointF origin) const {
    painter.save();
    painter.setPen(Qt::black);
    for (const Line& line : m_lines) {
        painter.setFont(line.font);
        painter.setLayoutDirection(line.direction);
        qreal baseline = origin.y() + line.topLeft.y() + line.baseline;
        for (const QString& row : line.rows) {
            const Printing::TextUnitsPainter units(painter, QPointF(origin.x() + line.topLeft.x(), baseline));
            painter.drawText(QPointF(0, 0), row);
            baseline += line.rowStep;
        }
    }
    painter.restore();
}

LabelPageLayout::LabelPageLayout(const LabelPage& page, const QPaintDevice& device) {
    const LabelSet& set = *page.labels;
    const auto& sheet = set.sheet;
    m_page = QRectF(0, 0, sheet.pageWidth, sheet.pageHeight);
    m_paper = labelPaperSize(sheet);
    if (page.outlines)
        for (int slot = 0; slot < GlazeCore::LabelLayout::labelsPerPage(sheet); ++slot)
            m_outlines.push_back(toRect(GlazeCore::LabelLayout::labelOrigin(slot, sheet)));
    const std::string timeZone = QTimeZone::systemTimeZoneId().toStdString();
    for (std::size_t k = 0; k < page.items.size(); ++k) {
        const int index = page.items[k];
        if (index < 0 || std::size_t(index) >= set.tiles.size()) continue;
        const int slot = placedTileLabel(sheet, int(k), page.pageIndex, set.skip);
        const QRectF frame = toRect(GlazeCore::LabelLayout::labelOrigin(slot, sheet));
        static const GlazeCore::LabelLayout::RecipeNames noNames;
        const auto text =
            GlazeCore::LabelLayout::text(set.tiles[std::size_t(index)], set.recipes ? *set.recipes : noNames, timeZone);
        m_labels.push_back({slot, frame, TileLabel(text, frame.size(), device)});
    }
}

void LabelPageLayout::paint(QPainter& painter) const {
    painter.save();
    painter.fillRect(m_page, Qt::white);
    painter.setPen(QPen(outlineInk, outlineWidth));
    painter.setBrush(Qt::NoBrush);
    // Stroked inside the label's edge, as the label itself ends there.
    const qreal inset = outlineWidth / 2;
    for (const QRectF& outline : m_outlines)
        painter.drawRoundedRect(outline.adjusted(inset, inset, -inset, -inset), outlineRadius - inset,
                                outlineRadius - inset);
    for (const PlacedLabel& placed : m_labels) {
        painter.save();
        painter.setClipRect(placed.frame, Qt::IntersectClip);
        placed.label.paint(painter, placed.frame.topLeft());
        painter.restore();
    }
    painter.restore();
}

Printing::PageMaker labelPageMaker(LabelPage page) {
    return [page = std::move(page)](const QPaintDevice& device) -> std::unique_ptr<Printing::PageContent> {
        return std::make_unique<LabelPageLayout>(page, device);
    };
}

QString labelJobTitle() {
    return QCoreApplication::translate("LabelSheet", "Tile labels");
}

QByteArray renderLabelPDF(const std::vector<LabelPage>& pages, QSizeF paperSize) {
    if (pages.empty() || !(paperSize.width() > 0) || !(paperSize.height() > 0)) return {};
    std::vector<Printing::PageMaker> makers;
    for (const LabelPage& page : pages)
        makers.push_back(labelPageMaker(page));
    return Printing::makePdf(makers, paperSize, labelJobTitle());
}

namespace {

std::vector<LabelPage> paperPages(const LabelSet& labels) {
    auto shared = std::make_shared<const LabelSet>(labels);
    std::vector<LabelPage> pages;
    int index = 0;
    for (auto& items : labels.pages())
        pages.push_back({shared, std::move(items), index++, false});
    return pages;
}

} // namespace

QByteArray labelPDFData(const LabelSet& labels) {
    return renderLabelPDF(paperPages(labels), labelPaperSize(labels.sheet));
}

bool printLabelPDF(QWidget* window, const LabelSet& labels, Printing::PrintDone done) {
    if (labels.tiles.empty()) return false;
    const std::vector<LabelPage> pages = paperPages(labels);
    const QSizeF paper = labelPaperSize(labels.sheet);
    if (pages.empty() || paper.isEmpty()) return false;
    std::vector<Printing::PageMaker> makers;
    for (const LabelPage& page : pages)
        makers.push_back(labelPageMaker(page));
    Printing::printPages(window, Printing::jobPrinter(paper), std::move(makers), paper, labelJobTitle(),
                         Printing::PaperFit::actualSize, std::move(done));
    return true;
}

QString previewAccessibilityValue(const LabelSet& labels, const std::vector<int>& page) {
    const auto codeAt = [&](int index) -> const std::string* {
        if (index < 0 || std::size_t(index) >= labels.tiles.size()) return nullptr;
        return &labels.tiles[std::size_t(index)].code;
    };
    const std::string* first = page.empty() ? nullptr : codeAt(page.front());
    const std::string* last = page.empty() ? nullptr : codeAt(page.back());
    if (!first || !last) return QStringLiteral("No labels.");
    const QString count =
        page.size() == 1 ? QStringLiteral("1 label") : QStringLiteral("%1 labels").arg(qulonglong(page.size()));
    const QString codes =
        *first == *last ? shownText(*first) : QStringLiteral("%1 to %2").arg(shownText(*first), shownText(*last));
    return QStringLiteral("%1, %2, starting at label %3.").arg(count, codes, QString::number(labels.skip + 1));
}

} // namespace Orza
