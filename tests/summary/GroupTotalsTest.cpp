// SPDX-License-Identifier: GPL-3.0-or-later
// The group's totals as the secretary adds them up, and the block that shows them.
#include "GroupTotals.h"
#include "SummaryTestGroup.h"
#include "TotalsPage.h"

#include <gtest/gtest.h>

namespace zadw {
namespace {

using test::SummaryGroup;

constexpr int kMonth = 4;    // May, in the new form
constexpr int kOldMonth = 1; // February, in the old form

void category(SummaryGroup& g, int p, int m, int c) {
    GroupRecord& r = g.store.record(p);
    r.monthStatus[m] = static_cast<std::uint8_t>((r.monthStatus[m] & ~0x03) | c);
}

// Nine publishers of every kind; the comment gives each one's category in May.
void makeGroup(SummaryGroup& g) {
    g.make(9, true);
    g.newForm(1, kMonth, {3, 1, 2, 1}, 10, 1); // 0: 10¼
    g.newForm(2, kMonth, {2, 0, 0, 0}, 0, 2);  // 0: ½ alone is a report
    g.newForm(3, kMonth, {0, 0, 0, 0}, 5, 3);  // 0: 5¾
    g.newForm(4, kMonth, {4, 0, 0, 0}, 50, 0); // 1
    category(g, 4, kMonth, 1);
    g.newForm(5, kMonth, {0, 0, 20, 3}, 60, 2); // 2: 60½ and 10 credit hours
    category(g, 5, kMonth, 2);
    g.store.record(5).creditHours[kMonth] = 10;
    category(g, 6, kMonth, 2); // 2: a remark, no hours: neither reported nor missing
    g.remark(6, kMonth, "sjuk");
    g.newForm(7, kMonth, {10, 0, 0, 0}, 100, 0); // 3: listed, not counted
    category(g, 7, kMonth, 3);
    g.store.record(7).creditHours[kMonth] = 7; // only regular pioneers have credit
    g.newForm(9, kMonth, {0, 0, 0, 0}, 8, 0);  // 1, with a credit byte that does not count
    category(g, 9, kMonth, 1);
    g.store.record(9).creditHours[kMonth] = 9;
    // Publisher 8 has not reported.

    g.oldForm(1, kOldMonth, {2, 1, 3, 4, 5, 6}, 1, 1);
    g.oldForm(2, kOldMonth, {1, 0, 0, 0, 0, 0}, 2, 0);
}

struct Expected {
    int publishers, reports, quarters, credit;
    std::vector<long> values;
};

void expectFigures(const CategoryTotals& t, const Expected& e) {
    EXPECT_EQ(t.publishers, e.publishers);
    EXPECT_EQ(t.reports, e.reports);
    EXPECT_EQ(t.quarters, e.quarters);
    EXPECT_EQ(t.creditHours, e.credit);
    EXPECT_EQ(t.values, e.values);
}

TEST(GroupTotals, AddsUpEveryCategoryOfTheNewForm) {
    SummaryGroup g;
    makeGroup(g);
    const GroupTotals t = ComputeGroupTotals(g.store, kMonth, true);
    EXPECT_EQ(t.month, kMonth);
    EXPECT_EQ(t.publishers, 9);
    EXPECT_EQ(t.missing, 1);    // publisher 8; the remark-only month is not missing
    EXPECT_EQ(t.remarkOnly, 1); // publisher 6
    // values: publications, videos, return visits, Bible studies
    const Expected categories[] = {
        {4, 3, 66, 0, {5, 1, 2, 1}},    // 10¼ + ½ + 5¾ = 16½
        {2, 2, 232, 0, {4, 0, 0, 0}},   // 58 hours; credit of an auxiliary pioneer ignored
        {2, 1, 242, 10, {0, 0, 20, 3}}, // the remark-only month is not a report
        {1, 1, 400, 0, {10, 0, 0, 0}},
    };
    for (int c = 0; c < kCategoryCount; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(t.categories[static_cast<std::size_t>(c)].category, c);
        expectFigures(t.categories[static_cast<std::size_t>(c)], categories[c]);
    }
    expectFigures(t.counted, {8, 6, 540, 10, {9, 1, 22, 4}}); // special pioneers left out
    const int reported = t.counted.reports + t.categories[kSpecialPioneer].reports;
    EXPECT_EQ(reported + t.missing + t.remarkOnly, t.publishers);
}

TEST(GroupTotals, QuarterHoursAddUpAcrossPublishers) {
    SummaryGroup g;
    g.make(3, true);
    g.newForm(1, kMonth, {}, 0, 1);
    g.newForm(2, kMonth, {}, 0, 2);
    g.newForm(3, kMonth, {}, 0, 3);
    const GroupTotals t = ComputeGroupTotals(g.store, kMonth, true);
    EXPECT_EQ(t.counted.quarters, 6);
    EXPECT_EQ(TotalHoursText(t.counted.quarters), "1½");
    EXPECT_EQ(t.counted.reports, 3);
    EXPECT_EQ(t.missing, 0);
}

TEST(GroupTotals, OldFormHasItsOwnValuesAndNewFormReadsOldMonthsAsTheListDoes) {
    SummaryGroup g;
    makeGroup(g);
    struct Case {
        bool newForm;
        std::vector<std::string> keys;
        std::vector<long> values;
    };
    const Case cases[] = {
        {false,
         {"books", "brochures", "subscriptions", "magazines", "returnVisits", "bibleStudies"},
         {3, 1, 3, 4, 5, 6}},
        // An old-form month in the new form: books, brochures and magazines are publications.
        {true, {"publications", "videos", "returnVisits", "bibleStudies"}, {8, 0, 5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.newForm);
        std::vector<std::string> keys;
        for (const TotalsValue& v : TotalsValues(c.newForm)) {
            keys.emplace_back(v.jsonKey);
        }
        EXPECT_EQ(keys, c.keys);
        const GroupTotals t = ComputeGroupTotals(g.store, kOldMonth, c.newForm);
        EXPECT_EQ(t.counted.values, c.values);
        EXPECT_EQ(t.counted.quarters, 4 * 3 + 1);
        EXPECT_EQ(t.counted.reports, 2);
        EXPECT_EQ(t.missing, 7);
    }
}

TEST(GroupTotals, BlockCellsFollowTheListsColumns) {
    SummaryGroup g;
    makeGroup(g);
    const TotalsBlock block = MakeTotalsBlock(ComputeGroupTotals(g.store, kMonth, true));
    EXPECT_EQ(block.heading, "Summa");
    struct Row {
        const char* label;
        const char* reports;
        std::vector<std::string> values; // publications, videos, hours, return visits, studies
        const char* remarks;
    };
    const Row rows[] = {
        {"Förkunnare", "3 / 4", {"5", "1", "16½", "2", "1"}, ""},
        {"Hjälppionjärer", "2 / 2", {"4", "", "58", "", ""}, ""},
        {"Reguljära pionjärer", "1 / 2", {"", "", "60½", "20", "3"}, "( + 10 Timmar )"},
        {"Specialpionjärer", "1 / 1", {"10", "", "100", "", ""}, "ej inräknade"},
        {"Summa inräknade", "6 / 8", {"9", "1", "135", "22", "4"}, "( + 10 Timmar )"},
    };
    ASSERT_EQ(block.rows.size(), std::size(rows));
    for (std::size_t i = 0; i < block.rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(block.rows[i].label, rows[i].label);
        EXPECT_EQ(block.rows[i].reports, rows[i].reports);
        EXPECT_EQ(block.rows[i].values, rows[i].values);
        EXPECT_EQ(block.rows[i].remarks, rows[i].remarks);
    }
    EXPECT_EQ(block.statusLines,
              (std::vector<std::string>{"Utebliven rapport för maj = 1",
                                        "Endast anmärkning för maj = 1", "Summa förkunnare = 9"}));
    // No remark-only month: no line for it.
    g.store.record(6).remarkSlot[kMonth] = 0;
    EXPECT_EQ(MakeTotalsBlock(ComputeGroupTotals(g.store, kMonth, true)).statusLines,
              (std::vector<std::string>{"Utebliven rapport för maj = 2", "Summa förkunnare = 9"}));
}

TEST(GroupTotals, PrintedBlockIsRuledLikeTheSheetFromItsTop) {
    SummaryGroup g;
    makeGroup(g);
    const TotalsBlock block = MakeTotalsBlock(ComputeGroupTotals(g.store, kMonth, true));
    PageMetrics pm = GetPageMetrics({600, 600, 100});
    pm.left = 300;
    pm.phoneX = 1500;
    const PrintPositions pos = ComputePrintPositions(pm, true);
    const int top = 4000;
    const PrintedTotals printed = LayOutPrintedTotals(block, true, pm, pos, top);

    // A heading row and five rows in the frame, then three status lines: rows of 150 units.
    EXPECT_EQ(printed.height, 9 * 150);
    const auto lines = test::opsOfKind(printed.ops, OpKind::Line);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].x, pos.gridLeft); // the frame's left side, top to bottom
    EXPECT_EQ(lines[0].y, top);
    EXPECT_EQ(lines[0].y2, top + 6 * 150);
    EXPECT_EQ(lines[0].penWidth, 2);

