# SPDX-License-Identifier: GPL-3.0-or-later
# Turns a list of files into one C++ source: a byte array per file and a list of them with their
# names (file name without extension), so adding a file needs no code.
# Usage: cmake -DOUT=<cpp> -DSYMBOL=<name> -DFILES=<file;file;...> -P EmbedFiles.cmake
# defines  const zadw::EmbeddedFile SYMBOL[]  and  const std::size_t SYMBOL_count.
set(body "// Generated; do not edit.\n#include \"EmbeddedFile.h\"\n\n")
set(list "")
set(n 0)
foreach(f IN LISTS FILES)
    file(READ "${f}" hex HEX)
    string(LENGTH "${hex}" hexlen)
    math(EXPR size "${hexlen} / 2")
    get_filename_component(name "${f}" NAME_WE)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x[0-9a-f][0-9a-f],){32}" "\\0\n" bytes "${bytes}")
    string(APPEND body "static const unsigned char file${n}[] = {\n${bytes}\n0};\n")
    string(APPEND list "    {\"${name}\", file${n}, ${size}},\n")
    math(EXPR n "${n} + 1")
endforeach()
string(APPEND body "\nextern const zadw::EmbeddedFile ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}_count;\nconst zadw::EmbeddedFile ${SYMBOL}[] = {\n${list}    {nullptr, nullptr, 0}};\nconst std::size_t ${SYMBOL}_count = ${n};\n")
file(WRITE "${OUT}.tmp" "${body}")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
