#include "ui/qt/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function at global scope, so it is called from here.
static void registerHeikosenResources() {
    Q_INIT_RESOURCE(heikosen);
}

namespace heikosen::qt {

void initResources() {
    // Registering the same resources again leaves them registered once.
    registerHeikosenResources();
}

}  // namespace heikosen::qt
