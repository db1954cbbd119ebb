#pragma once

namespace Orza {

class RecipeLinesView;

/**
 * Gives the lines table an accessibility interface whose cells read as the controls they stand for, not
 * only by their names: an Amount cell has its number as its value and text, as a number field does, and
 * an Addition cell is checkable and checked or not, as a check box is (its toggle action sets the flag).
 * Headers and the other cells read as in any table.
 */
void readCellsAsControls(RecipeLinesView* view);

} // namespace Orza
