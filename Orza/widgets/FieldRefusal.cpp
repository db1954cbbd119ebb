#include "Orza/widgets/FieldRefusal.h"

#include "Orza/platform/SystemBeep.h"

#include <QToolTip>
#include <QWidget>

namespace Orza::FieldRefusal {

void show(QWidget* field, const QString& why) {
    SystemBeep::beep();
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), why, field);
}

} // namespace Orza::FieldRefusal
