#pragma once

class QLabel;

namespace Orza {

/// Reads a row of a title and a value label as one element: named by the title, its value the value label's
/// text. The title label itself is left out, so the name is not read twice and the value is never lost. The
/// Linux bridge reads a label's name and description, never its value, so the value is its description too.
void readAsLabelledValue(QLabel* title, QLabel* value);

} // namespace Orza
