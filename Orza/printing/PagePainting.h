#pragma once

#include "Orza/printing/PageContent.h"

#include <QFont>
#include <QImage>
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

/// The system font at `points` on the page. The painter is scaled to points already, so the size is
/// given against the device's logical dpi, else the device's resolution would enlarge the text twice.
QFont pageFont(qreal points, QFont::Weight weight, const QPaintDevice& device);

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
