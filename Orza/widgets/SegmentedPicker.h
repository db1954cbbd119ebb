#pragma once

class QButtonGroup;
class QWidget;

namespace Orza {

/**
 * Makes a row of checkable buttons in an exclusive group read and move as a group of radio buttons: the row
 * reads as a group named by its own accessible name, each segment as a radio button, checked or not, that its
 * press action chooses. The chosen segment is the row's one Tab stop, however it was chosen (a click, the
 * arrows, or the program), so Tab lands on it and the arrows move the choice.
 */
void makeSegmentedPicker(QWidget* row, QButtonGroup* segments);

} // namespace Orza
