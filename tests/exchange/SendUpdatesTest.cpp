// SPDX-License-Identifier: GPL-3.0-or-later
// Sending the updates to the secretary and reminding a publisher, with a recording mail system.
#include "SendUpdates.h"
#include "Strings.h"

#include "FakeTransport.h"
#include "TestSupport.h"

#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace zadw {
namespace {

using test::FakeTransport;
using test::RecordingSink;

TEST(UpdateFile, OnlyTheFileNamesExtensionChanges) {
    struct Case {
        const char* group;
        const char* update;
    };
    const Case cases[] = {
        {"/hem/k/grupp4.z08", "/hem/k/grupp4.z18"},
        {"/hem/k/GRUPP4.Z08", "/hem/k/GRUPP4.z18"},
        {"/hem/mars.z08/grupp4.z08", "/hem/mars.z08/grupp4.z18"},
        {"/hem/MARS.Z08/grupp.z08.z08", "/hem/MARS.Z08/grupp.z08.z18"},
        {"grupp4.z08", "grupp4.z18"},
        {".z08", ".z18"},
        {"/hem/k/grupp4.z18", ""},
        {"/hem/k/grupp4.z08.bak", ""},
        {"/hem/k/grupp4.z08 ", ""},
        {"/hem/mars.z08/", ""},
        {"z08", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(updateFilePath(c.group), c.update) << c.group;
    }
}

TEST(UpdateFile, SubjectAndTextNameMonthAndGroup) {
    EXPECT_EQ(updateSubject(2, 4), "Sammanställningsfil - mars - Grupp 4");
    EXPECT_EQ(updateText(2, 4), "mars .z18-fil för Grupp 4");
    EXPECT_EQ(updateSubject(11, 255), "Sammanställningsfil - december - Grupp 255");
    EXPECT_EQ(updateSubject(0, 0), "Sammanställningsfil - januari - Grupp 0");
    EXPECT_EQ(reminderText(2), "Skicka in din rapport för mars. \nTack.");
}

class Updates : public ::testing::Test {
protected:
    RecordingSink sink;
    GroupStore store{sink};
    FakeTransport transport;
    test::ScratchDir dir;

    void makeGroup(int count, const std::string& email, const std::string& fileName = "grupp4.z08",
                   int month = 2) {
        GroupRecord head{};
        head.groupNumber = 4;
        head.reportMonth = static_cast<std::uint8_t>(month);
        ASSERT_TRUE(setTextField(head, TextField::Email, email, nullptr));
        store.assign(head, std::vector<GroupRecord>(static_cast<std::size_t>(count)), {});
        store.groupFilePath = dir.file(fileName);
    }
    std::string notice(const std::string& path) const {
        return "Dina uppdateringar har sparats i en fil i\n" + path;
    }
    void send() { SendUpdates(store, sink, transport); }
};

TEST_F(Updates, YesMailsTheUpdateFileToTheSecretary) {
    makeGroup(3, "sekr@exempel.se", "GRUPP4.Z08", 11);
    sink.answers = {MsgAnswer::Yes};
    send();
    const std::string path = dir.file("GRUPP4.z18");
    EXPECT_TRUE(std::filesystem::exists(path));
    ASSERT_EQ(sink.shown.size(), 2u);
    EXPECT_EQ(sink.shown[1], "Uppdateringen har lämnats till msmtp för sekr@exempel.se.");
    EXPECT_EQ(sink.shown[0], notice(path) +
                                 "\n\nKlicka Ja för att e-posta .z18-filen tillsekr@exempel.se,\n"
                                 "      eller\n"
                                 "klicka Nej för att sända filen till sekreteraren senare.");
    EXPECT_EQ(sink.icons[0], MsgIcon::Question);

    ASSERT_EQ(transport.delivered.size(), 1u);
    const MailMessage& m = transport.delivered[0];
    ASSERT_EQ(m.recipients.size(), 1u);
    EXPECT_EQ(m.recipients[0].address, "sekr@exempel.se");
    EXPECT_EQ(m.subject, "Sammanställningsfil - december - Grupp 4");
    EXPECT_EQ(m.noteText, "december .z18-fil för Grupp 4 ");
    ASSERT_EQ(m.attachments.size(), 1u);
    EXPECT_EQ(m.attachments[0].path, path);
    EXPECT_FALSE(m.attachments[0].displayName.has_value());

    // A second time overwrites the file and sends again.
    sink.answers = {MsgAnswer::Yes};
    send();
    EXPECT_EQ(transport.delivered.size(), 2u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// The Swedish question runs into the address as it always has; the English one reads apart.
TEST_F(Updates, TheEnglishQuestionKeepsTheAddressApart) {
    ASSERT_TRUE(SetLanguage("en"));
    makeGroup(3, "sekr@exempel.se");
    sink.answers = {MsgAnswer::No};
    send();
    SetLanguage(kSwedish);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_NE(sink.shown[0].find("e-mail the .z18 file to sekr@exempel.se,\n"), std::string::npos)
        << sink.shown[0];
}

TEST_F(Updates, NoUsableAddressGivesTheNoticeAlone) {
    for (const char* email : {"", "sekr.exempel.se"}) {
        sink.shown.clear();
        makeGroup(2, email);
        send();
        const std::string path = dir.file("grupp4.z18");
        EXPECT_TRUE(std::filesystem::exists(path));
        ASSERT_EQ(sink.shown.size(), 1u);
        EXPECT_EQ(sink.shown[0], notice(path));
        EXPECT_NE(sink.icons[0], MsgIcon::Question);
        EXPECT_EQ(transport.probes, 0);
    }
}

TEST_F(Updates, NoKeepsTheFileAndSendsNothing) {
    makeGroup(2, "sekr@exempel.se");
    sink.answers = {MsgAnswer::No};
    send();
    EXPECT_TRUE(std::filesystem::exists(dir.file("grupp4.z18")));
    EXPECT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(transport.probes, 0);
    EXPECT_TRUE(transport.delivered.empty());
}

TEST_F(Updates, NothingHappensWithoutAGroupFileOrEnoughPublishers) {
    makeGroup(2, "sekr@exempel.se", "grupp4.z18");
    send();
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    makeGroup(1, "sekr@exempel.se");
    send();
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], LoadString(StringId::TooFewPublishers));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(transport.delivered.empty());
}

TEST_F(Updates, SeveralAddressesInTheHeaderEachGetTheMail) {
    makeGroup(2, " sekr@exempel.se;;bitrade@exempel.se ");
    sink.answers = {MsgAnswer::Yes};
    send();
    ASSERT_EQ(transport.delivered.size(), 1u);
    const auto& r = transport.delivered[0].recipients;
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].address, "sekr@exempel.se");
    EXPECT_EQ(r[1].address, "bitrade@exempel.se");
}

