#pragma once

class QComboBox;
class QString;

namespace Orza {

/// Gives a combo box the name assistive technology reads for it. On Linux Qt reads a combo box by its current
/// item and never by its accessible name, so a small interface of our own reads the name, with the current
/// item as the value.
void setComboBoxName(QComboBox* box, const QString& name);

} // namespace Orza
