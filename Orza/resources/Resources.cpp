#include "Orza/resources/Resources.h"

#include <QtGlobal>

static void initOrzaResources() {
    Q_INIT_RESOURCE(orza);
}

namespace Orza {

void ensureResources() {
    static const bool done = (initOrzaResources(), true);
    (void)done;
}

} // namespace Orza
