// SPDX-License-Identifier: GPL-3.0-or-later
// The message as it is handed to the mail system, and what the collector is shown on the way.
#include "MailSender.h"
#include "Strings.h"

#include "FakeTransport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace zadw {
namespace {

using test::FakeTransport;
using test::RecordingSink;

std::vector<std::string> addresses(const MailMessage& m) {
    std::vector<std::string> out;
    for (const MailRecipient& r : m.recipients) {
        out.push_back(r.address);
    }
    return out;
}

TEST(MailSender, RecipientListsAreSplitAtSemicolonsAndCommasAndTrimmed) {
    struct Case {
        const char* list;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"a@x.se", {"a@x.se"}},
        {"a@x.se;b@y.se", {"a@x.se", "b@y.se"}},
        {"a@x.se;;b@y.se", {"a@x.se", "b@y.se"}},
        {";a@x.se;", {"a@x.se"}},
        {" a@x.se ; b@y.se", {"a@x.se", "b@y.se"}},
        {"a@x.se; ;b@y.se", {"a@x.se", "b@y.se"}},
        {"", {}},
        {";;", {}},
        {"anna-lena@x.se", {"anna-lena@x.se"}},
        {"a@b.se, evil@x.se", {"a@b.se", "evil@x.se"}},
        {"a@x.se,b@y.se;c@z.se", {"a@x.se", "b@y.se", "c@z.se"}},
    };
    for (const Case& c : cases) {
        FakeTransport transport;
        RecordingSink sink;
        MailSender sender(transport, sink);
        EXPECT_TRUE(sender.addRecipients(c.list)) << c.list;
        EXPECT_EQ(addresses(sender.message()), c.expected) << c.list;
        EXPECT_TRUE(sink.shown.empty()) << c.list;
    }
}

TEST(MailSender, UnsafeAddressesAreRefusedAndNothingIsSent) {
    struct Case {
        const char* list;
        const char* shownAs;
    };
    const Case cases[] = {
        {"a@x.se\r\nBcc: all@x.se", "a@x.se[CR][LF]Bcc: all@x.se"},
        {"a@x.se\n", "a@x.se[LF]"},
        {"a@\tx.se", "a@[TAB]x.se"},
        {"a@x.se\x7f", "a@x.se[U+007F]"},
        {"a@x.se\x01", "a@x.se[U+0001]"},
        {"a@x\xc2\x85.se", "a@x[U+0085].se"}, // NEL, a C1 control
        {"a@x\xc2\x9f.se", "a@x[U+009F].se"},
        {"a@x\xff.se", "a@x[0xFF].se"},   // not UTF-8
        {"-oQ/tmp@x.se", "-oQ/tmp@x.se"}, // would read as an option
        {"ok@x.se; -f@x.se", "-f@x.se"},  // after trimming the blank
        {"ok@x.se;b@x.se\r", "b@x.se[CR]"},
        {"ok@x.se,b@x.se\r", "b@x.se[CR]"}, // each part after a "," is checked too
        // Only ASCII reaches a header: a raw "å" would break it.
        {"åsa@exempel.se", "åsa@exempel.se"},
        {"ok@x.se; asa@exempel.företag", "asa@exempel.företag"},
    };
    for (const Case& c : cases) {
        FakeTransport transport;
        RecordingSink sink;
        MailSender sender(transport, sink);
        EXPECT_FALSE(sender.addRecipients(c.list)) << c.list;
        ASSERT_EQ(sink.shown.size(), 1u) << c.list;
        EXPECT_EQ(sink.shown[0], FormatText(LoadString(StringId::BadMailAddress), c.shownAs));
        EXPECT_TRUE(sender.message().recipients.empty()) << c.list;
        EXPECT_EQ(sender.takeError(), MailErrorBadAddress);
        // Even a later good address does not let the message go out.
        EXPECT_TRUE(sender.addRecipients("good@x.se"));
        EXPECT_FALSE(sender.send());
        EXPECT_TRUE(transport.delivered.empty()) << c.list;
        EXPECT_EQ(sink.shown.size(), 1u);
    }
    EXPECT_TRUE(isSafeAddress("a-b@x.se"));
    EXPECT_TRUE(isSafeAddress("ö@ü.se"));
}

TEST(MailSender, BlindCopiesAreCheckedLikeRecipientsAndKeptApart) {
    FakeTransport transport;
    RecordingSink sink;
    MailSender sender(transport, sink);
    EXPECT_TRUE(sender.addRecipients("sekr@x.se"));
    EXPECT_TRUE(sender.addBcc(" olle@x.se;;asa@x.se "));
    EXPECT_TRUE(sender.send());
    ASSERT_EQ(transport.delivered.size(), 1u);
    EXPECT_EQ(addresses(transport.delivered[0]), std::vector<std::string>{"sekr@x.se"});
    ASSERT_EQ(transport.delivered[0].bcc.size(), 2u);
    EXPECT_EQ(transport.delivered[0].bcc[1].address, "asa@x.se");

    MailSender refused(transport, sink);
    EXPECT_FALSE(refused.addBcc("ok@x.se;b\n@x.se"));
    EXPECT_EQ(sink.shown.size(), 1u);
    EXPECT_FALSE(refused.send());
    EXPECT_EQ(transport.delivered.size(), 1u);
}

