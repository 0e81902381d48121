#include "ui/qt/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function at global scope, so it is called from here.
static void registerHeikosenResources() {
    Q_INIT_RESOURCE(heikosen);
}

namespace heikosen::qt {

void initResources() {
    static bool done = false;
    if (!done) {
        done = true;
        registerHeikosenResources();
    }
}

}  // namespace heikosen::qt
