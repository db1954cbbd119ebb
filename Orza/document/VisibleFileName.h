#pragma once

#include <QString>

namespace Orza {

/// The file's name as titles and messages show it (visibleText): a name can hold line breaks and direction
/// controls, which would split a title or turn the rest of a sentence around, so they are written out as
/// "\uXXXX", as names from a book are in its messages.
QString visibleFileName(const QString& path);

} // namespace Orza
