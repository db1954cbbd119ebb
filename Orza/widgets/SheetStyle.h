#pragma once

#include <QColor>

class QLabel;
class QPalette;

// The type the sheets share: a sheet's title and the dimmer notes under its content.
namespace Orza::SheetStyle {

/// A sheet's title: larger, semibold, announced as a heading.
void styleAsTitle(QLabel* label);
/// Smaller text in `color`, wrapping to as many lines as it needs and selectable.
void styleAsCallout(QLabel* label, const QColor& color);
/// How strongly a card lays the text colour over the window as its fill.
constexpr float cardFill = 0.05f;
/// Text that matters less than the text around it, in light and dark palettes alike: it reads at 4.5:1 on the
/// window and on a card.
QColor secondaryColor(const QPalette& palette);

} // namespace Orza::SheetStyle
