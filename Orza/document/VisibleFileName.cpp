#include "Orza/document/VisibleFileName.h"

#include "Orza/display/TextDisplay.h"

#include <QFileInfo>

namespace Orza {

QString visibleFileName(const QString& path) {
    return visibleText(QFileInfo(path).fileName());
}

} // namespace Orza