TEST_F(Updates, MailFailuresAreShownAndTheFileStays) {
    struct Case {
        MailSystemState state;
        SendOutcome outcome;
        std::string shown; // after the question; "" for nothing
    };
    const std::string saved = dir.file("grupp4.z18");
    const Case cases[] = {
        {MailSystemState::NotFound, SendOutcome::Sent, LoadString(StringId::NoMailSystem)},
        {MailSystemState::NotExecutable, SendOutcome::Sent,
         LoadString(StringId::InvalidMailSystem)},
        {MailSystemState::Ready, SendOutcome::Failed,
         "E-postprogrammet msmtp kunde inte skicka brevet (no route). Uppdateringsfilen finns "
         "sparad som " +
             saved + "."},
        {MailSystemState::Ready, SendOutcome::Cancelled, ""},
    };
    for (const Case& c : cases) {
        makeGroup(2, "sekr@exempel.se");
        sink.shown.clear();
        sink.answers = {MsgAnswer::Yes};
        transport.state = c.state;
        transport.result = DeliveryResult::of(c.outcome, "no route");
        transport.result.program = "msmtp";
        send();
        EXPECT_TRUE(std::filesystem::exists(dir.file("grupp4.z18")));
        ASSERT_EQ(sink.shown.size(), c.shown.empty() ? 1u : 2u) << c.shown;
        if (!c.shown.empty()) {
            EXPECT_EQ(sink.shown[1], c.shown);
        }
    }
}

// Keeps what the buttons of the "attach it yourself" message asked of the desktop.
struct RecordingHandOver : FileHandOver {
    void showFile(const std::string& path) override { shownFiles.push_back(path); }
    void copyText(const std::string& text) override { copied.push_back(text); }
    std::vector<std::string> shownFiles, copied;
};

