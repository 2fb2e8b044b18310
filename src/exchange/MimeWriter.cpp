// SPDX-License-Identifier: GPL-3.0-or-later
#include "MimeWriter.h"

#include "MailSender.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace zadw {
namespace {

constexpr const char* kCrlf = "\r\n";
constexpr std::size_t kFoldAt = 78;       // where headers are folded when they can be
constexpr std::size_t kHardLimit = 998;   // no line may be longer
constexpr std::size_t kPlainParam = 60;   // longest value written as a quoted string
constexpr std::size_t kParamSegment = 50; // percent-encoded characters per continuation line

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64(const std::string& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                           static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += kBase64[v >> 18 & 63];
        out += kBase64[v >> 12 & 63];
        out += kBase64[v >> 6 & 63];
        out += kBase64[v & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                           (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0u);
        out += kBase64[v >> 18 & 63];
        out += kBase64[v >> 12 & 63];
        out += two ? kBase64[v >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}

// "%41", "=41": built whole, since GCC 12 at -O3 warns (-Wrestrict, wrongly) on "=" + a string.
std::string escaped(char mark, unsigned char b) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string{mark, digits[b >> 4], digits[b & 15]};
}

// Length of the UTF-8 sequence starting at i; a stray byte counts alone.
std::size_t unitLength(const std::string& s, std::size_t i) {
    std::size_t n = 1;
    while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80 && n < 4) {
        ++n;
    }
    return n;
}

bool isPlainHeaderText(const std::string& s) {
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return s.find("=?") == std::string::npos; // would read as an encoded word
}

// Folds an unstructured header before blanks; empty when a word is too long for a line.
std::string foldPlain(const std::string& name, const std::string& value) {
    std::string out = name + ": ";
    std::size_t lineLength = out.size();
    std::size_t i = 0;
    while (i < value.size()) {
        // The next word, with the blanks in front of it.
        std::size_t j = i;
        while (j < value.size() && value[j] == ' ') {
            ++j;
        }
        while (j < value.size() && value[j] != ' ') {
            ++j;
        }
        const std::string piece = value.substr(i, j - i);
        if (lineLength + piece.size() > kFoldAt && lineLength > name.size() + 2 &&
            piece[0] == ' ' && piece.find_first_not_of(' ') != std::string::npos) {
            out += kCrlf;
            lineLength = 0;
        }
        out += piece;
        lineLength += piece.size();
        if (lineLength > kFoldAt) {
            return std::string();
        }
        i = j;
    }
    return out + kCrlf;
}

// RFC 2047 B-encoded words of UTF-8, each within 75 characters and never splitting a character;
// words on lines of their own so each line stays within 78.
std::string encodedWords(const std::string& name, const std::string& value) {
    const std::string open = "=?UTF-8?B?";
    const std::string close = "?=";
    std::string out = name + ":";
    std::size_t i = 0;
    bool first = true;
    while (i < value.size() || first) {
        const std::size_t room = std::min<std::size_t>(75, kFoldAt - (first ? out.size() : 0) - 1);
        const std::size_t maxBytes = (room - open.size() - close.size()) / 4 * 3;
        std::size_t take = 0;
        while (i + take < value.size()) {
            const std::size_t n = unitLength(value, i + take);
            if (take + n > maxBytes) {
                break;
            }
            take += n;
        }
        if (!first) {
            out += kCrlf;
        }
        out += ' ' + open + base64(value.substr(i, take)) + close;
        i += take;
        first = false;
    }
    return out + kCrlf;
}

std::string unstructuredHeader(const std::string& name, const std::string& value) {
    if (isPlainHeaderText(value)) {
        std::string folded = foldPlain(name, value);
        if (!folded.empty()) {
            return folded;
        }
    }
    return encodedWords(name, value);
}

bool isAttrChar(unsigned char c) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
        return true;
    }
    for (const char* p = "!#$&+-.^_`|~"; *p != '\0'; ++p) {
        if (c == static_cast<unsigned char>(*p)) {
            return true;
        }
    }
    return false;
}

