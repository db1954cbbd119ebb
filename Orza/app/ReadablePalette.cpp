#include "Orza/app/ReadablePalette.h"

#include "Orza/widgets/ColorMix.h"
#include "Orza/widgets/TextStyle.h"

#include <QApplication>
#include <QEvent>

#include <array>
#include <cstdlib>

namespace Orza::ReadablePalette {

namespace {

/// A frame or divider this far in lightness from what lies on either side of it reads at a glance.
constexpr int leastFrameGap = 40;
/// How far from the window towards its text a repaired frame or divider stands.
constexpr float frameShare = 0.35f;
/// Fusion draws its frames in the window colour darkened by this factor.
constexpr int styleFrameDarkening = 140;

constexpr std::array<QPalette::ColorGroup, 3> groups{QPalette::Active, QPalette::Inactive, QPalette::Disabled};

int gap(const QColor& a, const QColor& b) {
    return std::abs(a.lightness() - b.lightness());
}

QColor towardsText(const QPalette& palette, QPalette::ColorGroup group, float share) {
    return towards(palette.color(group, QPalette::Window), palette.color(group, QPalette::WindowText), share);
}

/// Secondary text reads at this ratio or more against whatever it is drawn on.
constexpr qreal leastSecondaryContrast = 4.5;
/// Cards and count badges lay the text colour at up to this strength under their captions.
constexpr qreal faintFill = 0.12;

/// The fields' text colour at half strength, as Qt derives a placeholder, moved towards the text until it reads
/// against the window, the fields, alternate rows, buttons and the faint fills of cards and badges.
QColor readableSecondary(const QPalette& palette, QPalette::ColorGroup group) {
    const QColor text = palette.color(group, QPalette::Text);
    const QColor window = palette.color(group, QPalette::Window);
    const QColor base = palette.color(group, QPalette::Base);
    QColor half = text;
    half.setAlphaF(0.5);
    return TextStyle::readableAgainst(TextStyle::seenOver(half, window), text,
                                      {window, base, palette.color(group, QPalette::AlternateBase),
                                       palette.color(group, QPalette::Button), towards(window, text, faintFill),
                                       towards(base, text, faintFill)},
                                      leastSecondaryContrast);
}

bool readableIn(const QPalette& palette, QPalette::ColorGroup group) {
    const QColor placeholder = palette.color(group, QPalette::PlaceholderText);
    const QColor text = palette.color(group, QPalette::Text);
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase}) {
        const QColor below = palette.color(group, role);
        for (const QColor& under : {below, towards(below, text, faintFill)})
            if (TextStyle::contrastRatio(TextStyle::seenOver(placeholder, under), under) < leastSecondaryContrast)
                return false;
    }
    return true;
}

class PaletteWatch final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) {
            // Setting the repaired palette changes it once more; by then there is nothing left to repair.
            const QPalette palette = QApplication::palette();
            if (const QPalette fixed = repaired(palette); fixed != palette) QApplication::setPalette(fixed);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

bool placeholderReadable(const QPalette& palette) {
    for (const QPalette::ColorGroup group : groups)
        if (group != QPalette::Disabled && !readableIn(palette, group)) return false;
    return true;
}

bool framesFade(const QPalette& palette, QPalette::ColorGroup group) {
    const QColor frame = palette.color(group, QPalette::Window).darker(styleFrameDarkening);
    return gap(frame, palette.color(group, QPalette::Window)) < leastFrameGap ||
           gap(frame, palette.color(group, QPalette::Base)) < leastFrameGap;
}

QColor frameColour(const QPalette& palette, QPalette::ColorGroup group) {
    if (!framesFade(palette, group)) return palette.color(group, QPalette::Window).darker(styleFrameDarkening);
    return towardsText(palette, group, frameShare);
}

namespace {

/// Text this far from its background reads, as the program's alert colour does.
constexpr qreal leastTextContrast = 4.5;
/// A link below this is a scheme's leftover default rather than its choice (a light scheme's own magenta for
/// visited links stands at about 3:1 and is kept).
constexpr qreal leastLinkContrast = 3.0;

/// A scheme that names no alternate row colour or link colour leaves Qt's light defaults under a dark scheme:
/// every second row white under white text, links dark blue on a dark window. Those become shades of the
/// scheme's own colours.
void repairRowsAndLinks(QPalette& palette, QPalette::ColorGroup group) {
    const QColor text = palette.color(group, QPalette::Text);
    const QColor base = palette.color(group, QPalette::Base);
    if (TextStyle::contrastRatio(text, palette.color(group, QPalette::AlternateBase)) < leastTextContrast)
        palette.setColor(group, QPalette::AlternateBase, towards(base, text, 0.05));
    for (const auto role : {QPalette::Link, QPalette::LinkVisited}) {
        const QColor link = palette.color(group, role);
        if (TextStyle::contrastRatio(link, base) >= leastLinkContrast) continue;
        for (int step = 1; step <= 20; ++step)
            if (const QColor moved = towards(link, text, step / 20.0);
                TextStyle::contrastRatio(moved, base) >= leastTextContrast || step == 20) {
                palette.setColor(group, role, moved);
                break;
            }
    }
}

} // namespace

QPalette repaired(QPalette palette) {
    const bool placeholder = placeholderReadable(palette);
    for (const QPalette::ColorGroup group : groups) {
        if (!placeholder && group == QPalette::Disabled) {
            // Disabled text steps back on purpose: it keeps Qt's half strength.
            QColor text = palette.color(group, QPalette::Text);
            text.setAlphaF(0.5);
            palette.setColor(group, QPalette::PlaceholderText, text);
        } else if (!placeholder) {
            palette.setColor(group, QPalette::PlaceholderText, readableSecondary(palette, group));
        }
        const QColor window = palette.color(group, QPalette::Window);
        if (gap(palette.color(group, QPalette::Mid), window) < leastFrameGap)
            palette.setColor(group, QPalette::Mid, towardsText(palette, group, frameShare));
        if (group != QPalette::Disabled) repairRowsAndLinks(palette, group);
    }
    return palette;
}

void keep(QApplication& application) {
    if (const QPalette fixed = repaired(QApplication::palette()); fixed != QApplication::palette())
        QApplication::setPalette(fixed);
    application.installEventFilter(new PaletteWatch(&application));
}

} // namespace Orza::ReadablePalette
