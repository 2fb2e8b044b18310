// SPDX-License-Identifier: GPL-3.0-or-later
// The record operations that the windows, the summary and the mail share.
#include "GroupStore.h"
#include "Strings.h"

#include "TestSupport.h"

#include <cstring>
#include <gtest/gtest.h>

namespace zadw {
namespace {

using test::RecordingSink;

class Store : public ::testing::Test {
protected:
    RecordingSink sink;
    GroupStore store{sink};

    // A group of `count` empty publishers, report month 4 (May).
    void makeGroup(int count) {
        GroupRecord head{};
        head.reportMonth = 4;
        std::vector<GroupRecord> pubs(static_cast<std::size_t>(count));
        store.assign(head, pubs, {});
    }
    void set(int pub, TextField f, const std::string& text) {
        ASSERT_TRUE(setTextField(store.record(pub), f, text, nullptr)) << text;
    }
};

TEST_F(Store, DisplayNamesInBothFormsAndTheCzOrder) {
    makeGroup(2);
    set(1, TextField::FirstName, "Anna");
    set(1, TextField::LastName, "Berg");
    EXPECT_EQ(store.displayName(1, false), "Anna Berg");
    EXPECT_EQ(store.displayName(1, true), "Berg, Anna");
    store.language = LayoutLanguage::Czech;
    EXPECT_EQ(store.displayName(1, false), "Berg, Anna");
    store.language = LayoutLanguage::French;
    EXPECT_EQ(store.displayName(1, false), "Anna Berg");
}

TEST_F(Store, UsableNumbersArePackedToTheFront) {
    makeGroup(2);
    set(1, TextField::Phone1, "12345");      // 5: not usable
    set(1, TextField::Phone2, "0701234567"); // 10
    set(1, TextField::Phone3, "08-123 45");  // 9
    const Contacts c = store.collectPhones(1);
    EXPECT_EQ(c.count, 2);
    EXPECT_EQ(c.numbers[0], "0701234567");
    EXPECT_EQ(c.numbers[1], "08-123 45");
    EXPECT_EQ(store.phoneForPrint(1, false), "0701234567");
    EXPECT_EQ(store.phoneForPrint(1, true), "08-123 45");
    EXPECT_EQ(store.collectPhones(2).count, 0);
    EXPECT_EQ(store.phoneForPrint(2, false), "");
}

TEST_F(Store, DamagedTextNeverRunsIntoTheNextField) {
    makeGroup(2);
    GroupRecord& r = store.record(1);
    std::memset(r.phone2, '7', 15);
    std::memset(r.phone3, '8', 15); // and no terminator anywhere up to the late flags
    std::memset(r.firstName, 'A', 21);
    EXPECT_EQ(textField(r, TextField::Phone2), std::string(15, '7'));
    EXPECT_EQ(textField(r, TextField::Phone3), std::string(15, '8'));
    EXPECT_EQ(textField(r, TextField::FirstName), std::string(20, 'A'));
}

TEST_F(Store, ReminderAddressFollowsTheAddressRuleAndTheMissingReport) {
    struct Case {
        const char* email;
        bool usable;
    };
    const Case cases[] = {
        {"anna@example.se", true}, {"  anna@example.se  ", true},
        {"@example.se", false},    {"anna.example@se", false},
        {"anna@examplese", false}, {"", false},
        {"a@b.c", true},
    };
    makeGroup(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.email);
        set(1, TextField::Email, c.email);
        EXPECT_EQ(store.collectPhones(1).reminderAddress.empty(), !c.usable);
    }
    set(1, TextField::Email, "  anna@example.se ");
    EXPECT_EQ(store.collectPhones(1).reminderAddress, "anna@example.se");
    store.record(1).hours[4] = 3; // reported: no reminder
    EXPECT_EQ(store.collectPhones(1).reminderAddress, "");
}

TEST_F(Store, EveryMonthIsReportedMissingOrRemarkOnly) {
    struct Case {
        const char* what;
        std::uint8_t hours, quarterBits, remarkSlot;
        MonthState state;
    };
    const Case cases[] = {
        {"nothing", 0, 0, 0, MonthState::Missing},
        {"hours", 3, 0, 0, MonthState::Reported},
        {"half an hour only", 0, 2, 0, MonthState::Reported},
        {"only bits 0-1 of the quarter byte count", 0, 4, 0, MonthState::Missing},
        {"a remark only", 0, 0, 1, MonthState::RemarkOnly},
        {"a remark beside hours", 5, 0, 1, MonthState::Reported},
        {"a slot past the remarks still stands for a remark", 0, 0, 9, MonthState::RemarkOnly},
    };
    const int n = static_cast<int>(std::size(cases));
    makeGroup(n);
    store.remarkCount = 1;
    for (int p = 1; p <= n; ++p) {
        const Case& c = cases[p - 1];
        store.record(p).hours[4] = c.hours;
        store.record(p).quarterHours[4] = c.quarterBits;
        store.record(p).remarkSlot[4] = c.remarkSlot;
    }
    for (int p = 1; p <= n; ++p) {
        const Case& c = cases[p - 1];
        SCOPED_TRACE(c.what);
        EXPECT_EQ(store.monthState(p, 4), c.state);
        EXPECT_EQ(store.isReported(p, 4), c.state == MonthState::Reported);
        EXPECT_EQ(store.isMissing(p, 4), c.state == MonthState::Missing);
    }
    const MonthCounts counts = store.countMonth(4);
    EXPECT_EQ(counts.reported, 3);
    EXPECT_EQ(counts.missing, 2);
    EXPECT_EQ(counts.remarkOnly, 2);
    EXPECT_EQ(store.countMonth(5).missing, n);
}

TEST_F(Store, BothPackingsDecodeAtTheirFullWidths) {
    makeGroup(2);
    GroupRecord& r = store.record(1);
    r.monthStatus[3] = 2; // regular pioneer
    packOldForm(r, 3, {255, 4095, 63, 4095, 1023, 63});
    r.hours[3] = 70;
    r.quarterHours[3] = 3;
    const int expectedOld[] = {255, 4095, 70, 63, 4095, 1023, 63, 3};
    for (int kind = 0; kind < 8; ++kind) {
        EXPECT_EQ(store.getValue(1, 3, static_cast<OldFormValue>(kind)), expectedOld[kind])
            << "kind " << kind;
    }
    EXPECT_EQ(r.category(3), 2);

    packNewForm(r, 5, {4095, 2049, 1023, 63});
    std::uint16_t months = r.newFormMonthsValue();
    GroupStore::setNewFormMonth(months, 5, true);
    r.setNewFormMonthsValue(months);
    r.hours[5] = 9;
    const int expectedNew[] = {4095, 2049, 9, 1023, 63, 0, 0, 0};
    for (int kind = 0; kind < 8; ++kind) {
        EXPECT_EQ(store.getNewFormValue(1, 5, static_cast<NewFormValue>(kind)), expectedNew[kind])
            << "kind " << kind;
    }
}

TEST_F(Store, OldFormMonthsSeenInNewFormTerms) {
    makeGroup(2);
    GroupRecord& r = store.record(1);
    packOldForm(r, 1, {3, 2, 0, 10, 4, 1});
    r.hours[1] = 12;
    EXPECT_EQ(store.getNewFormValue(1, 1, NewFormValue::Publications), 15); // 3 + 2 + 10
    EXPECT_EQ(store.getNewFormValue(1, 1, NewFormValue::Videos), 0);
    EXPECT_EQ(store.getNewFormValue(1, 1, NewFormValue::Hours), 12);
    EXPECT_EQ(store.getNewFormValue(1, 1, NewFormValue::ReturnVisits), 4);
    EXPECT_EQ(store.getNewFormValue(1, 1, NewFormValue::BibleStudies), 1);
}

TEST_F(Store, NewFormMonthBits) {
    std::uint16_t set = 0;
    GroupStore::setNewFormMonth(set, 0, true);
    GroupStore::setNewFormMonth(set, 11, true);
    EXPECT_EQ(set, 0x0801);
    EXPECT_TRUE(GroupStore::isNewFormMonth(set, 11));
    GroupStore::setNewFormMonth(set, 0, false);
    EXPECT_EQ(set, 0x0800);
    EXPECT_FALSE(GroupStore::isNewFormMonth(set, 0));
}

TEST_F(Store, RemarkReservationUpTo254) {
    makeGroup(2);
    std::string out;
    for (int i = 1; i <= 254; ++i) {
        ASSERT_EQ(store.getRemark(1, 0, out, false), i);
    }
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(store.getRemark(1, 0, out, false), 0); // the month's old link, none
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0], "Slut på utrymme för anteckningar");
    EXPECT_EQ(store.remarkCount, 254);
    // Every slot handed out can hold its remark, and an existing slot stays writable when full.
    EXPECT_TRUE(store.setRemark(2, 3, 254, "sista"));
    EXPECT_TRUE(store.setRemark(2, 3, 254, "ändrad"));
    EXPECT_EQ(store.getRemark(2, 3, out, true), 254);
    EXPECT_EQ(out, "ändrad");
    EXPECT_FALSE(store.setRemark(2, 3, 255, "utanför"));
}

