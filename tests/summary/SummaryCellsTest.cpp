// SPDX-License-Identifier: GPL-3.0-or-later
#include "SummaryCells.h"
#include "SummaryTestGroup.h"

#include <gtest/gtest.h>

namespace zadw {
namespace {

using test::SummaryGroup;

std::vector<std::string> rowCells(GroupStore& store, int p, int m, bool newForm) {
    std::vector<std::string> cells;
    for (const SummaryColumn& c : SummaryColumns(newForm)) {
        cells.push_back(ValueCellText(store, p, m, newForm, c));
    }
    return cells;
}

TEST(SummaryCells, HoursCells) {
    struct Case {
        int hours;
        int quarter;
        const char* text;
    };
    const Case cases[] = {
        {0, 2, "½"}, {3, 1, "3¼"},     {0, 0, ""},  {12, 3, "12¾"}, {7, 0, "7"},
        {0, 1, "¼"}, {255, 2, "255½"}, {5, 4, "5"}, // only bits 0-1 hold the quarter code
        {0, 6, "½"},
    };
    SummaryGroup g;
    g.make(1, true);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.hours) + "/" + std::to_string(c.quarter));
        g.newForm(1, 4, {}, c.hours, c.quarter);
        EXPECT_EQ(rowCells(g.store, 1, 4, true)[2], c.text);
        g.oldForm(1, 4, {}, c.hours, c.quarter);
        EXPECT_EQ(rowCells(g.store, 1, 4, false)[2], c.text);
    }
    EXPECT_EQ(QuarterText(0), "");
    EXPECT_EQ(QuarterText(4), "");
    EXPECT_EQ(QuarterText(-1), "");
}

TEST(SummaryCells, ValuesInBothForms) {
    SummaryGroup g;
    g.make(2, true);
    g.newForm(1, 4, {12, 0, 5, 2}, 10, 0);
    EXPECT_EQ(rowCells(g.store, 1, 4, true), (std::vector<std::string>{"12", "", "10", "5", "2"}));

    // The old form leaves subscriptions out: 9 of them must not appear anywhere.
    g.oldForm(2, 4, {1, 2, 9, 4, 5, 6}, 3, 0);
    EXPECT_EQ(rowCells(g.store, 2, 4, false),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    g.oldForm(2, 4, {0, 0, 9, 0, 0, 0}, 0, 0);
    EXPECT_EQ(rowCells(g.store, 2, 4, false), std::vector<std::string>(6));

    std::vector<StringId> oldHeadings;
    for (const SummaryColumn& c : SummaryColumns(false)) {
        oldHeadings.push_back(*c.heading);
    }
    EXPECT_EQ(oldHeadings, (std::vector<StringId>{
                               StringId::OldFormBooks, StringId::OldFormBrochures,
                               StringId::OldFormHours, StringId::OldFormMagazines,
                               StringId::OldFormReturnVisits, StringId::OldFormBibleStudies}));
}

TEST(SummaryCells, RemarksText) {
    SummaryGroup g;
    g.make(3, true);
    g.auxiliaryPioneer(1, 4);
    g.auxiliaryPioneer(2, 4);
    g.remark(2, 4, "sjuk");
    g.remark(3, 4, "sjuk");
    g.store.record(3).monthStatus[4] = 2 | 0x0C; // regular pioneer, other bits set
    const int slotsBefore = g.store.remarkCount;

    EXPECT_EQ(RemarksText(g.store, 1, 4), "Hjp. ");
    EXPECT_EQ(RemarksText(g.store, 2, 4), "Hjp. sjuk");
    EXPECT_EQ(RemarksText(g.store, 3, 4), "sjuk");
    EXPECT_EQ(RemarksText(g.store, 1, 5), "");
    EXPECT_EQ(g.store.remarkCount, slotsBefore); // reading reserves nothing
}

TEST(SummaryCells, PrintedRemarkFitting) {
    using Size = PrintedRemark::Size;
    struct Case {
        std::string text;
        Size size;
        std::string first;
        std::string second;
    };
    const Case cases[] = {
        {"", Size::None, "", ""},
        {"x", Size::None, "", ""},
        {"Hjp. ", Size::Body, "Hjp. ", ""},
        {"Hjp. 12345", Size::Body, "Hjp. 12345", ""},
        {"Hjp. 123456", Size::Small, "Hjp. 123456", ""},
        {"Hjp. sjuk i mag", Size::TwoLines, "Hjp. sjuk", " i mag"},
        {"Hjp. 123456789", Size::Small, "Hjp. 123456789", ""},
        // 30 characters after "Hjp. ": cut at 22, then broken at the remark's first blank.
        {"Hjp. Sjukhuset hela veckan och mer.", Size::TwoLines, "Hjp. Sjukhuset", " hela ve..."},
        // No blank from index 5 to 14: broken at 14.
        {"Hjp. Långtidssjukskriven hela juni.", Size::TwoLines, "Hjp. Långtidss", "jukskriv..."},
        // Blanks before index 5 or after 14 do not count; one at index 5 does.
        {"a b cdefghijklm nop", Size::TwoLines, "a b cdefghijkl", "m nop"},
        {"abcde fghijklmnop", Size::TwoLines, "abcde", " fghijklmnop"},
        // Characters, not bytes: 11 letters of which 5 take two bytes.
        {"ååååå123456", Size::Small, "ååååå123456", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const PrintedRemark fit = FitPrintedRemark(c.text);
        EXPECT_EQ(fit.size, c.size);
        EXPECT_EQ(fit.first, c.first);
        EXPECT_EQ(fit.second, c.second);
    }
}

TEST(SummaryCells, CaptionTitleAndJobName) {
    EXPECT_EQ(SummaryCaption(0), "Insamling av rapporter för januari");
    EXPECT_EQ(SummaryCaption(2), "Insamling av rapporter för mars");
    EXPECT_EQ(SummaryTitle(2), "Insamling av rapporter - mars");
    EXPECT_EQ(PrintJobName(11), "Insamling av rapporter - december");
}

} // namespace
} // namespace zadw
