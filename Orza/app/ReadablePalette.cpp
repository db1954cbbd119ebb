#include "Orza/app/ReadablePalette.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>

#include <array>
#include <cstdlib>

namespace Orza::ReadablePalette {

namespace {

constexpr int leastLightnessGap = 60;

constexpr std::array<QPalette::ColorGroup, 3> groups{QPalette::Active, QPalette::Inactive, QPalette::Disabled};

/// The placeholder as seen over a background: its alpha blends it with what lies below.
int seenLightness(const QColor& colour, const QColor& below) {
    const double alpha = colour.alphaF();
    return static_cast<int>(colour.lightness() * alpha + below.lightness() * (1 - alpha));
}

bool readableIn(const QPalette& palette, QPalette::ColorGroup group) {
    const QColor placeholder = palette.color(group, QPalette::PlaceholderText);
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base}) {
        const QColor below = palette.color(group, role);
        if (std::abs(seenLightness(placeholder, below) - below.lightness()) < leastLightnessGap) return false;
    }
    return true;
}

class PaletteWatch final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange &&
            !placeholderReadable(QApplication::palette()))
            QApplication::setPalette(repaired(QApplication::palette()));
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

bool placeholderReadable(const QPalette& palette) {
    for (const QPalette::ColorGroup group : groups)
        if (group != QPalette::Disabled && !readableIn(palette, group)) return false;
    return true;
}

QPalette repaired(QPalette palette) {
    if (placeholderReadable(palette)) return palette;
    for (const QPalette::ColorGroup group : groups) {
        QColor text = palette.color(group, QPalette::Text);
        text.setAlphaF(0.5);
        palette.setColor(group, QPalette::PlaceholderText, text);
    }
    return palette;
}

void keep(QApplication& application) {
    if (!placeholderReadable(QApplication::palette())) QApplication::setPalette(repaired(QApplication::palette()));
    application.installEventFilter(new PaletteWatch(&application));
}

} // namespace Orza::ReadablePalette
