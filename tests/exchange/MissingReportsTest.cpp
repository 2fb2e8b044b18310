// SPDX-License-Identifier: GPL-3.0-or-later
// Who is missing, how the list reads, and the one reminder that reaches all of them.
#include "MissingReports.h"

#include "FakeTransport.h"
#include "SendUpdates.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zadw {
namespace {

using test::FakeTransport;
using test::RecordingSink;

constexpr int kNovember = 10;

struct Person {
    std::string first, last, phone1, phone2, phone3, email;
    int hours = 0; // in November
};

// Berg has reported, Öberg and Ek have addresses, Lind has none, Holm has an address no
// reminder may use.
const std::vector<Person> kMany = {
    {"Olle", "Öberg", "08-123 45 67", "", "+46 70-111 22", "olle@example.se", 0},
    {"Anna", "Berg", "070-111 22 33", "", "", "anna@example.se", 5},
    {"Åsa", "Ek", "", "", "", "asa@example.se", 0},
    {"Per", "Lind", "", "08-55 55", "", "", 0},
    {"Eva", "Holm", "", "", "", "eva-at-example", 0},
};

struct Group {
    RecordingSink sink;
    GroupStore store{sink};
    explicit Group(const std::vector<Person>& people) {
        GroupRecord head{};
        head.reportMonth = kNovember;
        std::vector<GroupRecord> records;
        for (const Person& p : people) {
            GroupRecord r{};
            setTextField(r, TextField::FirstName, p.first, nullptr);
            setTextField(r, TextField::LastName, p.last, nullptr);
            setTextField(r, TextField::Phone1, p.phone1, nullptr);
            setTextField(r, TextField::Phone2, p.phone2, nullptr);
            setTextField(r, TextField::Phone3, p.phone3, nullptr);
            setTextField(r, TextField::Email, p.email, nullptr);
            r.hours[kNovember] = static_cast<std::uint8_t>(p.hours);
            records.push_back(r);
        }
        store.assign(head, records, {});
    }
    // Links a remark to the November of publisher p.
    void remark(int p, const std::string& text) {
        std::string old;
        const int slot = store.getRemark(p, kNovember, old, false);
        ASSERT_TRUE(store.setRemark(p, kNovember, slot, text));
    }
};

TEST(MissingReports, TheMissingInFileOrderWithWhatCanReachThem) {
    Group g(kMany);
    const std::vector<MissingLine> lines = CollectMissing(g.store);
    EXPECT_EQ(ListText(lines), "Öberg, Olle\t08-123 45 67, +46 70-111 22\tolle@example.se\n"
                               "Ek, Åsa\t\tasa@example.se\n"
                               "Lind, Per\t08-55 55\t–\n"
                               "Holm, Eva\t\t–\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3].pub, 5);
    EXPECT_EQ(ReminderRecipients(lines), (std::vector<std::size_t>{0, 1}));
}

TEST(MissingReports, NobodyMissingOrNobodyToRemind) {
    std::vector<Person> reported = kMany;
    for (Person& p : reported) {
        p.hours = 3;
    }
    EXPECT_TRUE(CollectMissing(Group(reported).store).empty());

    const std::vector<Person> noAddress = {kMany[1], kMany[3], kMany[4]};
    const std::vector<MissingLine> lines = CollectMissing(Group(noAddress).store);
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_TRUE(ReminderRecipients(lines).empty());
}

TEST(MissingReports, RemarkOnlyMonthsFollowTheMissingUnderTheirOwnHeading) {
    struct Case {
        const char* what;
        std::vector<int> hours;                           // per publisher of kMany
        std::vector<std::pair<int, std::string>> remarks; // publisher, remark
        std::string text;                                 // as "Kopiera listan" copies it
        std::vector<std::size_t> reminded;                // lines of the missing section
    };
    const Case cases[] = {
        {"both sections",
         {0, 5, 0, 3, 3},
         {{1, "ringer tillbaka"}, {2, "sjuk"}},
         "Utebliven rapport för november\n"
         "Ek, Åsa\t\tasa@example.se\n"
         "Endast anmärkning\n"
         "Öberg, Olle\t08-123 45 67, +46 70-111 22\t–\tringer tillbaka\n",
         {0}},
        {"only remarks: no missing heading, nobody to remind",
         {0, 5, 3, 3, 3},
         {{1, "sjuk"}},
         "Endast anmärkning\nÖberg, Olle\t08-123 45 67, +46 70-111 22\t–\tsjuk\n",
         {}},
        {"nobody: no heading at all", {1, 1, 1, 1, 1}, {{1, "sjuk"}}, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Person> people = kMany;
        for (std::size_t i = 0; i < people.size(); ++i) {
            people[i].hours = c.hours[i];
        }
        Group g(people);
        for (const auto& [p, text] : c.remarks) {
            g.remark(p, text);
        }
        const std::vector<ChaseSection> sections = CollectSections(g.store);
        EXPECT_EQ(ListText(sections), c.text);
        const ChaseSection* missing = MissingSection(sections);
        EXPECT_EQ(missing != nullptr ? ReminderRecipients(missing->lines)
                                     : std::vector<std::size_t>{},
                  c.reminded);
    }
}

TEST(MissingReports, LateReportsComeLastWithTheirMonthAndFigures) {
    Group g(kMany);
    // Berg's September (old form) and October (new form), Lind's October.
    GroupRecord& berg = g.store.record(2);
    berg.books[8] = 3;
    berg.hours[8] = 12;
    berg.quarterHours[8] = 2;
    g.store.setLateFlag(2, 8);
    std::uint16_t forms = berg.newFormMonthsValue();
    GroupStore::setNewFormMonth(forms, 9, true);
    berg.setNewFormMonthsValue(forms);
    berg.hours[9] = 4;
    g.store.setLateFlag(2, 9);
    g.store.setLateFlag(4, 9); // flagged, with nothing in it
    const std::vector<ChaseSection> sections = CollectSections(g.store);
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[1].kind, ChaseKind::Late);
    EXPECT_EQ(ListText({sections[1]}),
              "Sena rapporter\n"
              "Berg, Anna\t070-111 22 33\t–\tseptember: Böcker 3, Timmar 12½\n"
              "Berg, Anna\t070-111 22 33\t–\toktober: Timmar 4\n"
              "Lind, Per\t08-55 55\t–\toktober\n");
    EXPECT_EQ(sections[1].lines[0].month, 8);
    // Nobody late is reminded for it.
    EXPECT_EQ(ReminderRecipients(MissingSection(sections)->lines).size(), 2u);
}

TEST(RemindAll, OneMessageWithEveryoneAsABlindCopy) {
    RecordingSink sink;
    FakeTransport mail;
    EXPECT_TRUE(SendReminderToAll({"olle@example.se", "asa@example.se"}, kNovember, sink, mail));
    ASSERT_EQ(mail.delivered.size(), 1u);
    const MailMessage& m = mail.delivered[0];
    EXPECT_TRUE(m.recipients.empty());
    ASSERT_EQ(m.bcc.size(), 2u);
    EXPECT_EQ(m.bcc[0].address, "olle@example.se");
    EXPECT_EQ(m.bcc[1].address, "asa@example.se");
    EXPECT_EQ(m.subject, kReminderSubject);
    EXPECT_EQ(m.noteText, reminderText(kNovember));
    EXPECT_TRUE(sink.shown.empty());
}

TEST(RemindAll, OneUnsafeAddressOrNoMailSystemSendsNothing) {
    const struct {
        const char* name;
        std::vector<std::string> addresses;
        MailSystemState state;
    } cases[] = {
        {"unsafe address",
         {"olle@example.se", "asa@example.se\r\nBcc: x@y.z"},
         MailSystemState::Ready},
        {"no mail system", {"olle@example.se"}, MailSystemState::NotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        FakeTransport mail;
        mail.state = c.state;
        EXPECT_FALSE(SendReminderToAll(c.addresses, kNovember, sink, mail));
        EXPECT_TRUE(mail.delivered.empty());
        EXPECT_EQ(sink.shown.size(), 1u); // why, said once
    }
}

} // namespace
} // namespace zadw
