// SPDX-License-Identifier: GPL-3.0-or-later
// zadw-bench-group OUT.z08: writes the largest group, for the whole-program benchmarks.
#include "LargestGroup.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.z08\n", argv[0]);
        return 2;
    }
    std::string error;
    if (!zadw::bench::writeLargestGroup(argv[1], error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    return 0;
}
