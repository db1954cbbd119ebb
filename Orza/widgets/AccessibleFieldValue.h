#pragma once

class QLineEdit;
class QString;

namespace Orza {

/// Gives a line edit the value assistive technology reads for it, in place of its bare text (the text and
/// why it is refused, say); its text, caret and selection stay readable and editable as in any field. A value
/// that says more than the text is the field's description as well, where the Linux bridge reads it.
void setAccessibleValue(QLineEdit* edit, const QString& value);

} // namespace Orza
