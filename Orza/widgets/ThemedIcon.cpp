#include "Orza/widgets/ThemedIcon.h"

#include "Orza/resources/Resources.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>

namespace Orza::ThemedIcon {

namespace {

QColor colourFor(QIcon::Mode mode) {
    const QPalette palette = QGuiApplication::palette();
    if (mode == QIcon::Selected) return palette.color(QPalette::HighlightedText);
    QColor colour = palette.color(QPalette::WindowText);
    if (mode == QIcon::Disabled) colour.setAlphaF(colour.alphaF() * 0.4f);
    return colour;
}

/// Paints the symbol's shape in the colour of the palette in force at the time of painting.
class ThemedEngine final : public QIconEngine {
public:
    explicit ThemedEngine(QIcon shape) : m_shape(std::move(shape)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), drawn);
    }
    // `size` is in device pixels here: the shape is asked for exactly that many, at a ratio of one, since the
    // overload without a ratio would scale it again by the application's, drawing symbols too large when scaled.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return tinted(m_shape.pixmap(size, 1.0, QIcon::Normal, state), colourFor(mode));
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return m_shape.actualSize(size, mode, state);
    }
    QIconEngine* clone() const override { return new ThemedEngine(*this); }

private:
    QIcon m_shape;
};

} // namespace

QIcon symbol(const QString& name) {
    return symbolAt(QStringLiteral(":/orza/icons/%1.svg").arg(name));
}

QIcon symbolAt(const QString& path) {
    ensureResources();
    return QIcon(new ThemedEngine(QIcon(path)));
}

QPixmap tinted(QPixmap shape, const QColor& color) {
    QPainter painter(&shape);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), shape.deviceIndependentSize()), color);
    return shape;
}

} // namespace Orza::ThemedIcon
