#include "Orza/document/VisibleFileName.h"

#include "GlazeCore/text/UnicodeText.h"

#include <QFileInfo>

namespace Orza {

QString visibleFileName(const QString& path) {
    return QString::fromStdString(GlazeCore::UnicodeText::visibleControls(QFileInfo(path).fileName().toStdString()));
}

} // namespace Orza
