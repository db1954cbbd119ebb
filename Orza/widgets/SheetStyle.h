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
/// Text that matters less than the text around it, in light and dark palettes alike.
QColor secondaryColor(const QPalette& palette);

} // namespace Orza::SheetStyle
