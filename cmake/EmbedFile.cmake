# SPDX-License-Identifier: GPL-3.0-or-later
# Turns a file into a C++ source that defines a byte array and its size.
# Usage: cmake -DIN=<file> -DOUT=<cpp> -DSYMBOL=<name> -P EmbedFile.cmake
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x[0-9a-f][0-9a-f],){32}" "\\0\n" bytes "${bytes}")
file(WRITE "${OUT}.tmp"
"// Generated from ${IN}; do not edit.\n#include <cstddef>\n\nextern const unsigned char ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}_size;\nconst unsigned char ${SYMBOL}[] = {\n${bytes}\n0};\nconst std::size_t ${SYMBOL}_size = ${size};\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
