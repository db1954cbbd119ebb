#pragma once

class QLabel;

namespace Orza {

/// Makes assistive technology announce the label as a heading, so a long page can be read by its titles.
/// Qt's label has no such mark, so a small accessibility factory of our own supplies it.
void markAsHeading(QLabel* label);

/// Whether markAsHeading() was applied to the label.
bool isHeading(const QLabel* label);

} // namespace Orza
