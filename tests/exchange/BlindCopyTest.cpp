// SPDX-License-Identifier: GPL-3.0-or-later
// Blind copies: every recipient gets the message, and no header names any of them.
#include "FakeTransport.h"
#include "MailPrograms.h"
#include "MailSender.h"
#include "MimeWriter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zadw {
namespace {

TEST(BlindCopy, ReachesTheMailProgramButNoHeader) {
    test::FakeTransport transport;
    test::RecordingSink sink;
    MailSender sender(transport, sink);
    ASSERT_TRUE(sender.addBcc("olle@example.se; asa@example.se"));
    ASSERT_TRUE(sender.addBcc("per@example.se"));
    sender.setSubject("Report");
    sender.noteText = "Tack.";
    ASSERT_TRUE(sender.send());
    ASSERT_EQ(transport.delivered.size(), 1u);
    const MailMessage& m = transport.delivered[0];
    EXPECT_TRUE(m.recipients.empty());
    ASSERT_EQ(m.bcc.size(), 3u);
    EXPECT_EQ(m.bcc[1].address, "asa@example.se");

    // sendmail is told every address, since "-t" would find none in the headers.
    EXPECT_EQ(sendmailArguments(m), (std::vector<std::string>{"-oi", "--", "olle@example.se",
                                                              "asa@example.se", "per@example.se"}));
    const MimeBuild mime = writeMimeMessage(m, {1709643789, 60, "x", "h"}, nullptr);
    ASSERT_TRUE(mime.ok);
    EXPECT_EQ(mime.text.find("example.se"), std::string::npos) << mime.text;
    EXPECT_NE(mime.text.find("To: undisclosed-recipients:;\r\n"), std::string::npos);
    EXPECT_EQ(mime.text.find("Bcc:"), std::string::npos);

    // The desktop client gets them as its own blind copies.
    const std::vector<std::string> xdg = xdgEmailArguments(m);
    EXPECT_EQ(std::count(xdg.begin(), xdg.end(), std::string("--bcc")), 3);
}

TEST(BlindCopy, WithoutBlindCopiesSendmailReadsTheHeadersAsBefore) {
    MailMessage m;
    m.recipients.push_back({"a@example.se"});
    EXPECT_EQ(sendmailArguments(m), sendmailArguments());
}

TEST(BlindCopy, AnUnsafeAddressRefusesTheWholeMessage) {
    test::FakeTransport transport;
    test::RecordingSink sink;
    MailSender sender(transport, sink);
    EXPECT_TRUE(sender.addBcc("olle@example.se"));
    EXPECT_FALSE(sender.addBcc("asa@example.se\r\nTo: x@example.se"));
    EXPECT_FALSE(sender.send());
    EXPECT_TRUE(transport.delivered.empty());
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_NE(sink.shown[0].find("asa@example.se[CR][LF]To: x@example.se"), std::string::npos);
}

} // namespace
} // namespace zadw