// One parameter, on lines of its own (each begins with CRLF and a blank): quoted when plain
// ASCII and short, otherwise RFC 2231 UTF-8 with continuations.
std::string parameter(const std::string& attribute, const std::string& value) {
    bool plain = !value.empty() && value.size() <= kPlainParam;
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') {
            plain = false;
        }
    }
    if (plain) {
        return std::string(kCrlf) + " " + attribute + "=\"" + value + "\"";
    }
    std::vector<std::string> segments(1);
    for (std::size_t i = 0; i < value.size();) {
        const std::size_t n = unitLength(value, i);
        std::string piece;
        for (std::size_t k = i; k < i + n; ++k) {
            const auto c = static_cast<unsigned char>(value[k]);
            piece += isAttrChar(c) ? std::string(1, static_cast<char>(c)) : escaped('%', c);
        }
        if (segments.back().size() + piece.size() > kParamSegment && !segments.back().empty()) {
            segments.emplace_back();
        }
        segments.back() += piece;
        i += n;
    }
    if (segments.size() == 1) {
        return std::string(kCrlf) + " " + attribute + "*=UTF-8''" + segments[0];
    }
    std::string out;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        out += std::string(k == 0 ? "" : ";") + kCrlf + " " + attribute + "*" + std::to_string(k) +
               "*=" + (k == 0 ? "UTF-8''" : "") + segments[k];
    }
    return out;
}

// Keeps what a Message-ID and a boundary may hold.
std::string tokenText(const std::string& s, const char* fallback) {
    std::string out;
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        const bool keep = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                          (c >= 'a' && c <= 'z') || c == '-' || c == '_' || c == '.';
        const char k = keep ? ch : '-';
        if (k == '.' && (out.empty() || out.back() == '.')) {
            continue;
        }
        out += k;
    }
    while (!out.empty() && out.back() == '.') {
        out.pop_back();
    }
    if (out.size() > 60) {
        out.resize(60);
    }
    return out.empty() ? std::string(fallback) : out;
}

// days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0);
}

} // namespace

std::string uniqueMessagePart(std::int64_t msecsSinceEpoch, std::uint64_t random) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%lld.%016llx", static_cast<long long>(msecsSinceEpoch),
                  static_cast<unsigned long long>(random));
    return buf;
}

std::string rfc5322Date(std::int64_t secondsSinceEpoch, int utcOffsetMinutes) {
    static const char* const days[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::int64_t local = secondsSinceEpoch + std::int64_t{utcOffsetMinutes} * 60;
    std::int64_t dayNumber = local / 86400;
    std::int64_t secondOfDay = local % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --dayNumber;
    }
    std::int64_t y = 0;
    unsigned m = 0;
    unsigned d = 0;
    civilFromDays(dayNumber, y, m, d);
    const int weekday = static_cast<int>(((dayNumber % 7) + 7) % 7);
    const int offset = utcOffsetMinutes < 0 ? -utcOffsetMinutes : utcOffsetMinutes;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s, %02u %s %lld %02d:%02d:%02d %c%02d%02d", days[weekday], d,
                  months[m - 1], static_cast<long long>(y), static_cast<int>(secondOfDay / 3600),
                  static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60),
                  utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return buf;
}

std::string base64Lines(const std::string& bytes) {
    const std::string all = base64(bytes);
    std::string out;
    out.reserve(all.size() + all.size() / 76 * 2 + 2);
    for (std::size_t i = 0; i < all.size(); i += 76) {
        out.append(all, i, 76);
        out += kCrlf;
    }
    return out;
}

std::string quotedPrintable(const std::string& text) {
    // Any of CRLF, LF or a lone CR ends a line; each goes out as CRLF.
    std::string out;
    std::size_t lineStart = 0;
    while (true) {
        std::size_t lineEnd = text.find_first_of("\r\n", lineStart);
        const bool last = lineEnd == std::string::npos;
        if (last) {
            lineEnd = text.size();
        }
        std::size_t length = 0; // characters on the current output line
        for (std::size_t i = lineStart; i < lineEnd; ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            const bool atEnd = i + 1 == lineEnd;
            const bool literal =
                (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !atEnd);
            std::string token = literal ? std::string(1, static_cast<char>(c)) : escaped('=', c);
            if (length + token.size() > 75) {
                out += "=";
                out += kCrlf;
                length = 0;
            }
            // Some mail programs touch a "." or a "From " that begins a line.
            if (length == 0 && literal && (c == '.' || text.compare(i, 5, "From ") == 0)) {
                token = escaped('=', c);
            }
            out += token;
            length += token.size();
        }
        out += kCrlf;
        if (last) {
            break;
        }
        lineStart =
            lineEnd +
            (text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n' ? 2
                                                                                             : 1);
    }
    return out;
}

