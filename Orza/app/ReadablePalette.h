#pragma once

#include <QColor>
#include <QPalette>

class QApplication;

namespace Orza::ReadablePalette {

/// Whether the palette's placeholder colour, the colour of all secondary text, reads at 4.5:1 against the window,
/// the fields, alternate rows and the faint fills of cards and badges: some desktop themes leave it near black
/// on a dark scheme, and Qt's own, the text at half strength, stays below 4.5:1 in dark and light schemes.
bool placeholderReadable(const QPalette& palette);

/// The colour frames of fields, check boxes, buttons and pickers are drawn in: the style's own (the window
/// colour darkened) where that stands out from the window and the fields, else a colour between the window's
/// text and the window that does, as on a dark scheme.
QColor frameColour(const QPalette& palette, QPalette::ColorGroup group);
/// Whether the style's own frame colour all but vanishes against this palette's window or fields.
bool framesFade(const QPalette& palette, QPalette::ColorGroup group);

/// The palette with the roles a theme leaves unreadable repaired: a placeholder that does not read becomes the
/// text colour at half strength moved towards the text until it does; Mid (the dividers and frames the application
/// draws itself) too close to the window colour moves towards the window's text. Readable roles are left
/// alone.
QPalette repaired(QPalette palette);

/// Keeps the application's palette repaired now and whenever the desktop changes it. Secondary text
/// (captions, hints, empty-state descriptions) is drawn in the placeholder colour.
void keep(QApplication& application);

} // namespace Orza::ReadablePalette
