// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreviewPaging.h"

#include <gtest/gtest.h>

namespace zadw {
namespace {

enum class Press { Next, Prev };

struct Step {
    Press press;
    int first, end;
    bool prevShown;
    const char* prevCaption;
    bool nextShown;
};

void expectPage(const PreviewPaging& paging, int first, int end, bool prevShown,
                const std::string& prevCaption, bool nextShown) {
    EXPECT_EQ(paging.firstShown, first);
    EXPECT_EQ(paging.endShown, end);
    const PageButtons b = UpdatePageButtons(paging);
    EXPECT_EQ(b.prevShown, prevShown);
    if (prevShown) {
        EXPECT_EQ(b.prevCaption, prevCaption);
    }
    EXPECT_EQ(b.nextShown, nextShown);
}

TEST(PreviewPaging, WalksThroughTheGroup) {
    struct Case {
        int total;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {0, {{Press::Next, 0, 0, false, "", false}}},
        {18, {{Press::Next, 0, 18, false, "", false}, {Press::Prev, 0, 18, false, "", false}}},
        {19,
         {{Press::Next, 1, 19, true, "< < <", false},
          {Press::Prev, 0, 18, true, "> > >", false},
          // On the first page the one button moves forward.
          {Press::Prev, 1, 19, true, "< < <", false},
          {Press::Next, 1, 19, true, "< < <", false}}},
        {40,
         {{Press::Next, 18, 36, true, "< < <", true},
          {Press::Next, 22, 40, true, "< < <", false},
          {Press::Next, 22, 40, true, "< < <", false},
          {Press::Prev, 4, 22, true, "< < <", true},
          {Press::Prev, 0, 18, true, "> > >", false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        PreviewPaging paging = StartPaging(c.total);
        const bool paged = c.total > 18;
        expectPage(paging, 0, std::min(c.total, 18), paged, "> > >", false);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(i);
            const Step& s = c.steps[i];
            if (s.press == Press::Next) {
                NextPage(paging);
            } else {
                PrevPage(paging);
            }
            expectPage(paging, s.first, s.end, s.prevShown, s.prevCaption, s.nextShown);
        }
    }
}

} // namespace
} // namespace zadw
