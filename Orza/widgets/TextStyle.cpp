#include "Orza/widgets/TextStyle.h"

#include <QApplication>
#include <QWidget>
#include <QtGlobal>

#include <algorithm>

namespace Orza::TextStyle {

namespace {

/// Sizes relative to body text, in the proportions of the desktop's usual type ramp.
qreal scale(Style style) {
    switch (style) {
    case Style::body:
    case Style::headline:
        return 1.0;
    case Style::title2:
        return 1.3;
    case Style::title3:
        return 1.15;
    case Style::subheadline:
    case Style::callout:
        return 0.92;
    case Style::caption:
        return 0.85;
    case Style::caption2:
        return 0.8;
    }
    return 1.0;
}

/// Below this captions stop being readable on a desktop screen.
constexpr qreal smallestPointSize = 7.0;

} // namespace

QFont font(Style style, const QFont& base) {
    QFont styled = base;
    if (base.pointSizeF() > 0) {
        styled.setPointSizeF(std::max(smallestPointSize, base.pointSizeF() * scale(style)));
    } else {
        styled.setPixelSize(std::max(9, qRound(base.pixelSize() * scale(style))));
    }
    if (style == Style::headline) styled.setWeight(QFont::DemiBold);
    return styled;
}

QFont semibold(QFont font) {
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont monospacedDigits(QFont font) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    font.setFeature(QFont::Tag("tnum"), 1);
#endif
    return font;
}

void apply(QWidget* widget, Style style, std::optional<QFont::Weight> weight) {
    QFont styled = font(style, QApplication::font(widget));
    if (weight) styled.setWeight(*weight);
    widget->setFont(styled);
}

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

QColor secondary(const QPalette& palette) {
    return palette.color(QPalette::PlaceholderText);
}

QColor warning(const QPalette& palette) {
    return isDark(palette) ? QColor(255, 159, 10) : QColor(214, 107, 0);
}

QColor alert(const QPalette& palette) {
    return isDark(palette) ? QColor(255, 105, 97) : QColor(208, 43, 43);
}

void makeSecondary(QWidget* widget) {
    widget->setForegroundRole(QPalette::PlaceholderText);
}

} // namespace Orza::TextStyle