std::string attachmentFileName(const MailAttachment& a) {
    if (a.displayName && !a.displayName->empty()) {
        return *a.displayName;
    }
    const auto slash = a.path.find_last_of('/');
    return slash == std::string::npos ? a.path : a.path.substr(slash + 1);
}

MimeBuild writeMimeMessage(const MailMessage& message, const MessageStamp& stamp,
                           const AttachmentReader& readAttachment) {
    MimeBuild result;
    std::string& out = result.text;
    out += "Date: " + rfc5322Date(stamp.secondsSinceEpoch, stamp.utcOffsetMinutes) + kCrlf;
    const std::string unique = tokenText(stamp.uniquePart, "zadw");
    // The host is cut so the Message-ID stays on one line of at most 78.
    const std::string idStart = "Message-ID: <" + unique + "@";
    std::string host = tokenText(stamp.host, "localhost");
    host.resize(std::min(host.size(), kFoldAt - std::min(kFoldAt - 1, idStart.size() + 1)));
    out += idStart + host + ">" + kCrlf;

    std::string to = "To:";
    std::size_t lineLength = to.size();
    for (std::size_t k = 0; k < message.recipients.size(); ++k) {
        const std::string& address = message.recipients[k].address;
        if (address.size() + 5 > kHardLimit) {
            result.text.clear();
            result.error = "Address too long: " + address.substr(0, 40) + "...";
            return result;
        }
        const std::string piece = address + (k + 1 < message.recipients.size() ? "," : "");
        if (lineLength + 1 + piece.size() > kFoldAt && k > 0) {
            to += kCrlf;
            lineLength = 0;
        }
        to += " " + piece;
        lineLength += 1 + piece.size();
    }
    if (!message.recipients.empty()) {
        out += to + kCrlf;
    } else if (!message.bcc.empty()) {
        // Blind copies alone: the message still says it has recipients, never who.
        out += std::string("To: undisclosed-recipients:;") + kCrlf;
    }
    if (!message.subject.empty()) {
        out += unstructuredHeader("Subject", message.subject);
    }
    out += std::string("MIME-Version: 1.0") + kCrlf;

    const std::string textHeaders = std::string("Content-Type: text/plain; charset=UTF-8") + kCrlf +
                                    "Content-Transfer-Encoding: quoted-printable" + kCrlf;
    if (message.attachments.empty()) {
        out += textHeaders + kCrlf + quotedPrintable(message.noteText);
        result.ok = true;
        return result;
    }

    // "=_" cannot occur in quoted-printable or base64 text, so no part can hold the boundary.
    // The boundary goes on a line of its own, which it fits: 78 less the quotes and the blank.
    const std::string boundary = "=_zadw_" + unique.substr(0, 40);
    out += std::string("Content-Type: multipart/mixed;") + kCrlf + " boundary=\"" + boundary +
           "\"" + kCrlf + kCrlf;
    out += "--" + boundary + kCrlf + textHeaders + kCrlf + quotedPrintable(message.noteText);
    for (const MailAttachment& a : message.attachments) {
        std::string bytes;
        if (!readAttachment || !readAttachment(a.path, bytes)) {
            result.text.clear();
            result.error = "Cannot read the attachment " + a.path;
            return result;
        }
        const std::string name = attachmentFileName(a);
        out += "--" + boundary + kCrlf;
        out += "Content-Type: application/octet-stream;" + parameter("name", name) + kCrlf;
        out += "Content-Disposition: attachment;" + parameter("filename", name) + kCrlf;
        out += std::string("Content-Transfer-Encoding: base64") + kCrlf + kCrlf;
        // The line end before a boundary belongs to the boundary, so an empty file needs one.
        out += bytes.empty() ? std::string(kCrlf) : base64Lines(bytes);
    }
    out += "--" + boundary + "--" + kCrlf;
    result.ok = true;
    return result;
}

} // namespace zadw
