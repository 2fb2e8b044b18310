// SPDX-License-Identifier: GPL-3.0-or-later
#include "CollectorApp.h"

int main(int argc, char** argv) {
    zadw::CCollectorApp app(argc, argv);
    app.InitInstance();
    return 0;
}
