#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

#include <optional>
#include <vector>

class QWidget;

/**
 * The few text styles and colours the panes share, so that a title, a caption or a warning looks the same
 * in every pane. Sizes follow the application's font, so a user who sets a larger desktop font gets larger
 * text everywhere; colours come from the widget's palette, dark palettes included.
 */
namespace Orza::TextStyle {

enum class Style { body, title2, title3, headline, subheadline, callout, caption, caption2 };

/// The style's font, derived from `base`: a size relative to it and, for the headline, a heavier weight.
QFont font(Style style, const QFont& base);
/// The same font in semibold.
QFont semibold(QFont font);
/// Digits of equal width, so columns of numbers line up; the desktop's sans fonts have them by default.
QFont monospacedDigits(QFont font);
/// Sets the style's font on the widget, from the application's font; `weight` overrides the style's.
void apply(QWidget* widget, Style style, std::optional<QFont::Weight> weight = std::nullopt);

/// True when the palette's window is darker than its text.
bool isDark(const QPalette& palette);
/// Text that steps back: notes, captions and headings of columns.
QColor secondary(const QPalette& palette);
/// The orange of warnings, lighter on dark palettes so it stays readable.
QColor warning(const QPalette& palette);
/// The red of refused input and invalid data, the one alert colour of the program: lighter on dark palettes,
/// and moved further from the window and field colours until it reads at 4.5:1 against both.
QColor alert(const QPalette& palette);
/// The contrast ratio of two colours by their relative luminance, from 1 (the same) to 21 (black on white).
qreal contrastRatio(const QColor& a, const QColor& b);
/// `colour` as it shows over an opaque `below`: its alpha blends the two.
QColor seenOver(const QColor& colour, const QColor& below);
/// The shade nearest `colour` on the way to `strongest`, then on to black or white, that reads at `least`:1
/// against every one of `backgrounds`; where none does, the one that reads best at the end of that way.
QColor readableAgainst(const QColor& colour, const QColor& strongest, const std::vector<QColor>& backgrounds,
                       qreal least = 4.5);
/// Draws the widget's text in the alert colour, and again whenever its palette changes, as with a scheme.
void makeAlert(QWidget* widget);
/// Draws the widget's text in the secondary colour; follows palette changes.
void makeSecondary(QWidget* widget);

} // namespace Orza::TextStyle
