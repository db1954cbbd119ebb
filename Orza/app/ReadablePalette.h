#pragma once

class QPalette;
class QApplication;

namespace Orza::ReadablePalette {

/// Whether the palette's placeholder colour stands far enough from its window and base colours to be read:
/// some desktop themes leave it at a default that is near black on a dark scheme.
bool placeholderReadable(const QPalette& palette);

/// The palette with an unreadable placeholder colour replaced by the text colour at half strength, as Qt
/// derives it itself; a readable one is left alone.
QPalette repaired(QPalette palette);

/// Keeps the application's palette repaired now and whenever the desktop changes it. Secondary text
/// (captions, hints, empty-state descriptions) is drawn in the placeholder colour.
void keep(QApplication& application);

} // namespace Orza::ReadablePalette
