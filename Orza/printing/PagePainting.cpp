#include "Orza/printing/PagePainting.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace Orza::Printing {

namespace {

constexpr qreal pointsPerInch = 72;

bool takesPixelsForPoints(const QPaintDevice& device) {
    return device.devType() == QInternal::Widget || device.devType() == QInternal::Pixmap;
}

} // namespace

qreal devicePixelsPerPoint(const QPaintDevice& device) {
    if (takesPixelsForPoints(device)) return 1;
    return device.logicalDpiY() / pointsPerInch;
}

QFont pageFont(qreal points, QFont::Weight weight, const QPaintDevice& device) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    // Qt turns a point size into pixels through the device's dpi, and the painter is scaled already:
    // undo the dpi, so that one pixel of the font is one text unit.
    font.setPointSizeF(points * textUnitsPerPoint * pointsPerInch / device.logicalDpiY());
    font.setWeight(weight);
    // Unhinted advances do not depend on the size the glyphs happen to land on, so a line measures the
    // same on every device.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

qreal pageTextWidth(const QString& text, const QFont& font, const QPaintDevice& device) {
    return QFontMetricsF(font, &device).horizontalAdvance(text) / textUnitsPerPoint;
}

TextUnitsPainter::TextUnitsPainter(QPainter& painter, QPointF topLeft) : m_painter(painter) {
    m_painter.save();
    m_painter.translate(topLeft);
    m_painter.scale(1 / textUnitsPerPoint, 1 / textUnitsPerPoint);
}

TextUnitsPainter::~TextUnitsPainter() {
    m_painter.restore();
}

qreal fitScale(QSizeF content, QSizeF page) {
    const qreal across = page.width() / std::max<qreal>(content.width(), 1);
    const qreal down = page.height() / std::max<qreal>(content.height(), 1);
    return std::min<qreal>({1, across, down});
}

void drawFittedOnPage(QPainter& painter, QSizeF content, QSizeF page, const std::function<void(QPainter&)>& draw) {
    const qreal scale = fitScale(content, page);
    painter.save();
    painter.scale(scale, scale);
    draw(painter);
    painter.restore();
}

void paintPage(QPainter& painter, const PageContent& content, QSizeF page, qreal paperScale) {
    const qreal toDevice = devicePixelsPerPoint(*painter.device()) * paperScale;
    painter.save();
    painter.scale(toDevice, toDevice);
    drawFittedOnPage(painter, content.size(), page, [&content](QPainter& p) { content.paint(p); });
    painter.restore();
}

QImage renderPage(const PageMaker& page, QSizeF pageSize, qreal pixelsPerPoint) {
    const QSize pixels = (pageSize * pixelsPerPoint).toSize();
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    // The image's resolution carries the scale, as a printer's does.
    const int dotsPerMeter = int(std::lround(pixelsPerPoint * pointsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPage(painter, *page(image), pageSize);
    return image;
}

} // namespace Orza::Printing