TEST_F(Store, RemarksAreStoredAsTyped) {
    makeGroup(2);
    std::string out;
    const int k = store.getRemark(1, 4, out, false);
    EXPECT_EQ(store.record(1).remarkSlot[4], 0); // reserving does not link
    ASSERT_TRUE(store.setRemark(1, 4, k, "100% sjuk %1 %s"));
    EXPECT_EQ(store.getRemark(1, 4, out, true), k);
    EXPECT_EQ(out, "100% sjuk %1 %s");
    EXPECT_EQ(store.remarkOf(1, 4), out);
    EXPECT_EQ(store.monthState(1, 4), MonthState::RemarkOnly);

    // A leading blank or an empty text removes the link.
    EXPECT_FALSE(store.setRemark(1, 4, k, " borta"));
    EXPECT_EQ(store.record(1).remarkSlot[4], 0);
    EXPECT_EQ(store.getRemark(1, 4, out, true), 0);
    EXPECT_EQ(store.remarkOf(1, 4), "");

    // 36 characters at most; text windows-1252 cannot carry is refused.
    ASSERT_TRUE(store.setRemark(1, 4, k, std::string(40, 'x')));
    store.getRemark(1, 4, out, true);
    EXPECT_EQ(out, std::string(36, 'x'));
    EXPECT_FALSE(store.setRemark(1, 4, k, "Łódź"));
    store.getRemark(1, 4, out, true);
    EXPECT_EQ(out, std::string(36, 'x'));
}

