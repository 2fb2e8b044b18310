// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A message read back the way a mail reader takes it apart: unfolded headers, encoded words,
// quoted-printable text, base64 files, parameters in either form and the parts of a multipart
// body. What breaks the rules on the way is noted in problems, so that GoogleTest and QtTest
// programs alike can check it.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace zadw::test {

using Problems = std::vector<std::string>;

inline std::string fromBase64(const std::string& text, Problems& problems) {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (const char c : text) {
        if (c == '\r' || c == '\n' || c == '=') {
            continue;
        }
        const auto v = alphabet.find(c);
        if (v == std::string::npos) {
            problems.push_back(std::string("not base64: ") + c);
            continue;
        }
        bits = (bits << 6) | static_cast<unsigned>(v);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

// The byte of two upper-case hex digits at s[i].
inline char hexByte(const std::string& s, std::size_t i, Problems& problems) {
    int value = 0;
    for (std::size_t k = i; k < i + 2; ++k) {
        const char c = k < s.size() ? s[k] : '?';
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            problems.push_back(std::string("bad hex digit ") + c);
        }
        value = value * 16 + digit;
    }
    return static_cast<char>(value);
}

// Decodes quoted-printable, turning each CRLF back into "\n"; the part's final CRLF belongs to
// the boundary or the message end.
inline std::string fromQuotedPrintable(const std::string& qp, Problems& problems) {
    std::string out;
    for (std::size_t i = 0; i < qp.size(); ++i) {
        if (qp[i] == '=') {
            if (qp.compare(i + 1, 2, "\r\n") != 0) {
                out += hexByte(qp, i + 1, problems);
            }
            i += 2;
        } else if (qp.compare(i, 2, "\r\n") == 0) {
            out += '\n';
            ++i;
        } else {
            out += qp[i];
        }
    }
    if (out.empty() || out.back() != '\n') {
        problems.push_back("body does not end in a line end");
    } else {
        out.pop_back();
    }
    return out;
}

// Encoded words back to text; blanks between two of them are not text.
inline std::string decodeWords(const std::string& value, Problems& problems) {
    static const std::string start = "=?UTF-8?B?";
    std::string out;
    std::size_t i = 0;
    bool lastWasWord = false;
    while (i < value.size()) {
        if (value.compare(i, start.size(), start) == 0) {
            const auto end = value.find("?=", i + start.size());
            if (end == std::string::npos) {
                problems.push_back("encoded word not closed");
                out += value.substr(i);
                break;
            }
            if (end + 2 - i > 75) {
                problems.push_back("encoded word too long");
            }
            out += fromBase64(value.substr(i + start.size(), end - i - start.size()), problems);
            i = end + 2;
            lastWasWord = true;
            continue;
        }
        std::size_t j = i;
        while (j < value.size() && value[j] == ' ') {
            ++j;
        }
        if (lastWasWord && value.compare(j, start.size(), start) == 0) {
            i = j;
            continue;
        }
        out += value[i++];
        lastWasWord = false;
    }
    return out;
}

inline std::string lowerCase(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return s;
}

struct MimePart {
    std::map<std::string, std::string> headers; // by name as written; unfolded, leading blanks off
    std::vector<std::string> names;             // the header names in order
    std::string body;                           // as it stands, line ends included

    // The value of a header, its name in any case; "" when there is none.
    std::string header(const std::string& name) const {
        for (const auto& [key, value] : headers) {
            if (lowerCase(key) == lowerCase(name)) {
                return value;
            }
        }
        return std::string();
    }
};

// Splits head and body and unfolds the headers, checking the line rules on the way.
inline MimePart readPart(const std::string& text, Problems& problems) {
    MimePart p;
    const auto split = text.find("\r\n\r\n");
    if (split == std::string::npos) {
        problems.push_back("no empty line after the headers");
        return p;
    }
    const std::string head = text.substr(0, split + 2);
    p.body = text.substr(split + 4);
    std::string name;
    std::size_t i = 0;
    while (i < head.size()) {
        const auto end = head.find("\r\n", i);
        const std::string line = head.substr(i, end - i);
        i = end + 2;
        if (line.size() > 78) {
            problems.push_back("header line longer than 78: " + line);
        }
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            if (name.empty()) {
                problems.push_back("continuation without a header: " + line);
            }
            p.headers[name] += line;
            continue;
        }
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            problems.push_back("header line without a colon: " + line);
            continue;
        }
        name = line.substr(0, colon);
        if (p.headers.count(name) != 0) {
            problems.push_back("twice: " + name);
        }
        p.names.push_back(name);
        p.headers[name] = line.substr(colon + 1);
    }
    for (auto& [key, value] : p.headers) {
        value.erase(0, value.find_first_not_of(' '));
    }
    return p;
}