// A publisher's address is one address: a field holding more is refused whole, never split.
TEST(MailSender, APublishersAddressHoldsOneAddress) {
    struct Case {
        const char* address;
        bool accepted;
    };
    const Case cases[] = {
        {" olle@x.se ", true},        {"olle@x.se;", true}, {"olle@x.se;evil@x.se", false},
        {"a@b.se, evil@x.se", false}, {"a@b.se,,", true},
    };
    for (const bool blindCopy : {false, true}) {
        for (const Case& c : cases) {
            FakeTransport transport;
            RecordingSink sink;
            MailSender sender(transport, sink);
            EXPECT_EQ(sender.addOneRecipient(c.address, blindCopy), c.accepted) << c.address;
            const auto& to = blindCopy ? sender.message().bcc : sender.message().recipients;
            EXPECT_EQ(to.size(), c.accepted ? 1u : 0u) << c.address;
            if (!c.accepted) {
                ASSERT_EQ(sink.shown.size(), 1u);
                EXPECT_EQ(sink.shown[0],
                          FormatText(LoadString(StringId::BadMailAddress), c.address));
                EXPECT_FALSE(sender.send());
                EXPECT_TRUE(transport.delivered.empty());
            }
        }
    }
}

TEST(MailSender, AttachmentsStandAtBlanksAfterTheText) {
    FakeTransport transport;
    RecordingSink sink;
    MailSender sender(transport, sink);
    ASSERT_TRUE(sender.addRecipients("a@x.se"));
    sender.setSubject("S");
    sender.noteText = std::string(30, 'x');
    ASSERT_TRUE(sender.addAttachment("/tmp/g.z18"));
    EXPECT_TRUE(sender.send());
    ASSERT_EQ(transport.delivered.size(), 1u);
    const MailMessage& m = transport.delivered[0];
    EXPECT_EQ(m.noteText, std::string(30, 'x') + " ");
    ASSERT_EQ(m.attachments.size(), 1u);
    EXPECT_EQ(m.attachments[0].path, "/tmp/g.z18");
    EXPECT_FALSE(m.attachments[0].displayName.has_value());
    EXPECT_EQ(m.subject, "S");

    // One blank for each attachment, whatever the text holds.
    MailSender second(transport, sink);
    second.noteText = "för";
    second.addAttachment("/a", "första");
    second.addAttachment("/b");
    second.send();
    const MailMessage& n = transport.delivered.back();
    EXPECT_EQ(n.noteText, "för  ");
    EXPECT_EQ(n.attachments[0].displayName.value_or(""), "första");
    EXPECT_TRUE(sink.shown.empty());
}

TEST(MailSender, OutcomesAndWhatTheyShow) {
    struct Case {
        SendOutcome outcome;
        const char* errorLine;
        bool result;
        std::string shown; // "" for nothing
    };
    const Case cases[] = {
        {SendOutcome::Sent, "", true, ""},
        {SendOutcome::Cancelled, "", true, ""},
        {SendOutcome::Failed, "", false, LoadString(StringId::SendMailFailed)},
        {SendOutcome::Failed, "sendmail: No recipient addresses found in header", false,
         LoadString(StringId::SendMailFailed) +
             "\nsendmail: No recipient addresses found in header"},
        {SendOutcome::NotFound, "", false, LoadString(StringId::NoMailSystem)},
        {SendOutcome::NotExecutable, "", false, LoadString(StringId::InvalidMailSystem)},
    };
    for (const Case& c : cases) {
        FakeTransport transport;
        transport.result = DeliveryResult::of(c.outcome, c.errorLine);
        RecordingSink sink;
        MailSender sender(transport, sink);
        sender.addRecipients("a@x.se");
        EXPECT_EQ(sender.send(), c.result) << c.shown;
        EXPECT_EQ(transport.delivered.size(), 1u); // never retried
        if (c.shown.empty()) {
            EXPECT_TRUE(sink.shown.empty());
        } else {
            ASSERT_EQ(sink.shown.size(), 1u);
            EXPECT_EQ(sink.shown[0], c.shown);
        }
    }
}

TEST(MailSender, AMissingMailSystemIsSaidOnceAndKeptAsTheError) {
    struct Case {
        MailSystemState state;
        int error;
        StringId message;
    };
    for (const Case& c : {Case{MailSystemState::NotFound, 1, StringId::NoMailSystem},
                          Case{MailSystemState::NotExecutable, 2, StringId::InvalidMailSystem}}) {
        FakeTransport transport;
        transport.state = c.state;
        RecordingSink sink;
        MailSender sender(transport, sink);
        ASSERT_EQ(sink.shown.size(), 1u);
        EXPECT_EQ(sink.shown[0], LoadString(c.message));
        EXPECT_EQ(sender.takeError(), c.error);
        EXPECT_EQ(sender.takeError(), 0); // taken means reset
        sender.addRecipients("a@x.se");
        EXPECT_FALSE(sender.send());
        EXPECT_TRUE(transport.delivered.empty());
        EXPECT_EQ(sink.shown.size(), 1u);
    }
}

} // namespace
} // namespace zadw
