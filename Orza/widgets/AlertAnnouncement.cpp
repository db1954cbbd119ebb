#include "Orza/widgets/AlertAnnouncement.h"

#include <QAccessible>
#include <QWidget>

namespace Orza {

void announceAlert(QWidget* alert, bool justShown) {
    QAccessibleEvent raised(alert, QAccessible::Alert);
    QAccessible::updateAccessibility(&raised);
    if (alert->isVisible() && !justShown) {
        QAccessibleEvent shown(alert, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
}

} // namespace Orza
