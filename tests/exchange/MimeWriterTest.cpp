// SPDX-License-Identifier: GPL-3.0-or-later
// The message a sendmail-compatible program receives, read back the way a mail reader would.
#include "MimeWriter.h"

#include "MailReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace zadw {
namespace {

// The shared reader's findings fail the test where they are made.
template <typename Read> auto checked(Read read) {
    test::Problems problems;
    auto out = read(problems);
    for (const std::string& p : problems) {
        ADD_FAILURE() << p;
    }
    return out;
}

using Part = test::MimePart;

std::string fromBase64(const std::string& text) {
    return checked([&](test::Problems& p) { return test::fromBase64(text, p); });
}
std::string fromQuotedPrintable(const std::string& qp) {
    return checked([&](test::Problems& p) { return test::fromQuotedPrintable(qp, p); });
}
std::string decodeWords(const std::string& value) {
    return checked([&](test::Problems& p) { return test::decodeWords(value, p); });
}
Part parsePart(const std::string& text) {
    return checked([&](test::Problems& p) { return test::readPart(text, p); });
}
std::string parameterValue(const std::string& header, const std::string& attr) {
    return checked([&](test::Problems& p) { return test::parameterValue(header, attr, p); });
}
std::vector<Part> splitMultipart(const std::string& body, const std::string& boundary) {
    return checked([&](test::Problems& p) { return test::splitMultipart(body, boundary, p); });
}

void checkLines(const std::string& text) {
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ASSERT_LT(i + 1, text.size());
            EXPECT_EQ(text[i + 1], '\n') << "bare CR at " << i;
        } else if (text[i] == '\n') {
            EXPECT_GT(i, 0u);
            EXPECT_EQ(text[i - 1], '\r') << "bare LF at " << i;
            EXPECT_LE(i - 1 - lineStart, 998u);
            lineStart = i + 1;
        }
    }
}

MailMessage message(const std::string& subject, const std::string& text) {
    MailMessage m;
    m.recipients = {{"sekr@exempel.se"}};
    m.subject = subject;
    m.noteText = text;
    return m;
}

const MessageStamp kStamp{1709643789, 60, "20240305.1234", "kansliet.local"};

TEST(MimeWriter, PlainMessageHeadersAndBody) {
    const MimeBuild b = writeMimeMessage(
        message("Report", "Skicka in din rapport för mars. \nTack."), kStamp, nullptr);
    ASSERT_TRUE(b.ok);
    checkLines(b.text);
    const Part p = parsePart(b.text);
    EXPECT_EQ(p.headers.at("Date"), "Tue, 05 Mar 2024 14:03:09 +0100");
    EXPECT_EQ(p.headers.at("Message-ID"), "<20240305.1234@kansliet.local>");
    EXPECT_EQ(p.headers.at("To"), "sekr@exempel.se");
    EXPECT_EQ(p.headers.at("Subject"), "Report");
    EXPECT_EQ(p.headers.at("MIME-Version"), "1.0");
    EXPECT_EQ(p.headers.at("Content-Type"), "text/plain; charset=UTF-8");
    EXPECT_EQ(p.headers.at("Content-Transfer-Encoding"), "quoted-printable");
    EXPECT_EQ(p.headers.count("From"), 0u);
    EXPECT_EQ(fromQuotedPrintable(p.body), "Skicka in din rapport för mars. \nTack.");
    EXPECT_NE(p.body.find("mars.=20\r\nTack."), std::string::npos); // no blank at a line end
}

TEST(MimeWriter, SubjectsDecodeBack) {
    const std::string subjects[] = {
        "Sammanställningsfil - december - Grupp 12",
        "Report",
        std::string(200, 'x'), // one word too long for a line
        "word " + std::string(30, 'y') + " " + std::string(70, 'z') + " end",
        "=?UTF-8?B?eA==?= is text", // looks like an encoded word
        "ÅÄÖ åäö " + std::string(40, 'a') + "€€€€€€€€€€€€€€€€€€€€€€€€€€€€€€ 😀😀😀😀😀😀😀😀",
        "tab\there",
        std::string(1200, 'q'),
    };
    for (const std::string& s : subjects) {
        const MimeBuild b = writeMimeMessage(message(s, "x"), kStamp, nullptr);
        ASSERT_TRUE(b.ok);
        checkLines(b.text);
        const Part p = parsePart(b.text);
        EXPECT_EQ(decodeWords(p.headers.at("Subject")), s);
    }
    // Plain text stays readable; anything else is encoded as UTF-8 words.
    const Part plain = parsePart(writeMimeMessage(message("Report", ""), kStamp, nullptr).text);
    EXPECT_EQ(plain.headers.at("Subject"), "Report");
    const Part swedish = parsePart(
        writeMimeMessage(message("Sammanställningsfil - mars - Grupp 4", ""), kStamp, nullptr)
            .text);
    EXPECT_EQ(swedish.headers.at("Subject").rfind("=?UTF-8?B?", 0), 0u);
}