TEST_F(Updates, WhenNothingCanCarryTheFileTheCollectorIsToldWhereAndToWhom) {
    struct Case {
        const char* address;
        const char* groupFile;
        std::vector<std::string> presses;
        const char* shownAddress;
    };
    const Case cases[] = {
        {"sekr@exempel.se", "grupp4.z08", {}, "sekr@exempel.se"},
        {" sekr@exempel.se ", "GRUPP 4.Z08", {"Visa filen"}, "sekr@exempel.se"},
        {"sekr@exempel.se;kassa@exempel.se",
         "g%2.z08",
         {"Kopiera adressen", "Visa filen"},
         "sekr@exempel.se;kassa@exempel.se"},
    };
    for (const Case& c : cases) {
        makeGroup(2, c.address, c.groupFile);
        sink = RecordingSink();
        transport = FakeTransport();
        transport.attachmentState = MailSystemState::FileOnly;
        sink.actionPresses.assign(c.presses.begin(), c.presses.end());
        RecordingHandOver desk;
        SendUpdates(store, sink, transport, &desk);

        const std::string path = updateFilePath(store.groupFilePath);
        EXPECT_TRUE(std::filesystem::exists(path));
        ASSERT_EQ(sink.shown.size(), 1u); // no question: Yes would lead nowhere
        EXPECT_EQ(sink.shown[0], "Uppdateringsfilen har sparats som\n" + path +
                                     "\nBifoga den i ett e-brev till " + c.shownAddress + ".");
        EXPECT_EQ(sink.actionLabels[0],
                  (std::vector<std::string>{"Visa filen", "Kopiera adressen"}));
        EXPECT_EQ(sink.defaults[0], MsgAnswer::Ok);
        std::vector<std::string> shownFiles, copied;
        for (const std::string& press : c.presses) {
            (press == "Visa filen" ? shownFiles : copied)
                .push_back(press == "Visa filen" ? path : c.shownAddress);
        }
        EXPECT_EQ(desk.shownFiles, shownFiles);
        EXPECT_EQ(desk.copied, copied);
        EXPECT_EQ(transport.probes, 0);
        EXPECT_TRUE(transport.delivered.empty());
    }
}

TEST_F(Updates, ABrokenMailProgramIsStillReportedAfterTheQuestion) {
    // Only "nothing can carry the file" skips the question; a named program that cannot run is
    // said as before, so the collector can mend it.
    makeGroup(2, "sekr@exempel.se");
    transport.state = MailSystemState::NotExecutable;
    sink.answers = {MsgAnswer::Yes};
    send();
    ASSERT_EQ(sink.shown.size(), 2u);
    EXPECT_EQ(sink.icons[0], MsgIcon::Question);
    EXPECT_EQ(sink.shown[1], LoadString(StringId::InvalidMailSystem));
    EXPECT_EQ(transport.attachmentProbes, 1);
}

TEST_F(Updates, AnAddressWithALineBreakIsRefused) {
    makeGroup(2, "sekr@exempel.se\r\nBcc: alla@exempel.se");
    sink.answers = {MsgAnswer::Yes};
    send();
    ASSERT_EQ(sink.shown.size(), 2u);
    EXPECT_NE(sink.shown[0].find("tillsekr@exempel.se[CR][LF]Bcc: alla@exempel.se,\n"),
              std::string::npos);
    EXPECT_EQ(sink.shown[1], FormatText(LoadString(StringId::BadMailAddress),
                                        "sekr@exempel.se[CR][LF]Bcc: alla@exempel.se"));
    EXPECT_TRUE(transport.delivered.empty());
    EXPECT_TRUE(std::filesystem::exists(dir.file("grupp4.z18")));
}

