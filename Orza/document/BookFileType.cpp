#include "Orza/document/BookFileType.h"

#include <QCoreApplication>

namespace Orza::BookFileType {

QString nameFilters() {
    return QCoreApplication::translate("BookFileType", "Orza Books (*.%1)").arg(QLatin1String(suffix)) +
           QStringLiteral(";;") + QCoreApplication::translate("BookFileType", "All Files (*)");
}

} // namespace Orza::BookFileType
