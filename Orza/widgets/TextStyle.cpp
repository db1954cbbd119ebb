#include "Orza/widgets/TextStyle.h"

#include "Orza/widgets/ColorMix.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <utility>

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

/// The contrast small text needs against its background to be read by most eyes.
constexpr qreal minimumContrast = 4.5;

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

qreal contrastRatio(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](float channel) {
            return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        const QColor rgb = colour.toRgb();
        return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
    };
    const qreal first = luminance(a);
    const qreal second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor seenOver(const QColor& colour, const QColor& below) {
    return towards(below, colour, colour.alphaF());
}

QColor readableAgainst(const QColor& colour, const QColor& strongest, const std::vector<QColor>& backgrounds,
                       qreal least) {
    const auto worst = [&](const QColor& candidate) {
        qreal ratio = 21;
        for (const QColor& background : backgrounds)
            ratio = std::min(ratio, contrastRatio(candidate, background));
        return ratio;
    };
    // Past the strongest colour lies the extreme on its side of the backgrounds: white on dark, black on light.
    const QColor first = backgrounds.size() ? *backgrounds.begin() : QColor(Qt::white);
    const QColor extreme = strongest.lightness() >= first.lightness() ? QColor(Qt::white) : QColor(Qt::black);
    constexpr int steps = 40;
    for (const auto& [from, to] : {std::pair{colour, strongest}, std::pair{strongest, extreme}})
        for (int step = 0; step <= steps; ++step)
            if (const QColor candidate = towards(from, to, step / double(steps)); worst(candidate) >= least)
                return candidate;
    return worst(strongest) >= worst(extreme) ? strongest : extreme;
}

QColor alert(const QPalette& palette) {
    const bool dark = isDark(palette);
    const QColor red = dark ? QColor(255, 105, 97) : QColor(208, 43, 43);
    const QColor window = palette.color(QPalette::Window);
    const QColor base = palette.color(QPalette::Base);
    const auto readable = [&](const QColor& colour) {
        return contrastRatio(colour, window) >= minimumContrast && contrastRatio(colour, base) >= minimumContrast;
    };
    // Schemes put their windows anywhere between black and white: step the red away from them until it reads,
    // the other way on a grey that is neither, and failing both, take whichever extreme reads best.
    const QColor away = dark ? QColor(Qt::white) : QColor(Qt::black);
    const QColor other = dark ? QColor(Qt::black) : QColor(Qt::white);
    // Fine steps: on a mid grey only the last few hundredths before white or black still read and stay red.
    constexpr int steps = 100;
    for (const QColor& end : {away, other})
        for (int step = 0; step <= steps; ++step)
            if (const QColor candidate = towards(red, end, step / double(steps)); readable(candidate)) return candidate;
    return contrastRatio(away, window) >= contrastRatio(other, window) ? away : other;
}

void makeSecondary(QWidget* widget) {
    widget->setForegroundRole(QPalette::PlaceholderText);
}

namespace {

/// Sets the alert colour as the widget's text colour now and after each palette change it did not make itself.
class AlertColouring : public QObject {
public:
    explicit AlertColouring(QWidget* widget) : QObject(widget), m_widget(widget) {
        widget->installEventFilter(this);
        apply();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_widget && event->type() == QEvent::PaletteChange) apply();
        return false;
    }

private:
    void apply() {
        QPalette palette = m_widget->palette();
        const QColor colour = alert(palette);
        // Setting the same colour again sends no change, which ends the round the palette change began.
        if (palette.color(QPalette::WindowText) == colour && palette.color(QPalette::Text) == colour) return;
        palette.setColor(QPalette::WindowText, colour);
        palette.setColor(QPalette::Text, colour);
        m_widget->setPalette(palette);
    }

    QWidget* m_widget;
};

} // namespace

void makeAlert(QWidget* widget) {
    if (widget->findChild<AlertColouring*>(QString(), Qt::FindDirectChildrenOnly)) return;
    new AlertColouring(widget);
}

} // namespace Orza::TextStyle