TEST(MimeWriter, BodiesDecodeBackWithinLineLimits) {
    std::string allBytes;
    for (int c = 1; c < 256; ++c) {
        if (c != '\r' && c != '\n') {
            allBytes += static_cast<char>(c);
        }
    }
    const std::string texts[] = {
        "",
        "mars .z18-fil för Grupp 4 ",
        std::string(5000, 'a'),
        std::string(2000, '='),
        "trailing blanks   \nand tabs\t\t\n\n",
        ".\nFrom here\n.lead",
        allBytes + "\n" + allBytes,
        std::string(74, 'b') + ".x" + std::string(74, 'c') + "From the start",
    };
    for (const std::string& t : texts) {
        const MimeBuild b = writeMimeMessage(message("S", t), kStamp, nullptr);
        ASSERT_TRUE(b.ok);
        checkLines(b.text);
        const Part p = parsePart(b.text);
        EXPECT_EQ(fromQuotedPrintable(p.body), t);
        std::size_t start = 0;
        while (start < p.body.size()) {
            const auto end = p.body.find("\r\n", start);
            const std::string line = p.body.substr(start, end - start);
            EXPECT_LE(line.size(), 76u);
            EXPECT_NE(line, ".");
            EXPECT_NE(line.rfind("From ", 0), 0u) << line;
            start = end + 2;
        }
    }
    // Every kind of line end arrives as CRLF.
    const Part p = parsePart(writeMimeMessage(message("S", "a\r\nb\rc\nd"), kStamp, nullptr).text);
    EXPECT_EQ(p.body, "a\r\nb\r\nc\r\nd\r\n");
}

TEST(MimeWriter, AttachmentsComeBackByteForByteUnderTheirNames) {
    std::string allBytes;
    for (int round = 0; round < 3; ++round) {
        for (int c = 0; c < 256; ++c) {
            allBytes += static_cast<char>(c);
        }
    }
    const std::map<std::string, std::string> files = {
        {"/home/k/Grupp 4.z18", allBytes},
        {"/home/k/mars.z08/sammanställning 4.z18", "x"},
        {"/home/k/" + std::string(80, 'l') + "-åäö-" + std::string(40, 'm') + ".z18", ""},
        {"/home/k/quote\"d.z18", "q"},
    };
    MailMessage m = message("Sammanställningsfil - mars - Grupp 4", "mars .z18-fil för Grupp 4 ");
    for (const auto& [path, bytes] : files) {
        m.attachments.push_back({path, std::nullopt});
    }
    m.attachments.push_back({"/home/k/Grupp 4.z18", std::string("visas.z18")});
    const auto read = [&](const std::string& path, std::string& bytes) {
        bytes = files.at(path);
        return true;
    };
    const MimeBuild b = writeMimeMessage(m, kStamp, read);
    ASSERT_TRUE(b.ok) << b.error;
    checkLines(b.text);
    const Part top = parsePart(b.text);
    const std::string type = top.headers.at("Content-Type");
    ASSERT_EQ(type.rfind("multipart/mixed;", 0), 0u);
    const std::string boundary = parameterValue(type, "boundary");
    ASSERT_FALSE(boundary.empty());

    const std::vector<Part> parts = splitMultipart(top.body, boundary);
    ASSERT_EQ(parts.size(), m.attachments.size() + 1);
    EXPECT_EQ(parts[0].headers.at("Content-Type"), "text/plain; charset=UTF-8");
    EXPECT_EQ(fromQuotedPrintable(parts[0].body), m.noteText);
    for (std::size_t k = 0; k < m.attachments.size(); ++k) {
        const Part& p = parts[k + 1];
        const MailAttachment& a = m.attachments[k];
        EXPECT_EQ(p.headers.at("Content-Transfer-Encoding"), "base64");
        EXPECT_EQ(parameterValue(p.headers.at("Content-Disposition"), "filename"),
                  attachmentFileName(a));
        EXPECT_EQ(parameterValue(p.headers.at("Content-Type"), "name"), attachmentFileName(a));
        EXPECT_EQ(fromBase64(p.body), files.at(a.path)) << a.path;
        std::size_t start = 0;
        while (start < p.body.size()) {
            const auto end = p.body.find("\r\n", start);
            EXPECT_LE(end - start, 76u);
            start = end + 2;
        }
    }
    EXPECT_EQ(attachmentFileName({"/k/mars.z08/sammanställning 4.z18", std::nullopt}),
              "sammanställning 4.z18");
    EXPECT_EQ(attachmentFileName({"/k/g.z18", std::string("visas.z18")}), "visas.z18");
    EXPECT_EQ(attachmentFileName({"g.z18", std::string()}), "g.z18");
}

TEST(MimeWriter, ManyRecipientsFoldAndUnreadableFilesFail) {
    MailMessage m = message("S", "t");
    for (int i = 0; i < 12; ++i) {
        const std::string a = "person" + std::to_string(i) + "@exempel.se";
        m.recipients.push_back({a});
    }
    const MimeBuild b = writeMimeMessage(m, kStamp, nullptr);
    ASSERT_TRUE(b.ok);
    checkLines(b.text);
    std::string to = parsePart(b.text).headers.at("To");
    to.erase(std::remove(to.begin(), to.end(), ' '), to.end());
    EXPECT_EQ(std::count(to.begin(), to.end(), ','), 12);
    EXPECT_NE(to.find("person11@exempel.se"), std::string::npos);

    m.attachments.push_back({"/gone.z18", std::nullopt});
    const MimeBuild failed =
        writeMimeMessage(m, kStamp, [](const std::string&, std::string&) { return false; });
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.error.find("/gone.z18"), std::string::npos);
}

