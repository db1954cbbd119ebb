#include "Orza/widgets/RegionNames.h"

#include <QCoreApplication>

namespace Orza {

QString regionDisplayName(GlazeCore::StullRegion region) {
    const auto tr = [](const char* text) { return QCoreApplication::translate("StullRegion", text); };
    switch (region) {
    case GlazeCore::StullRegion::matte:
        return tr("Matte");
    case GlazeCore::StullRegion::gloss:
        return tr("Gloss");
    case GlazeCore::StullRegion::semimatte:
        return tr("Semi-matte");
    case GlazeCore::StullRegion::underfired:
        return tr("Underfired");
    case GlazeCore::StullRegion::crazing:
        return tr("Crazing likely");
    case GlazeCore::StullRegion::unfused:
        return tr("Unfused");
    case GlazeCore::StullRegion::unknown:
        break;
    }
    return tr("Outside chart");
}

} // namespace Orza
