// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message as a sendmail-compatible program reads it on standard input: RFC 5322 headers and
// MIME parts, CRLF line ends, no header line longer than 78 characters and no line at all longer
// than 998. Blind copies never appear in a header. No From header: the mail system
// knows the user's own address better than we could guess it.

#include "MailMessage.h"

#include <cstdint>
#include <functional>
#include <string>

namespace zadw {

struct MessageStamp {
    std::int64_t secondsSinceEpoch = 0; // the moment of sending, UTC
    int utcOffsetMinutes = 0;           // the local offset at that moment (+60 for CET)
    std::string uniquePart;             // Message-ID left of "@", also seeds the MIME boundary
    std::string host;                   // Message-ID right of "@"
};

// Reads a whole attachment; false when it cannot be read.
using AttachmentReader = std::function<bool(const std::string& path, std::string& bytes)>;

struct MimeBuild {
    bool ok = false;
    std::string text;  // the whole message when ok
    std::string error; // one line saying what went wrong otherwise
};

MimeBuild writeMimeMessage(const MailMessage& message, const MessageStamp& stamp,
                           const AttachmentReader& readAttachment);

// The unique part of a Message-ID (and so of the boundary): the moment in milliseconds and 64
// random bits, "1709643789123.00f3a9c41b2e7d55".
std::string uniqueMessagePart(std::int64_t msecsSinceEpoch, std::uint64_t random);

// "Tue, 05 Mar 2024 14:03:09 +0100"
std::string rfc5322Date(std::int64_t secondsSinceEpoch, int utcOffsetMinutes);

std::string base64Lines(const std::string& bytes);    // 76 characters a line, each ending CRLF
std::string quotedPrintable(const std::string& text); // lines ending CRLF, none over 76

// The name the recipient sees for an attachment: its display name, else the path's last part.
std::string attachmentFileName(const MailAttachment& a);

} // namespace zadw