TEST(MimeWriter, DatesAndMessageIds) {
    struct Case {
        std::int64_t seconds;
        int offset;
        const char* expected;
    };
    const Case cases[] = {
        {0, 0, "Thu, 01 Jan 1970 00:00:00 +0000"},
        {951782400, 60, "Tue, 29 Feb 2000 01:00:00 +0100"},
        {1735689599, 60, "Wed, 01 Jan 2025 00:59:59 +0100"},
        {1735689599, -300, "Tue, 31 Dec 2024 18:59:59 -0500"},
        {1700000000, 330, "Wed, 15 Nov 2023 03:43:20 +0530"},
        {-1, 0, "Wed, 31 Dec 1969 23:59:59 +0000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rfc5322Date(c.seconds, c.offset), c.expected);
    }
    const MessageStamp odd{0, 0, "a b<c>", ""};
    const Part p = parsePart(writeMimeMessage(message("S", ""), odd, nullptr).text);
    EXPECT_EQ(p.headers.at("Message-ID"), "<a-b-c-@localhost>");
}

// Every header line, of the message and of its parts, as it stands between CRLFs.
std::vector<std::string> headerLinesOf(const std::string& text) {
    std::vector<std::string> lines;
    bool inHeader = true;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        const std::string line = text.substr(start, end - start);
        start = end == std::string::npos ? text.size() : end + 2;
        if (line.rfind("--", 0) == 0) {
            inHeader = line.size() < 4 || line.compare(line.size() - 2, 2, "--") != 0;
            continue;
        }
        if (line.empty()) {
            inHeader = false;
        } else if (inHeader) {
            lines.push_back(line);
        }
    }
    return lines;
}

TEST(MimeWriter, HeaderLinesStayWithin78WithTheRealStamp) {
    const std::map<std::string, std::string> files = {
        {"/k/Grupp 4.z18", "z18"},
        {"/k/" + std::string(90, 'l') + "-åäö.z18", "x"},
    };
    MailMessage m = message("Sammanställningsfil - september - Grupp 12", "text");
    for (const auto& [path, bytes] : files) {
        m.attachments.push_back({path, std::nullopt});
    }
    struct Case {
        std::int64_t msecs;
        std::uint64_t random;
        const char* host;
    };
    const Case cases[] = {
        {1764547200123, 0xffffffffffffffffULL, "kansliet"},
        {99999999999999, 0, "a-very-long-host-name.of.a.congregation.office.example.org"},
        {0, 1, ""},
    };
    for (const Case& c : cases) {
        const MessageStamp stamp{c.msecs / 1000, 60, uniqueMessagePart(c.msecs, c.random), c.host};
        const MimeBuild b =
            writeMimeMessage(m, stamp, [&](const std::string& path, std::string& bytes) {
                bytes = files.at(path);
                return true;
            });
        ASSERT_TRUE(b.ok);
        for (const std::string& line : headerLinesOf(b.text)) {
            EXPECT_LE(line.size(), 78u) << line;
        }
        const Part top = parsePart(b.text);
        const std::string boundary = parameterValue(top.headers.at("Content-Type"), "boundary");
        EXPECT_NE(boundary.find(stamp.uniquePart.substr(0, 20)), std::string::npos) << boundary;
        EXPECT_EQ(splitMultipart(top.body, boundary).size(), 3u);
        EXPECT_NE(top.headers.at("Message-ID").find(stamp.uniquePart), std::string::npos);
    }
    EXPECT_EQ(uniqueMessagePart(1709643789123, 0xf3a9c41b2e7d55), "1709643789123.00f3a9c41b2e7d55");
}

TEST(MimeWriter, BlindCopiesAppearInNoHeader) {
    MailMessage m = message("Påminnelse", "Skicka in din rapport.");
    m.bcc = {{"olle@exempel.se"}, {"asa@exempel.se"}};
    const MimeBuild withTo = writeMimeMessage(m, kStamp, nullptr);
    ASSERT_TRUE(withTo.ok);
    m.recipients.clear();
    const MimeBuild bccOnly = writeMimeMessage(m, kStamp, nullptr);
    ASSERT_TRUE(bccOnly.ok);
    EXPECT_EQ(parsePart(withTo.text).headers.at("To"), "sekr@exempel.se");
    EXPECT_EQ(parsePart(bccOnly.text).headers.at("To"), "undisclosed-recipients:;");
    for (const std::string& text : {withTo.text, bccOnly.text}) {
        EXPECT_EQ(text.find("olle@"), std::string::npos);
        EXPECT_EQ(text.find("asa@"), std::string::npos);
        EXPECT_EQ(parsePart(text).headers.count("Bcc"), 0u);
    }
}

} // namespace
} // namespace zadw
