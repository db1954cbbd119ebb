#pragma once

#include <QString>

namespace Orza {

/// The most bytes a file's name may take on the usual Linux file systems.
inline constexpr int fileNameByteLimit = 255;

/**
 * `name` shortened so that its UTF-8 bytes fit in `byteLimit`: cut between characters as the user sees them
 * (never inside a UTF-8 sequence, a surrogate pair or a letter and its accents), spaces at the cut dropped, and
 * its extension kept whole. A name that fits comes back as it is. Every file name Orza offers goes through it,
 * as a name the file system refuses would only fail once the user has chosen it.
 */
QString fittedFileName(const QString& name, int byteLimit = fileNameByteLimit);

} // namespace Orza
