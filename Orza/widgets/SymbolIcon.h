#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QStringView>

#include <optional>

class QPainter;

namespace Orza {

/**
 * The few small symbols the panes put beside their texts, painted rather than read from files so that
 * they take any colour (secondary, warning) and stay sharp at any size and screen scale.
 */
enum class Symbol {
    exclamationTriangle,
    exclamationTriangleFill,
    exclamationOctagon,
    checkmarkCircle,
    arrowUpCircleFill,
    arrowDownCircleFill,
    chevronUp,
    chevronDown,
};

namespace SymbolIcon {

/// The symbol of a system symbol name such as "exclamationmark.triangle.fill"; none for other names.
std::optional<Symbol> named(QStringView systemName);

/// Paints the symbol into the square centred in `bounds`.
void paint(QPainter& painter, const QRectF& bounds, Symbol symbol, const QColor& color);
/// A pixmap of `side` logical pixels at the given screen scale.
QPixmap pixmap(Symbol symbol, const QColor& color, int side, qreal devicePixelRatio);
/// An icon that paints the symbol at whatever size a view asks for.
QIcon icon(Symbol symbol, const QColor& color);

} // namespace SymbolIcon

} // namespace Orza
