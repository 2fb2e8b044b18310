// SPDX-License-Identifier: GPL-3.0-or-later
#include "Telephone.h"

#include <cstring>

namespace zadw {

std::string telUrl(const std::string& number) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "tel:";
    for (const char ch : number) {
        const auto c = static_cast<unsigned char>(ch);
        const bool keep = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                          (c >= 'a' && c <= 'z') || (c != '\0' && std::strchr("+-.()*_~", c));
        if (keep) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

} // namespace zadw