inline std::string percentDecode(const std::string& s, Problems& problems) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%') {
            out += hexByte(s, i + 1, problems);
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// A parameter in either the quoted form or the RFC 2231 one, continuations included.
inline std::string parameterValue(const std::string& header, const std::string& attr,
                                  Problems& problems) {
    const auto quoted = header.find(attr + "=\"");
    if (quoted != std::string::npos) {
        const auto start = quoted + attr.size() + 2;
        return header.substr(start, header.find('"', start) - start);
    }
    std::string encoded;
    const auto single = header.find(attr + "*=UTF-8''");
    if (single != std::string::npos) {
        const auto start = single + attr.size() + 9;
        encoded = header.substr(start, header.find_first_of("; ", start) - start);
    } else {
        for (int k = 0;; ++k) {
            const std::string key =
                attr + "*" + std::to_string(k) + "*=" + (k == 0 ? "UTF-8''" : "");
            const auto at = header.find(key);
            if (at == std::string::npos) {
                break;
            }
            const auto start = at + key.size();
            encoded += header.substr(start, header.find_first_of("; ", start) - start);
        }
    }
    return percentDecode(encoded, problems);
}

// The parts of a multipart body, each read as readPart reads a message.
inline std::vector<MimePart> splitMultipart(const std::string& body, const std::string& boundary,
                                            Problems& problems) {
    std::vector<MimePart> parts;
    const std::string delimiter = "\r\n--" + boundary;
    if (body.find("--" + boundary + "\r\n") != 0) {
        problems.push_back("the body does not start with the first boundary");
    }
    auto at = boundary.size() + 4;
    while (true) {
        const auto next = body.find(delimiter, at);
        if (next == std::string::npos) {
            problems.push_back("a part without a boundary after it");
            break;
        }
        parts.push_back(readPart(body.substr(at, next - at) + "\r\n", problems));
        const auto after = next + delimiter.size();
        if (body.compare(after, 4, "--\r\n") == 0) {
            if (after + 4 != body.size()) {
                problems.push_back("text after the closing boundary");
            }
            break;
        }
        if (body.compare(after, 2, "\r\n") != 0) {
            problems.push_back("a boundary not followed by a line end");
        }
        at = after + 2;
    }
    return parts;
}

// A whole message as its reader shows it.
struct ReadMail {
    std::map<std::string, std::string> headers;     // by lower-case name, encoded words decoded
    std::string text;                               // line ends as "\n"
    std::map<std::string, std::string> attachments; // by file name
    bool multipart = false;
    Problems problems;

    // "" when there is no such header or file.
    std::string header(const std::string& lowerName) const {
        const auto it = headers.find(lowerName);
        return it == headers.end() ? std::string() : it->second;
    }
    std::string attachment(const std::string& name) const {
        const auto it = attachments.find(name);
        return it == attachments.end() ? std::string() : it->second;
    }
};

inline ReadMail readMail(const std::string& raw) {
    ReadMail mail;
    const MimePart top = readPart(raw, mail.problems);
    for (const std::string& name : top.names) {
        std::string value = top.headers.at(name);
        value.erase(value.find_last_not_of(" \t") + 1);
        mail.headers[lowerCase(name)] = decodeWords(value, mail.problems);
    }
    const std::string type = top.header("Content-Type");
    if (type.rfind("multipart/", 0) != 0) {
        mail.text = fromQuotedPrintable(top.body, mail.problems);
        return mail;
    }
    mail.multipart = true;
    const std::string boundary = parameterValue(type, "boundary", mail.problems);
    for (const MimePart& part : splitMultipart(top.body, boundary, mail.problems)) {
        const std::string disposition = part.header("Content-Disposition");
        if (disposition.empty()) {
            mail.text = fromQuotedPrintable(part.body, mail.problems);
        } else {
            mail.attachments[parameterValue(disposition, "filename", mail.problems)] =
                fromBase64(part.body, mail.problems);
        }
    }
    return mail;
}

} // namespace zadw::test
