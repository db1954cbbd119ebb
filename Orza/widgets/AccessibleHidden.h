#pragma once

class QWidget;

namespace Orza {

/// Keeps a widget out of what assistive technology reads, where a neighbour already says the same (a
/// table row whose first cell speaks for the whole row, a value that its label reads out).
void hideFromAccessibility(QWidget* widget, bool hidden = true);

/// Whether hideFromAccessibility() was applied.
bool isHiddenFromAccessibility(const QWidget* widget);

} // namespace Orza