    // Texts stand as far below their line as the publishers' rows do (150/8 + 150/6 = 43).
    const DrawOp* counted = test::findText(printed.ops, "Summa inräknade");
    ASSERT_NE(counted, nullptr);
    EXPECT_EQ(counted->x, pm.left);
    EXPECT_EQ(counted->y, top + 5 * 150 + 43);
    EXPECT_EQ(counted->font.weight, 700);
    const DrawOp* hours = test::findText(printed.ops, "135");
    ASSERT_NE(hours, nullptr);
    EXPECT_EQ(hours->align, Align::Right);
    EXPECT_EQ(hours->x, pos.cellLeft(2) + 240);
    const DrawOp* missing = test::findText(printed.ops, "Utebliven rapport för maj = 1");
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->y, top + 6 * 150 + 43);
}

TEST(GroupTotals, ScreenPageShowsTheBlockUnderTheListsHeadings) {
    SummaryGroup g;
    makeGroup(g);
    const TotalsBlock block = MakeTotalsBlock(ComputeGroupTotals(g.store, kMonth, true));
    const auto ops = DrawScreenTotalsPage(block, true, {760, 380, 1, 1}, LayoutLanguage::Swedish);
    const auto texts = test::textsOf(ops);
    for (const char* t : {"Summa", "Rapporterat", "Publ.", "Timmar", "Förkunnare", "16½",
                          "Specialpionjärer", "1 / 1  ej inräknade", "6 / 8  ( + 10 Timmar )",
                          "Endast anmärkning för maj = 1", "Summa förkunnare = 9"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), t), texts.end()) << t;
    }
}

} // namespace
} // namespace zadw
