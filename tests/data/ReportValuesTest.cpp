// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportValues.h"

#include "Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <set>
#include <string>

namespace zadw {
namespace {

const char* formName(bool newForm) {
    return newForm ? "new form" : "old form";
}

std::string kindName(const ReportValue& v) {
    return std::string(formName(IsNewForm(v.kind))) + " " + (v.jsonKey ? v.jsonKey : "?");
}

// Every kind has its row, and every row says all a reader of the table needs.
TEST(ReportValues, EveryKindOfEachFormHasEveryField) {
    EXPECT_EQ(std::size(kOldFormTable), static_cast<std::size_t>(OldFormValue::QuarterHours) + 1);
    EXPECT_EQ(std::size(kNewFormTable), static_cast<std::size_t>(NewFormValue::BibleStudies) + 1);
    for (const bool newForm : {false, true}) {
        const auto values = FormValues(newForm);
        int hoursRows = 0;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const ReportValue& v = values[i];
            SCOPED_TRACE(kindName(v));
            EXPECT_EQ(IsNewForm(v.kind), newForm);
            EXPECT_EQ(&Describe(v.kind), &v) << "rows are in kind order";
            ASSERT_NE(v.jsonKey, nullptr);
            EXPECT_STRNE(v.jsonKey, "");
            EXPECT_NE(v.bits[0].width, 0);
            for (const BitRun& b : v.bits) {
                if (b.width != 0) {
                    EXPECT_NE(b.bytes, nullptr);
                    EXPECT_LE(b.shift + b.width, 8);
                }
            }
            // The quarter byte is shown and typed with the hours; everything else has a heading.
            EXPECT_EQ(v.heading.has_value(), v.role != ValueRole::Quarter);
            if (v.heading) {
                EXPECT_NE(LoadString(*v.heading), "");
            }
            // A value is listed exactly when it is entered, and then it has a label.
            EXPECT_EQ(v.listed, v.entry != EntryField::None);
            if (v.entry != EntryField::None) {
                ASSERT_TRUE(v.label.has_value());
                EXPECT_NE(LoadString(*v.label), "");
                EXPECT_GT(v.entryMaximum, 0u);
                EXPECT_LE(v.entryMaximum, BitsMaximum(v)) << "accepted values must fit the bits";
                EXPECT_EQ(ValueOfField(v.entry, newForm), &v);
            } else {
                EXPECT_FALSE(v.label.has_value());
            }
            hoursRows += v.isHours() ? 1 : 0;
            // A month held in the old form must be readable in every new-form value's terms.
            if (newForm) {
                for (const OldFormValue old : v.inOldMonth) {
                    EXPECT_EQ(Describe(old).role, v.role);
                }
            } else {
                EXPECT_TRUE(v.inOldMonth.empty());
            }
        }
        EXPECT_EQ(hoursRows, 1);
        EXPECT_EQ(HoursValue(newForm).role, ValueRole::Hours);
    }
}

TEST(ReportValues, NoTwoKindsShareBitsKeysOrFields) {
    for (const bool newForm : {false, true}) {
        SCOPED_TRACE(formName(newForm));
        const GroupRecord probe{};
        const auto offsetOf = [&probe](const BitRun& b) {
            return (probe.*b.bytes) - probe.bytes();
        };
        std::map<std::ptrdiff_t, unsigned> used; // bits used, by the byte array's offset
        std::set<std::string> keys;
        std::set<EntryField> fields;
        for (const ReportValue& v : FormValues(newForm)) {
            SCOPED_TRACE(kindName(v));
            for (const BitRun& b : v.bits) {
                if (b.width == 0) {
                    continue;
                }
                const unsigned mask = ((1u << b.width) - 1) << b.shift;
                EXPECT_EQ(used[offsetOf(b)] & mask, 0u) << "bits shared";
                used[offsetOf(b)] |= mask;
            }
            EXPECT_TRUE(keys.insert(v.jsonKey).second) << "JSON key shared";
            if (v.entry != EntryField::None) {
                EXPECT_TRUE(fields.insert(v.entry).second) << "entry field shared";
            }
        }
        // The category stays the month status' own.
        EXPECT_EQ(used[offsetof(GroupRecord, monthStatus)] & 0x03, 0u);
    }
    // Every field of the dialog belongs to some form, and OK checks every count field.
    for (const EntryField f : kEntryFields) {
        EXPECT_TRUE(ValueOfField(f, false) != nullptr || ValueOfField(f, true) != nullptr);
        const bool checked = std::find(kEntryCheckOrder.begin(), kEntryCheckOrder.end(), f) !=
                             kEntryCheckOrder.end();
        EXPECT_EQ(checked, f != HoursValue(false).entry && f != HoursValue(true).entry);
    }
}

// Each count alone at its widest reads back through the table and leaves the others at 0.
TEST(ReportValues, EachCountPacksIntoItsOwnBits) {
    for (const bool newForm : {false, true}) {
        for (const ReportValue& only : FormValues(newForm)) {
            if (only.role != ValueRole::Count) {
                continue;
            }
            SCOPED_TRACE(kindName(only));
            GroupRecord r{};
            r.monthStatus[4] = 3;
            PackCounts(r, 4, newForm, [&only](const ReportValue& v) {
                return &v == &only ? 0xFFFFu : 0u; // cut to the value's width
            });
            for (const ReportValue& v : FormValues(newForm)) {
                EXPECT_EQ(ReadBits(r, 4, v), &v == &only ? BitsMaximum(v) : 0u) << kindName(v);
            }
            EXPECT_EQ(r.category(4), 3);
        }
    }
}

} // namespace
} // namespace zadw
