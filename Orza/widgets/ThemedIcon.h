#pragma once

#include <QIcon>
#include <QPixmap>

class QColor;
class QString;

namespace Orza::ThemedIcon {

/// One of the application's one-colour symbols (`:/orza/icons/NAME.svg`), drawn in the palette's text colour
/// whenever it is painted, so it reads on light and dark palettes alike: dimmed when disabled, in the
/// highlighted text colour when selected.
QIcon symbol(const QString& name);
/// The same for a symbol kept elsewhere among the resources, by its path.
QIcon symbolAt(const QString& path);

/// The shape of a drawn symbol in one colour.
QPixmap tinted(QPixmap shape, const QColor& color);

} // namespace Orza::ThemedIcon
