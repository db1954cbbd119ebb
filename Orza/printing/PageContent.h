#pragma once

#include <QSizeF>

#include <functional>
#include <memory>

class QPaintDevice;
class QPainter;

namespace Orza::Printing {

/**
 * The content of one printed page, laid out once for the device it is painted on: measured with that
 * device's font metrics and painted from the same layout, so what was measured is what gets drawn.
 * Lengths are points with y pointing down and the content's top left at the origin.
 */
class PageContent {
public:
    virtual ~PageContent() = default;

    /// The content's natural size in points.
    virtual QSizeF size() const = 0;
    /// Paints the content; the painter is already scaled to points.
    virtual void paint(QPainter& painter) const = 0;
};

/// Lays one page's content out for a device. Paper, PDF and preview each call it with their own device.
using PageMaker = std::function<std::unique_ptr<PageContent>(const QPaintDevice& device)>;

} // namespace Orza::Printing
