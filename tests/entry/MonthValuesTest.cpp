// SPDX-License-Identifier: GPL-3.0-or-later
#include "MonthValues.h"

#include "GroupStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace zadw {
namespace {

// A label ending in a point ("Bib.st.") ends the sentence: give it without that point.
std::string positive(const std::string& field) {
    return "Skriv ett heltal som är 0 eller större i fältet " + field + ".";
}
std::string range(unsigned maximum, const std::string& field) {
    return "Skriv ett heltal mellan 0 och " + std::to_string(maximum) + " i fältet " + field + ".";
}
const std::string kHoursRange =
    "Skriv timmar som 12, 12,25, 12,5 eller 12,75 (högst 255) i fältet Timmar.";

// All bytes different, so stray writes to other months show up.
GroupRecord busyRecord() {
    GroupRecord r;
    for (std::size_t i = 0; i < sizeof r; ++i) {
        r.bytes()[i] = static_cast<unsigned char>(i * 7 + 3);
    }
    return r;
}

TEST(CheckCountText, UnsignedNumberInRange) {
    const struct {
        std::string text;
        unsigned maximum;
        std::string message; // empty: accepted
    } cases[] = {
        {" 63 ", 63, ""},
        {"", 4095, positive("Åb")},
        {"1.5", 4095, positive("Åb")},
        {"1,5", 4095, positive("Åb")},
        {"-1", 4095, positive("Åb")},
        {"1 2", 4095, positive("Åb")},
        {"70", 63, range(63, "Åb")},
        {"4294967296", 4095, range(4095, "Åb")}, // 0 in 32 bits
        {std::string(30, '9'), 511, range(511, "Åb")},
    };
    for (const auto& c : cases) {
        const FieldCheck r = CheckCountText(c.text, c.maximum, "Åb");
        EXPECT_EQ(r.ok, c.message.empty()) << c.text;
        EXPECT_EQ(r.message, c.message) << c.text;
    }
    EXPECT_EQ(CheckCountText(" 63 ", 63, "Åb").value, 63u);
}

TEST(TakeOverFields, ChecksInFieldOrder) {
    TakeOver ok = TakeOverFields({"3", "2", "12.5", "10", "4", "1"}, false);
    ASSERT_TRUE(ok.ok) << ok.message;
    EXPECT_EQ(ok.values, (EntryValues{{3, 2, 12, 10, 4, 1}, 2}));
    ok = TakeOverFields({"4095", "2", "12", "x", "4", "1"}, true); // magazines hidden: ignored
    ASSERT_TRUE(ok.ok) << ok.message;
    EXPECT_EQ(ok.values, (EntryValues{{4095, 2, 12, 0, 4, 1}, 0}));
    // Hours taken straight from the field, before it was left, read as the field would show them.
    ok = TakeOverFields({"0", "0", "10,5", "", "0", "0"}, true);
    EXPECT_EQ(ok.values, (EntryValues{{0, 0, 10, 0, 0, 0}, 2}));
    ok = TakeOverFields({"0", "0", "12,0", "", "0", "0"}, true);
    EXPECT_EQ(ok.values, (EntryValues{{0, 0, 12, 0, 0, 0}, 0}));

    const struct {
        bool newForm;
        EntryTexts texts;
        EntryField failed;
        std::string message;
    } cases[] = {
        {false, {"x", "x", "1", "1", "1", "1"}, EntryField::BrochuresOrVideos, positive("Brosch")},
        {true, {"1", "2,0", "1", "", "1", "1"}, EntryField::BrochuresOrVideos, positive("Filmer")},
        {false,
         {"256", "1", "1", "x", "1", "1"},
         EntryField::BooksOrPublications,
         range(255, "Böcker")},
        {true,
         {"4096", "1", "1", "", "1", "1"},
         EntryField::BooksOrPublications,
         range(4095, "Publ")},
        {false, {"1", "1", "1", "4096", "1", "1"}, EntryField::Magazines, range(4095, "Lösnr")},
        {true, {"1", "1", "1", "", "512", "1"}, EntryField::ReturnVisits, range(511, "Åb")},
        {false, {"1", "1", "300", "1", "1", "70"}, EntryField::BibleStudies, range(63, "Bib.st")},
        {false, {"1", "1", "256", "1", "1", "1"}, EntryField::Hours, kHoursRange},
        {true,
         {"1", "1", std::string(30, '9') + ",5", "", "1", "1"},
         EntryField::Hours,
         kHoursRange},
    };
    for (const auto& c : cases) {
        const TakeOver r = TakeOverFields(c.texts, c.newForm);
        EXPECT_FALSE(r.ok) << c.message;
        EXPECT_EQ(r.failedField, c.failed) << c.message;
        EXPECT_EQ(r.message, c.message);
    }
}

TEST(MonthValues, OldFormMonthEnteredInTheNewForm) {
    GroupRecord rec{};
    rec.monthStatus[5] = 2; // regular pioneer
    packOldForm(rec, 5, OldFormValues{3, 2, 0, 10, 7, 4});
    rec.hours[5] = 40;
    rec.quarterHours[5] = 0xFE; // only bits 0-1 are the quarter
    rec.creditHours[5] = 9;
    EXPECT_EQ(LoadMonthValues(rec, 5, false).values, (EntryValues{{3, 2, 40, 10, 7, 4}, 2}));

    const LoadedMonth loaded = LoadMonthValues(rec, 5, true);
    EXPECT_FALSE(loaded.storedNew);
    EXPECT_EQ(loaded.values, (EntryValues{{15, 0, 40, 0, 7, 4}, 2}));
    EXPECT_EQ(loaded.creditHourCount, 9);
    rec.monthStatus[5] = 1;
    EXPECT_EQ(LoadMonthValues(rec, 5, true).creditHourCount, 0);

    ASSERT_TRUE(StoreMonth(rec, 5, true, loaded.values, loaded.creditHourCount));
    EXPECT_TRUE(GroupStore::isNewFormMonth(rec.newFormMonthsValue(), 5));
    EXPECT_EQ(unpackNewForm(rec, 5)[NewFormValue::Publications], 15);
    EXPECT_EQ(LoadMonthValues(rec, 5, true).values, loaded.values);
}

TEST(MonthValues, NewFormMonthStoredInTheOldFormClearsItsBit) {
    GroupRecord rec{};
    rec.setNewFormMonthsValue(0x0FFF);
    packNewForm(rec, 8, NewFormValues{200, 30, 500, 60});
    const LoadedMonth loaded = LoadMonthValues(rec, 8, false);
    EXPECT_TRUE(loaded.storedNew);
    EXPECT_EQ(loaded.values, (EntryValues{{200, 30, 0, 0, 500, 60}, 0}));

    ASSERT_TRUE(StoreMonth(rec, 8, false, loaded.values, 0));
    EXPECT_EQ(rec.newFormMonthsValue(), 0x0FFF & ~(1 << 8));
    EXPECT_EQ(LoadMonthValues(rec, 8, false).values, loaded.values);
}

TEST(MonthValues, PackingRoundTripsAndTouchesOnlyItsMonth) {
    const struct {
        bool newForm;
        EntryValues values;
    } cases[] = {
        {false, {{255, 4095, 255, 4095, 511, 63}, 3}},
        {false, {{1, 256, 70, 1024, 256, 32}, 1}},
        {true, {{4095, 4095, 255, 0, 511, 63}, 3}},
        {true, {{256, 257, 12, 0, 300, 1}, 2}},
    };
    for (const auto& c : cases) {
        for (const int m : {0, 11}) {
            GroupRecord rec = busyRecord();
            rec.monthStatus[m] = static_cast<std::uint8_t>((rec.monthStatus[m] & ~3) | 2);
            GroupRecord expected = rec;
            ASSERT_TRUE(StoreMonth(rec, m, c.newForm, c.values, 70));
            const LoadedMonth back = LoadMonthValues(rec, m, c.newForm);
            EXPECT_EQ(back.storedNew, c.newForm);
            EXPECT_EQ(back.values, c.values) << m;
            EXPECT_EQ(back.creditHourCount, 70);
            EXPECT_EQ(rec.category(m), 2);
            if (!c.newForm) {
                EXPECT_EQ(unpackOldForm(rec, m)[OldFormValue::Subscriptions], 0);
            }
            // Only month m's bytes and bit change; the new form keeps monthStatus as it was.
            if (c.newForm) {
                EXPECT_EQ(rec.monthStatus[m], expected.monthStatus[m]);
            }
            for (auto f :
                 {&GroupRecord::monthStatus, &GroupRecord::books, &GroupRecord::brochures,
                  &GroupRecord::hours, &GroupRecord::subscriptions, &GroupRecord::magazines,
                  &GroupRecord::returnVisits, &GroupRecord::bibleStudies,
                  &GroupRecord::quarterHours, &GroupRecord::creditHours}) {
                (expected.*f)[m] = (rec.*f)[m];
            }
            std::uint16_t set = expected.newFormMonthsValue();
            GroupStore::setNewFormMonth(set, m, c.newForm);
            expected.setNewFormMonthsValue(set);
            EXPECT_EQ(std::memcmp(&rec, &expected, sizeof rec), 0) << m;
        }
    }
}

TEST(MonthValues, RefusesWhatWouldReadBackDifferently) {
    const struct {
        bool newForm;
        EntryValues values;
    } cases[] = {
        {false, {{256, 0, 0, 0, 0, 0}, 0}}, {true, {{4096, 0, 0, 0, 0, 0}, 0}},
        {false, {{0, 0, 256, 0, 0, 0}, 0}}, {true, {{0, 0, -1, 0, 0, 0}, 0}},
        {false, {{0, 0, 0, 0, 0, 0}, 4}},   {true, {{0, 0, 0, 1, 0, 0}, 0}},
        {true, {{0, 0, 0, 0, 512, 0}, 0}},  {false, {{0, 0, 0, 0, 0, 64}, 0}},
    };
    for (const auto& c : cases) {
        GroupRecord rec = busyRecord();
        EXPECT_FALSE(StoreMonth(rec, 3, c.newForm, c.values, 0));
        const GroupRecord untouched = busyRecord();
        EXPECT_EQ(std::memcmp(&rec, &untouched, sizeof rec), 0);
    }
}

TEST(ReportDiffers, ComparesTheReportBytesOfTheMonth) {
    const GroupRecord stored = busyRecord();
    GroupRecord copy = stored;
    copy.creditHours[4] ^= 1; // carried along, not compared
    copy.remarkSlot[4] ^= 1;
    copy.setNewFormMonthsValue(static_cast<std::uint16_t>(copy.newFormMonthsValue() ^ 0x10));
    copy.hours[5] ^= 1;
    EXPECT_FALSE(ReportDiffers(copy, stored, 4));
    for (std::uint8_t* field :
         {copy.books, copy.brochures, copy.hours, copy.subscriptions, copy.magazines,
          copy.returnVisits, copy.bibleStudies, copy.quarterHours, copy.monthStatus}) {
        field[4] ^= 0x80;
        EXPECT_TRUE(ReportDiffers(copy, stored, 4));
        field[4] ^= 0x80;
    }
}

} // namespace
} // namespace zadw
