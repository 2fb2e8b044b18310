// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreviewPaging.h"

#include <gtest/gtest.h>

#include <vector>

namespace zadw {
namespace {

enum class Press { Next, Prev };

// After a press: the publishers shown (first index, one past the last; the totals page shows
// none), which buttons can act, and the page number.
struct Step {
    Press press;
    int first, end;
    bool totals;
    bool prevEnabled, nextEnabled;
    int page;
};

TEST(SummaryPaging, EachButtonKeepsItsMeaningThroughToTheTotals) {
    struct Case {
        int total;
        int pages;
        std::vector<Step> steps;
    };
    using enum Press;
    const Case cases[] = {
        {0, 2, {{Prev, 0, 0, false, false, true, 1}, {Next, 0, 0, true, true, false, 2}}},
        {18,
         2,
         {{Prev, 0, 18, false, false, true, 1}, // nothing before the first page
          {Next, 0, 18, true, true, false, 2},
          {Next, 0, 18, true, true, false, 2}, // nothing after the totals
          {Prev, 0, 18, false, false, true, 1}}},
        {19,
         3,
         {{Next, 1, 19, false, true, true, 2},
          {Next, 1, 19, true, true, false, 3},
          {Prev, 1, 19, false, true, true, 2},
          {Prev, 0, 18, false, false, true, 1}}},
        {40,
         4,
         {{Next, 18, 36, false, true, true, 2},
          {Next, 22, 40, false, true, true, 3}, // the last 18, overlapping
          {Next, 22, 40, true, true, false, 4},
          {Prev, 22, 40, false, true, true, 3}, // back to the page shown before
          {Prev, 4, 22, false, true, true, 2},
          {Prev, 0, 18, false, false, true, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        SummaryPaging paging = StartSummaryPaging(c.total);
        EXPECT_EQ(SummaryPageCount(paging), c.pages);
        EXPECT_EQ(SummaryPageNumber(paging), 1);
        const PageButtons start = SummaryPageButtons(paging);
        EXPECT_FALSE(start.prevEnabled);
        EXPECT_TRUE(start.nextEnabled);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(i);
            const Step& s = c.steps[i];
            s.press == Next ? NextSummaryPage(paging) : PrevSummaryPage(paging);
            EXPECT_EQ(paging.publishers.firstShown, s.first);
            EXPECT_EQ(paging.publishers.endShown, s.end);
            EXPECT_EQ(paging.totalsShown, s.totals);
            const PageButtons b = SummaryPageButtons(paging);
            EXPECT_EQ(b.prevEnabled, s.prevEnabled);
            EXPECT_EQ(b.nextEnabled, s.nextEnabled);
            EXPECT_EQ(SummaryPageNumber(paging), s.page);
            EXPECT_EQ(SummaryPageCount(paging), c.pages);
        }
    }
}

} // namespace
} // namespace zadw
