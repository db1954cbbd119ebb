#include "Orza/widgets/SymbolIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>
#include <utility>

namespace Orza::SymbolIcon {

namespace {

/// Symbols are drawn on a 16 × 16 grid and scaled to the square asked for.
constexpr qreal grid = 16.0;

QPainterPath triangle() {
    QPainterPath path;
    path.moveTo(8, 1.6);
    path.lineTo(15.2, 14.2);
    path.lineTo(0.8, 14.2);
    path.closeSubpath();
    return path;
}

QPainterPath octagon() {
    QPainterPath path;
    for (int i = 0; i < 8; ++i) {
        const qreal angle = (22.5 + 45.0 * i) * M_PI / 180.0;
        const QPointF corner(8 + 7 * std::cos(angle), 8 + 7 * std::sin(angle));
        if (i == 0)
            path.moveTo(corner);
        else
            path.lineTo(corner);
    }
    path.closeSubpath();
    return path;
}

/// An exclamation mark centred at x = 8 between `top` and `bottom`.
void exclamation(QPainter& painter, qreal top, qreal bottom, qreal width, const QColor& color) {
    painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(8, top), QPointF(8, bottom - 2.6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QPointF(8, bottom), width * 0.6, width * 0.6);
}

/// Whatever lies under a knocked-out mark shows through it.
void knockOut(QPainter& painter) {
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
}

void paintOnGrid(QPainter& painter, Symbol symbol, const QColor& color) {
    const QColor clear(0, 0, 0, 255);
    switch (symbol) {
    case Symbol::exclamationTriangle:
        painter.setPen(QPen(color, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(triangle());
        exclamation(painter, 6.0, 12.0, 1.5, color);
        break;
    case Symbol::exclamationTriangleFill:
        painter.setPen(QPen(color, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(color);
        painter.drawPath(triangle());
        knockOut(painter);
        exclamation(painter, 6.0, 12.0, 1.6, clear);
        break;
    case Symbol::exclamationOctagon:
        painter.setPen(QPen(color, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(octagon());
        exclamation(painter, 4.4, 11.4, 1.5, color);
        break;
    case Symbol::checkmarkCircle: {
        painter.setPen(QPen(color, 1.3));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(8, 8), 6.8, 6.8);
        painter.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const std::array<QPointF, 3> tick{QPointF(5.0, 8.3), QPointF(7.2, 10.5), QPointF(11.2, 5.8)};
        painter.drawPolyline(tick.data(), int(tick.size()));
        break;
    }
    case Symbol::arrowUpCircleFill:
    case Symbol::arrowDownCircleFill: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(QPointF(8, 8), 7.4, 7.4);
        knockOut(painter);
        const qreal flip = symbol == Symbol::arrowUpCircleFill ? 1.0 : -1.0;
        const auto at = [flip](qreal x, qreal y) { return QPointF(x, 8 + flip * (y - 8)); };
        painter.setPen(QPen(clear, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(at(8, 11.8), at(8, 4.6));
        const std::array<QPointF, 3> head{at(4.9, 7.6), at(8, 4.5), at(11.1, 7.6)};
        painter.drawPolyline(head.data(), int(head.size()));
        break;
    }
    case Symbol::chevronUp:
    case Symbol::chevronDown: {
        const qreal flip = symbol == Symbol::chevronUp ? 1.0 : -1.0;
        const auto at = [flip](qreal x, qreal y) { return QPointF(x, 8 + flip * (y - 8)); };
        painter.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        const std::array<QPointF, 3> chevron{at(3.5, 10.5), at(8, 5.5), at(12.5, 10.5)};
        painter.drawPolyline(chevron.data(), int(chevron.size()));
        break;
    }
    }
}

void paintOnSquare(QPainter& painter, const QRectF& bounds, Symbol symbol, const QColor& color) {
    const qreal side = std::min(bounds.width(), bounds.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(bounds.center().x() - side / 2, bounds.center().y() - side / 2);
    painter.scale(side / grid, side / grid);
    paintOnGrid(painter, symbol, color);
    painter.restore();
}

class SymbolEngine final : public QIconEngine {
public:
    SymbolEngine(Symbol symbol, QColor color) : m_symbol(symbol), m_color(std::move(color)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        QColor color = m_color;
        if (mode == QIcon::Disabled) color.setAlphaF(color.alphaF() * 0.4f);
        SymbolIcon::paint(*painter, rect, m_symbol, color);
    }
    QIconEngine* clone() const override { return new SymbolEngine(*this); }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap image(size);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return image;
    }

private:
    Symbol m_symbol;
    QColor m_color;
};

} // namespace

std::optional<Symbol> named(QStringView systemName) {
    static const std::array<std::pair<const char*, Symbol>, 8> names{{
        {"exclamationmark.triangle", Symbol::exclamationTriangle},
        {"exclamationmark.triangle.fill", Symbol::exclamationTriangleFill},
        {"exclamationmark.octagon", Symbol::exclamationOctagon},
        {"checkmark.circle", Symbol::checkmarkCircle},
        {"arrow.up.circle.fill", Symbol::arrowUpCircleFill},
        {"arrow.down.circle.fill", Symbol::arrowDownCircleFill},
        {"chevron.up", Symbol::chevronUp},
        {"chevron.down", Symbol::chevronDown},
    }};
    for (const auto& [name, symbol] : names)
        if (systemName == QLatin1String(name)) return symbol;
    return std::nullopt;
}

void paint(QPainter& painter, const QRectF& bounds, Symbol symbol, const QColor& color) {
    // Through a pixmap of its own, so that knocked-out marks never cut into what lies below.
    const qreal side = std::min(bounds.width(), bounds.height());
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap drawn = pixmap(symbol, color, qRound(side), ratio);
    const QSizeF size = drawn.deviceIndependentSize();
    painter.drawPixmap(QPointF(bounds.center().x() - size.width() / 2, bounds.center().y() - size.height() / 2), drawn);
}

QPixmap pixmap(Symbol symbol, const QColor& color, int side, qreal devicePixelRatio) {
    const int pixels = std::max(1, qRound(side * devicePixelRatio));
    QPixmap image(pixels, pixels);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        paintOnSquare(painter, QRectF(0, 0, pixels, pixels), symbol, color);
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QIcon icon(Symbol symbol, const QColor& color) {
    return QIcon(new SymbolEngine(symbol, color));
}

} // namespace Orza::SymbolIcon
