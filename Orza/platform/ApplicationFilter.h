#pragma once

#include <QCoreApplication>

namespace Orza {

/// Puts one `Filter` on the running application, as its child; a second call changes nothing.
template <class Filter> void installApplicationFilter() {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || application->findChild<Filter*>(QString(), Qt::FindDirectChildrenOnly)) return;
    application->installEventFilter(new Filter(application));
}

} // namespace Orza
