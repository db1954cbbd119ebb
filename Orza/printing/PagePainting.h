#pragma once

#include "Orza/printing/PageContent.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QSizeF>

#include <functional>

class QPaintDevice;
class QPainter;

/// How every printed page is painted, whatever it goes to: paper, a PDF or a picture on screen.
namespace Orza::Printing {

/// US Letter, portrait, in points.
inline constexpr QSizeF letterPage{612, 792};

/// Device pixels per point. Printers, PDF writers and images map points through their resolution;
/// widgets and pixmaps take one logical pixel for a point, as the rest of the interface does.
qreal devicePixelsPerPoint(const QPaintDevice& device);

/// Page text is set in fonts this many times their size and measured and drawn in units as much smaller
/// than a point: Qt loads a font at a whole number of pixels, so in points a size such as 9.5 would reach
/// the page as 10.
inline constexpr qreal textUnitsPerPoint = 100;

/// The system font at `points` on the page, in text units: a text unit is one pixel of the font, so the
/// font is `points` × textUnitsPerPoint pixels high, whatever the device's resolution. Lengths measured
/// with it are text units; draw it under a TextUnitsPainter.
QFont pageFont(qreal points, QFont::Weight weight, const QPaintDevice& device);

/// How wide the text is in points, set in a page font.
qreal pageTextWidth(const QString& text, const QFont& font, const QPaintDevice& device);

/// While it lives, the painter's origin is at `topLeft` (in points) and its unit is the text unit.
class TextUnitsPainter {
public:
    TextUnitsPainter(QPainter& painter, QPointF topLeft);
    ~TextUnitsPainter();
    TextUnitsPainter(const TextUnitsPainter&) = delete;
    TextUnitsPainter& operator=(const TextUnitsPainter&) = delete;

private:
    QPainter& m_painter;
};

/// min(1, page width ÷ content width, page height ÷ content height); a side of 1 point or less never
/// limits it, so content is only ever scaled down.
qreal fitScale(QSizeF content, QSizeF page);

/// Runs `draw` with the painter scaled by fitScale(), the content's top left on the page's top left.
/// The painter's state is the same afterwards.
void drawFittedOnPage(QPainter& painter, QSizeF content, QSizeF page, const std::function<void(QPainter&)>& draw);

/// Paints the content fitted on a page of `page` points whose top left is at the painter's origin, the
/// painter being in device pixels. `paperScale` shrinks the whole page further, to fit a sheet of paper.
void paintPage(QPainter& painter, const PageContent& content, QSizeF page, qreal paperScale = 1);

/// The page as a picture, `pixelsPerPoint` pixels a point, white where nothing is painted.
QImage renderPage(const PageMaker& page, QSizeF pageSize, qreal pixelsPerPoint);

} // namespace Orza::Printing
