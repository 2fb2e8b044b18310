// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file built into the program (see cmake/EmbedFiles.cmake).

#include <cstddef>

namespace zadw {

struct EmbeddedFile {
    const char* name; // the file's name without its extension
    const unsigned char* bytes;
    std::size_t size;
};

} // namespace zadw
