#include "Orza/platform/SpokenWindowTitle.h"

#include "Orza/platform/ApplicationFilter.h"

#include <QAccessible>
#include <QEvent>
#include <QWidget>

namespace Orza {

void SpokenWindowTitle::install() {
    installApplicationFilter<SpokenWindowTitle>();
}

bool SpokenWindowTitle::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::WindowTitleChange || !watched->isWidgetType()) return false;
    // A name of its own is what the window is read by, whatever its title.
    const auto* window = static_cast<QWidget*>(watched);
    if (window->isWindow() && window->accessibleName().isEmpty()) {
        QAccessibleEvent renamed(watched, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
    return false;
}

} // namespace Orza
