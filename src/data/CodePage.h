// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// windows-1252 at the group file's byte boundary; UTF-8 everywhere else.

#include <string>

namespace zadw {

// Every byte maps to one code point (the WHATWG index; its five holes map to the C1 controls),
// so decoding then encoding gives back the same bytes.
std::string cp1252ToUtf8(const std::string& bytes);

// Encodes UTF-8 text; characters that windows-1252 cannot hold (and malformed UTF-8) are
// collected, once each, into *unmappable as UTF-8 and make the call return false.
bool utf8ToCp1252(const std::string& utf8, std::string& out, std::string* unmappable = nullptr);

// Decodes the code point at i and moves past it; false for malformed UTF-8 (overlong forms and
// surrogates included), and i then moves past one byte only.
bool nextCodePoint(const std::string& utf8, std::size_t& i, char32_t& cp);

// Number of code points in UTF-8 text.
std::size_t utf8Length(const std::string& utf8);

} // namespace zadw
