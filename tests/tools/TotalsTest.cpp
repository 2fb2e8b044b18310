// SPDX-License-Identifier: GPL-3.0-or-later
// The totals of the bundled sample account for every publisher in every month.
#include "GroupJson.h"
#include "GroupTotals.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace zadw {
namespace {

TEST(SampleTotals, ReportedMissingAndRemarkOnlyAddUpToThePublishers) {
    GroupContent c;
    JsonFault fault;
    ASSERT_TRUE(parseGroupJson(test::readFile(ZADW_SAMPLE_JSON), c, fault)) << fault.field;
    test::RecordingSink sink;
    GroupStore store(sink);
    store.assign(c.header, c.publishers, c.remarks);
    for (int m = 0; m < 12; ++m) {
        for (const bool newForm : {true, false}) {
            SCOPED_TRACE(std::to_string(m) + (newForm ? " new" : " old"));
            const GroupTotals t = ComputeGroupTotals(store, m, newForm);
            int reported = 0;
            for (const CategoryTotals& category : t.categories) {
                reported += category.reports;
            }
            EXPECT_EQ(reported + t.missing + t.remarkOnly, t.publishers);
        }
    }
    // November: Jönsson's month holds only a remark.
    const GroupTotals november = ComputeGroupTotals(store, 10, true);
    EXPECT_EQ(november.remarkOnly, 1);
    EXPECT_EQ(november.missing, 4);
}

} // namespace
} // namespace zadw
