// SPDX-License-Identifier: GPL-3.0-or-later
#include "Scramble.h"

namespace zadw {
namespace {

enum class Exception { None, Name, Email };

void transform(unsigned char* rec, std::size_t start, int d, Exception ex) {
    // The run length comes from the field's current bytes; the forced zeros at 22, 43, 106,
    // 121, 160 and 169 bound every run, but stay inside the record whatever happens.
    std::size_t len = 0;
    while (start + len < kRecordSize && rec[start + len] != 0) {
        ++len;
    }
    for (std::size_t i = 0; i < len; ++i) {
        unsigned char& b = rec[start + i];
        if (b == 0xCC && (ex == Exception::Name || (ex == Exception::Email && i < 30))) {
            continue;
        }
        b = static_cast<unsigned char>(b + d * static_cast<int>(52 + i));
    }
}

} // namespace

void scrambleFields(GroupRecord& record, int direction) {
    unsigned char* rec = record.bytes();
    for (const std::size_t z : {22u, 43u, 106u, 121u, 160u, 169u}) {
        rec[z] = 0;
    }
    transform(rec, 2, direction, Exception::Name);
    transform(rec, 23, direction, Exception::Name);
    transform(rec, 44, direction, Exception::Email);
    transform(rec, 107, direction, Exception::None);
    transform(rec, 122, direction, Exception::None);
    transform(rec, 137, direction, Exception::None);
    transform(rec, 152, direction, Exception::None);
    transform(rec, 161, direction, Exception::None);
}

} // namespace zadw