TEST_F(Updates, WhatWasSentIsRecordedOnlyWhenTheUpdateSurelyLeft) {
    // A sendmail's success records at once; a desktop client or a file on disk only when the
    // collector presses "Jag har skickat den"; a failure or a No never.
    struct Case {
        const char* email;
        std::optional<MailSystemState> attachments;
        DeliveryResult result;
        std::deque<MsgAnswer> answers;
        bool press;
        UpdateOutcome outcome;
        int recorded;
        std::string last; // the last message shown
    };
    const std::string path = dir.file("grupp4.z18");
    const Case cases[] = {
        {"sekr@exempel.se",
         {},
         FakeTransport::sentBy("msmtp"),
         {MsgAnswer::Yes},
         false,
         UpdateOutcome::Sent,
         1,
         "Uppdateringen har lämnats till msmtp för sekr@exempel.se."},
        {"sekr@exempel.se",
         {},
         FakeTransport::sentBy("Thunderbird", true),
         {MsgAnswer::Yes},
         false,
         UpdateOutcome::OpenedInClient,
         0,
         "Uppdateringen har öppnats i Thunderbird. Skicka brevet där och tryck sedan på \"Jag "
         "har skickat den\"."},
        {"sekr@exempel.se",
         {},
         FakeTransport::sentBy("Thunderbird", true),
         {MsgAnswer::Yes},
         true,
         UpdateOutcome::OpenedInClient,
         1,
         ""},
        {"sekr@exempel.se",
         MailSystemState::FileOnly,
         FakeTransport::sentBy("msmtp"),
         {},
         true,
         UpdateOutcome::Saved,
         1,
         ""},
        {"", {}, FakeTransport::sentBy("msmtp"), {}, true, UpdateOutcome::Saved, 1, notice(path)},
        {"sekr@exempel.se",
         {},
         DeliveryResult::of(SendOutcome::Failed, "exit status 75"),
         {MsgAnswer::Yes},
         false,
         UpdateOutcome::Failed,
         0,
         ""},
        {"sekr@exempel.se",
         {},
         FakeTransport::sentBy("msmtp"),
         {MsgAnswer::No},
         false,
         UpdateOutcome::Saved,
         0,
         ""},
    };
    for (const Case& c : cases) {
        makeGroup(2, c.email);
        sink = RecordingSink();
        transport = FakeTransport();
        transport.result = c.result;
        transport.attachmentState = c.attachments;
        sink.answers = c.answers;
        if (c.press) {
            sink.actionPresses = {"Jag har skickat den"};
        }
        int recorded = 0;
        EXPECT_EQ(SendUpdates(store, sink, transport, nullptr, [&] { ++recorded; }), c.outcome)
            << c.last;
        EXPECT_EQ(recorded, c.recorded) << c.last;
        if (!c.last.empty()) {
            EXPECT_EQ(sink.shown.back(), c.last);
        }
        EXPECT_TRUE(std::filesystem::exists(path));
    }
}

TEST_F(Updates, AFailedSendSaysWhereTheFileIsWithItsButtons) {
    makeGroup(2, "sekr@exempel.se");
    transport.result = DeliveryResult::of(SendOutcome::Failed, "slutstatus 75");
    transport.result.program = "sendmail";
    sink.answers = {MsgAnswer::Yes};
    sink.actionPresses = {"Kopiera adressen"};
    RecordingHandOver desk;
    SendUpdates(store, sink, transport, &desk, [] {});
    const std::string path = dir.file("grupp4.z18");
    EXPECT_EQ(sink.shown.back(), "E-postprogrammet sendmail kunde inte skicka brevet "
                                 "(slutstatus 75). Uppdateringsfilen finns sparad som " +
                                     path + ".");
    EXPECT_EQ(sink.actionLabels.back(),
              (std::vector<std::string>{"Visa filen", "Kopiera adressen"}));
    EXPECT_EQ(desk.copied, std::vector<std::string>{"sekr@exempel.se"});
}

TEST(Reminder, AsksFirstThenMailsTheReminder) {
    RecordingSink sink;
    FakeTransport transport;
    // Enter answers No: nothing goes.
    EXPECT_FALSE(SendReminder("anna@exempel.se", "Anna Berg", 2, sink, transport));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], "Skicka en påminnelse om rapporten för Anna Berg till "
                             "anna@exempel.se?");
    EXPECT_EQ(sink.defaults[0], MsgAnswer::No);
    EXPECT_TRUE(transport.delivered.empty());

    sink.answers = {MsgAnswer::Yes};
    EXPECT_TRUE(SendReminder("anna@exempel.se", "Anna Berg", 2, sink, transport));
    ASSERT_EQ(transport.delivered.size(), 1u);
    const MailMessage& m = transport.delivered[0];
    ASSERT_EQ(m.recipients.size(), 1u);
    EXPECT_EQ(m.recipients[0].address, "anna@exempel.se");
    EXPECT_EQ(m.subject, "Report");
    EXPECT_EQ(m.noteText, "Skicka in din rapport för mars. \nTack.");
    EXPECT_TRUE(m.attachments.empty());

    transport.state = MailSystemState::NotFound;
    sink.answers = {MsgAnswer::Yes};
    SendReminder("anna@exempel.se", "Anna Berg", 2, sink, transport);
    EXPECT_EQ(sink.shown.back(), LoadString(StringId::NoMailSystem));
    EXPECT_EQ(transport.delivered.size(), 1u);
}

} // namespace
} // namespace zadw
