#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/layout/LabelLayout.h"
#include "Orza/printing/PageContent.h"
#include "Orza/printing/PagePrinter.h"

#include <QByteArray>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;
class QWidget;

namespace Orza {

/// What every page of one run of labels shares: the sheet, the tiles that get labels, their recipes' names
/// (shared, as every refresh of the sheet makes a set) and the label positions left empty at the start of
/// the first page.
struct LabelSet {
    GlazeCore::LabelLayout::Sheet sheet;
    std::vector<GlazeCore::LabelLayout::Tile> tiles;
    std::shared_ptr<const GlazeCore::LabelLayout::RecipeNames> recipes =
        std::make_shared<const GlazeCore::LabelLayout::RecipeNames>();
    int skip = 0;

    /// The tiles' indices cut into pages, the first page after the skipped positions.
    std::vector<std::vector<int>> pages() const;
};

/// One page of labels: the indices into the set's tiles of the labels on it, in label order.
struct LabelPage {
    std::shared_ptr<const LabelSet> labels;
    std::vector<int> items;
    int pageIndex = 0;
    /// Every label position outlined: on in the preview, off in the PDF and on paper.
    bool outlines = false;
};

/// The position (across, then down) of the label at `position` on page `pageIndex`: after the skipped
/// positions on the first page, from the first position on every later one.
int placedTileLabel(const GlazeCore::LabelLayout::Sheet& sheet, int position, int pageIndex, int skip);

/// The sheet's paper as a page size holds it, in whole points (A4 is 595 × 842); every label keeps its
/// exact place on it.
QSizeF labelPaperSize(const GlazeCore::LabelLayout::Sheet& sheet);

/**
 * The three lines of one label laid out in a label-sized frame for a device: the code (bold, shrunk down
 * to 60 % before it is cut), the recipe's name (up to two lines, cut in the middle, always taking the
 * room of two) and the details (shrunk down to 70 % before they are cut). A label 100 points high or more
 * is tall and gets larger type and more room.
 */
class TileLabel final {
public:
    struct Line {
        /// The text as drawn, one entry a row: cut or broken to fit.
        QStringList rows;
        /// A page font, in text units.
        QFont font;
        /// The font's size in points on the page, after any shrinking.
        qreal points = 0;
        /// The top left of the line's room in the label.
        QPointF topLeft;
        qreal width = 0;
        /// The room the line takes, whatever its text: a line of its full-size font, or two for the recipe.
        qreal height = 0;
        int maxLines = 1;
        /// From the room's top to the first row's baseline, and from one row's baseline to the next.
        qreal baseline = 0;
        qreal rowStep = 0;
        /// The line's own direction, from its first strong letter: every device draws its rows so, as they
        /// were measured, whatever direction the device's painter starts with.
        Qt::LayoutDirection direction = Qt::LeftToRight;
    };

    TileLabel(const GlazeCore::LabelLayout::Text& text, QSizeF size, const QPaintDevice& device);

    static bool isTall(qreal height) { return height >= 100; }

    const std::vector<Line>& lines() const { return m_lines; }
    /// Draws the lines in black with the label's top left at `origin`.
    void paint(QPainter& painter, QPointF origin) const;

private:
    std::vector<Line> m_lines;
};

/// A label and the position it stands in.
struct PlacedLabel {
    int slot = 0;
    QRectF frame;
    TileLabel label;
};

/// One page of labels laid out for a device: white paper, the outlines when asked for, each label in its
/// position. Paper, PDF and preview all paint it, so they show the same thing.
class LabelPageLayout final : public Printing::PageContent {
public:
    LabelPageLayout(const LabelPage& page, const QPaintDevice& device);

    QSizeF size() const override { return m_paper; }
    void paint(QPainter& painter) const override;

    const std::vector<PlacedLabel>& labels() const { return m_labels; }
    /// The outlined positions, none without outlines.
    const std::vector<QRectF>& outlines() const { return m_outlines; }

private:
    QRectF m_page;
    QSizeF m_paper;
    std::vector<QRectF> m_outlines;
    std::vector<PlacedLabel> m_labels;
};

Printing::PageMaker labelPageMaker(LabelPage page);

/// One PDF page of the paper's size per page, in order; empty bytes for no pages or a page of no size.
QByteArray renderLabelPDF(const std::vector<LabelPage>& pages, QSizeF paperSize);
/// Every page of the set, without outlines, as one PDF; empty bytes when none could be made.
QByteArray labelPDFData(const LabelSet& labels);

/// The print job's title.
QString labelJobTitle();

/**
 * Print…: the print panel over `window` for a printer made for the job (the sheet's paper, no margins),
 * then every page at 100 %, never scaled to fit. False at once, with nothing shown, when there is nothing
 * to print; else `done` tells whether the printer could be painted on (a cancelled panel counts as done).
 */
bool printLabelPDF(QWidget* window, const LabelSet& labels, Printing::PrintDone done);

/// "30 labels, T-001 to T-030, starting at label 1.": what the preview of a first page holds.
QString previewAccessibilityValue(const LabelSet& labels, const std::vector<int>& page);

} // namespace Orza
