// SPDX-License-Identifier: GPL-3.0-or-later
#include "Resources.h"

#include <QtGlobal>

// Resources of a static library are registered by hand, outside any namespace.
static void registerZadwResources() {
    Q_INIT_RESOURCE(zadw);
}

namespace zadw {

void initResources() {
    static const bool done = (registerZadwResources(), true);
    (void)done;
}

} // namespace zadw
