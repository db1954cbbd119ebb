#pragma once

#include <functional>
#include <string>

class QLineEdit;

namespace Orza {

class ShownTextEdit;

/// The keys of a field that shows a long text by its ends (ShownTextEdit): Backspace just after its "…", or Delete
/// just before it, deletes one character of the hidden middle, not all of it. `edited` hears the whole text after
/// such a key, as the field's textEdited would after any other. `edit` outlives the field's keys.
void eraseHiddenByKeys(QLineEdit* field, ShownTextEdit& edit, std::function<void(const std::string&)> edited);

} // namespace Orza