TEST_F(Store, RemarkWithNoSlotsIsNotStored) {
    makeGroup(2);
    EXPECT_FALSE(store.setRemark(1, 0, 1, "text"));
    EXPECT_EQ(store.record(1).remarkSlot[0], 0);
}

TEST_F(Store, LateFlagsCountOnlyWhenExactlyOne) {
    makeGroup(2);
    store.setLateFlag(1, 5);
    store.setLateFlag(1, 6);
    EXPECT_EQ(store.record(1).bytes()[157], 1);
    EXPECT_EQ(store.record(1).bytes()[161], 1);
    EXPECT_TRUE(store.hasLateFlag(1, 5));
    store.record(1).lateFlag(7) = 2;
    EXPECT_FALSE(store.hasLateFlag(1, 7));
}

TEST_F(Store, TextFieldsRefuseWhatTheyCannotHold) {
    GroupRecord r{};
    std::string why;
    EXPECT_FALSE(setTextField(r, TextField::FirstName, std::string(21, 'a'), &why));
    EXPECT_NE(why.find("20"), std::string::npos);
    EXPECT_TRUE(setTextField(r, TextField::FirstName, "Åsa-Britt Öhlén", nullptr));
    EXPECT_FALSE(setTextField(r, TextField::LastName, "Дмитрий", &why));
    EXPECT_TRUE(setTextField(r, TextField::Phone2, std::string(15, '1'), nullptr));
    EXPECT_FALSE(setTextField(r, TextField::Phone1, std::string(15, '1'), nullptr));
}

} // namespace
} // namespace zadw
