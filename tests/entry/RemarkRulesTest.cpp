// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemarkRules.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace zadw {
namespace {

using test::RecordingSink;

constexpr int kMonth = 10;

RemarkSlot slotText(const std::string& text) {
    RemarkSlot s{};
    std::memcpy(s.text, text.data(), text.size());
    return s;
}

// Two publishers; the first links its month to slot 1 ("10") when linked is set.
struct Group {
    RecordingSink sink;
    GroupStore store{sink};
    explicit Group(bool linked, const std::vector<RemarkSlot>& remarks = {slotText("10")}) {
        std::vector<GroupRecord> publishers(2);
        if (linked) {
            publishers[0].remarkSlot[kMonth] = 1;
        }
        store.assign(GroupRecord{}, publishers, remarks);
    }
    int link() const { return store.record(1).remarkSlot[kMonth]; }
    std::string text(int slot) const { return store.remarkSlot(slot).text; }
};

TEST(RemarkRules, LookingUpReservesNoSlot) {
    Group linked(true);
    const MonthRemark have = LookUpRemark(linked.store, 1, kMonth);
    EXPECT_EQ(have.slot, 1);
    EXPECT_EQ(have.text, "10");

    Group unlinked(false);
    for (int m = 0; m < 12; ++m) {
        EXPECT_EQ(LookUpRemark(unlinked.store, 1, m).slot, 0);
    }
    EXPECT_EQ(unlinked.store.remarkCount, 1);
}

TEST(RemarkRules, StoringATypedRemark) {
    const struct {
        const char* name;
        bool linked; // the month links slot 1 ("10") before
        std::string typed;
        int slot;        // the month's link afterwards
        int remarkCount; // slots counted afterwards
        bool changed;
        bool needsWrite;
    } cases[] = {
        {"new text reserves the next slot", false, "Sjuk", 2, 2, true, true},
        {"new text reuses the month's slot", true, "Flyttar", 1, 1, true, true},
        {"the same text is written again", true, "10", 1, 1, false, true},
        {"emptied drops the link", true, "", 0, 1, true, true},
        {"blanks only drop the link", true, "   ", 0, 1, true, true},
        {"a leading blank drops the link", true, " 25", 0, 1, true, true},
        {"empty on an unlinked month does nothing", false, "", 0, 1, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Group g(c.linked);
        MonthRemark remark = LookUpRemark(g.store, 1, kMonth);
        const RemarkStored result = StoreRemark(g.store, 1, kMonth, remark, c.typed);
        EXPECT_EQ(g.link(), c.slot);
        EXPECT_EQ(int(g.store.remarkCount), c.remarkCount);
        EXPECT_EQ(result.changed, c.changed);
        EXPECT_EQ(result.needsWrite, c.needsWrite);
        EXPECT_EQ(remark.text, c.typed);
        if (c.slot != 0) {
            EXPECT_EQ(remark.slot, c.slot);
            EXPECT_EQ(g.text(c.slot), c.typed);
        }
        // The slot a link was dropped from keeps its text for whoever else links it.
        if (c.linked && c.slot == 0) {
            EXPECT_EQ(g.text(1), "10");
        }
        EXPECT_TRUE(g.sink.shown.empty());
    }
}

TEST(RemarkRules, WithoutAFreeSlotTheMonthKeepsWhatItHad) {
    Group g(false, std::vector<RemarkSlot>(kMaxRemarkSlots, slotText("full")));
    MonthRemark remark = LookUpRemark(g.store, 1, kMonth);
    const RemarkStored result = StoreRemark(g.store, 1, kMonth, remark, "Ny");
    EXPECT_EQ(g.sink.shown.size(), 1u); // the store says the table is full
    EXPECT_EQ(g.link(), 0);
    EXPECT_EQ(remark.slot, 0);
    EXPECT_EQ(remark.text, "");
    EXPECT_FALSE(result.changed);
    EXPECT_FALSE(result.needsWrite);
}

TEST(RemarkRules, TextTheFileCannotHoldIsNotStored) {
    Group g(true);
    MonthRemark remark = LookUpRemark(g.store, 1, kMonth);
    const RemarkStored result = StoreRemark(g.store, 1, kMonth, remark, "Ωmega");
    EXPECT_EQ(g.link(), 1);
    EXPECT_EQ(remark.text, "10");
    EXPECT_FALSE(result.changed);
    EXPECT_FALSE(result.needsWrite);
    EXPECT_EQ(g.text(1), "10");
}

} // namespace
} // namespace zadw
