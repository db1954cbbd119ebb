#pragma once

#include <QColor>

namespace Orza {

/// `from` moved `share` of the way to `to` (0 keeps `from`, 1 gives `to`), channel by channel, opaque.
inline QColor towards(const QColor& from, const QColor& to, qreal share) {
    const auto step = [share](float a, float b) { return float(a + (b - a) * share); };
    return QColor::fromRgbF(step(from.redF(), to.redF()), step(from.greenF(), to.greenF()),
                            step(from.blueF(), to.blueF()));
}

} // namespace Orza
