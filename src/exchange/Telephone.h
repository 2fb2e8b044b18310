// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialling goes through the desktop's handler for tel: links.

#include <string>

namespace zadw {

// The tel: link for a number exactly as stored: digits, letters, "+", "-", ".", "(", ")", "*",
// "_" and "~" stay readable; everything else (blanks included) is percent-encoded as UTF-8 bytes,
// so nothing in the number can add parameters or parts to the link.
std::string telUrl(const std::string& number);

} // namespace zadw
