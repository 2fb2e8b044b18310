// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportRules.h"
#include "Strings.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <string>
#include <vector>

namespace zadw {
namespace {

const std::string kThirtyDigits(30, '9');

TEST(IntegerValue, TakesLeadingDigitsAndSaturates) {
    EXPECT_EQ(IntegerValue(""), 0);
    EXPECT_EQ(IntegerValue(" 5"), 0);
    EXPECT_EQ(IntegerValue("12.75"), 12);
    EXPECT_EQ(IntegerValue("2147483648"), INT_MAX);
    EXPECT_EQ(IntegerValue(kThirtyDigits), INT_MAX);
}

TEST(MonthName, GenitiveOnlyChangesFrench) {
    EXPECT_EQ(MonthGenitive(3, LayoutLanguage::Swedish), "april");
    EXPECT_EQ(monthName(3), "april");
    EXPECT_EQ(MonthGenitive(3, LayoutLanguage::French), "d'april");
    EXPECT_EQ(MonthGenitive(9, LayoutLanguage::French), "d'oktober");
    EXPECT_EQ(MonthGenitive(4, LayoutLanguage::French), "de maj");
    EXPECT_EQ(monthName(12), "");
}

TEST(HoursText, FormatNormaliseAndParse) {
    EXPECT_EQ(FormatHours(0, 0), "0");
    EXPECT_EQ(FormatHours(12, 2), "12.5");
    EXPECT_EQ(FormatHours(7, 3), "7.75");
    const struct {
        std::string typed, normalised;
        int whole, quarter;
    } cases[] = {
        {"7.50", "7.5", 7, 2},
        {"3.8", "3.75", 3, 3},
        {"40", "40", 40, 0},
        {"1.2.3", "1.25", 1, 1},
        {".5", ".5", 0, 2},
        {"", "", 0, 0},
        {"255.7", "255.75", 255, 3},
        // The comma is the point.
        {"10,5", "10.5", 10, 2},
        {"7,75", "7.75", 7, 3},
        {"12,3", "12.25", 12, 1},
        {"1,2,3", "1.25", 1, 1},
        {"1.2,3", "1.25", 1, 1},
        {",5", ".5", 0, 2},
        // A fraction of zeros is whole hours; any other still rounds up to a quarter.
        {"12.0", "12", 12, 0},
        {"12.", "12", 12, 0},
        {"12,0", "12", 12, 0},
        {"12,", "12", 12, 0},
        {"12.00", "12", 12, 0},
        {",", "0", 0, 0},
        {"12.05", "12.25", 12, 1},
        {"12,0,5", "12.25", 12, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormaliseHoursText(c.typed), c.normalised) << c.typed;
        for (const std::string& text : {c.normalised, c.typed}) {
            const ParsedHours parsed = ParseHoursText(text);
            EXPECT_EQ(parsed.wholeHours, c.whole) << text;
            EXPECT_EQ(parsed.quarterCode, c.quarter) << text;
            EXPECT_TRUE(parsed.fits) << text;
        }
    }
    for (const std::string& text : {std::string("256"), kThirtyDigits + ".25"}) {
        EXPECT_FALSE(ParseHoursText(text).fits) << text;
        EXPECT_GT(ParseHoursText(text).wholeHours, 255) << text;
    }
}

TEST(UpdateCreditHours, RegularPioneer) {
    const struct {
        int h, count;
        std::string remark;
        int credit;
        std::string newRemark, text;
    } cases[] = {
        // The stored credit is capped before it becomes the remark.
        {65, 10, "", 5, "5 +Timmar", "( + 5 Timmar )"},
        {70, 10, "", 0, "", ""},
        {50, 0, "30 *", 30, "30 *", "( + 30 Timmar )"},
        {50, 0, "30", 20, "30", "( + 20 Timmar )"},
        {100, 0, "30!", 30, "30!", "( + 30 Timmar )"},
        {20, 0, "60 *", 50, "60 *", "( + 50 Timmar )"},
        {40, 0, "60 *", 40, "60 *", "( + 40 Timmar )"},
        {50, 0, "30    !", 20, "30    !", "( + 20 Timmar )"}, // "!" too far along
        {50, 0, "30   *", 20, "30   *", "( + 20 Timmar )"},   // "*" too far along
        {50, 0, "30ÅÄÖ!", 30, "30ÅÄÖ!", "( + 30 Timmar )"},   // characters, not bytes
        {0, 0, "999!", 255, "999!", "( + 255 Timmar )"},      // one byte, not 999 mod 256
        {0, 0, "999", 70, "999", "( + 70 Timmar )"},
        {INT_MAX, 0, "30 *", 30, "30 *", "( + 30 Timmar )"},
    };
    for (const auto& c : cases) {
        const CreditHours r = UpdateCreditHours(c.h, kCategoryRegularPioneer,
                                                static_cast<std::uint8_t>(c.count), c.remark);
        EXPECT_EQ(r.creditHourCount, c.credit) << c.h << " " << c.remark;
        EXPECT_EQ(r.remarkText, c.newRemark) << c.h << " " << c.remark;
        EXPECT_EQ(r.creditText, c.text) << c.h << " " << c.remark;
    }
    for (const int category : {0, 1, 3}) {
        const CreditHours r = UpdateCreditHours(65, category, 10, "30!");
        EXPECT_EQ(r.creditHourCount, 10);
        EXPECT_EQ(r.remarkText, "30!");
        EXPECT_EQ(r.creditText, "");
    }
}

const std::string kAlready = "- VARNING -   Du har redan fört in rapporten för ";
const std::string kCounted = "Alla ändringar KOMMER ATT TAS MED i aprilrapporten till Revevedudi.";
const std::string kNotCounted =
    "Ändringar kommer INTE ATT TAS MED i aprilrapporten till Revevedudi.";
const std::string kSpecial = "PMSU är INTE INRÄKNADE i rapporten till Revevedudi";

TEST(UpdateWarning, Panel) {
    const struct {
        int month, hours, monthCategory, reportCategory;
        bool listShown, lateFlag;
        std::string text;
        bool lateEntry, notCounted;
    } cases[] = {
        {3, 0, 0, 0, false, false, "", false, false},
        {3, 12, 0, 0, false, false, kAlready + "april för Anna Berg.\n" + kCounted, false, false},
        {3, 5, 3, 3, false, false, kAlready + "april för Anna Berg.\n" + kSpecial, false, true},
        {2, 0, 0, 3, false, false, "\n" + kSpecial, true, true},
        {2, 0, 3, 0, true, true, "\n" + kSpecial, true, true},
        {2, 0, 0, 0, false, false, "\n" + kCounted, true, false},
        {2, 0, 0, 0, true, false, "", true, false},
        {2, 10, 0, 0, false, false, kAlready + "mars för Anna Berg.\n" + kNotCounted, true, true},
        {2, 10, 2, 1, false, true, kAlready + "mars för Anna Berg.\n" + kCounted, true, false},
        {2, 10, 0, 0, true, false, kAlready + "mars för Anna Berg.", true, false},
    };
    for (const auto& c : cases) {
        const Warning w =
            UpdateWarning({c.month, 3, c.hours, c.monthCategory, c.reportCategory, c.listShown,
                           c.lateFlag, "Anna Berg", LayoutLanguage::Swedish});
        EXPECT_EQ(w.text, c.text) << c.month << " " << c.hours;
        EXPECT_EQ(w.lateEntry, c.lateEntry) << c.month << " " << c.hours;
        EXPECT_EQ(w.notCounted, c.notCounted) << c.month << " " << c.hours;
    }
    // The name goes in as typed, "%2" included.
    EXPECT_EQ(
        UpdateWarning({3, 3, 1, 0, 0, false, false, "Per %2 %1", LayoutLanguage::French}).text,
        kAlready + "d'april för Per %2 %1.\n" +
            "Alla ändringar KOMMER ATT TAS MED i d'aprilrapporten till Revevedudi.");
}

// A new-form month: publications, hours (in quarters), return visits, Bible studies.
EntryValues figures(int publications, int quarterHours, int returnVisits = 0, int studies = 0) {
    EntryValues v;
    v[EntryField::BooksOrPublications] = publications;
    v[EntryField::Hours] = quarterHours / 4;
    v.quarterCode = quarterHours % 4;
    v[EntryField::ReturnVisits] = returnVisits;
    v[EntryField::BibleStudies] = studies;
    return v;
}
std::vector<PastMonth> months(std::initializer_list<int> hours, int category = 0,
                              int returnVisits = 2, int studies = 1) {
    std::vector<PastMonth> r;
    for (const int h : hours) {
        r.push_back({figures(1, h * 4, returnVisits, studies), category});
    }
    return r;
}
std::vector<PastMonth> operator+(std::vector<PastMonth> a, const std::vector<PastMonth>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(UnusualFigures, TypingSlipsAskRealMonthsDoNot) {
    const auto history = months({10, 12, 17, 14, 11});
    const struct {
        const char* what;
        EntryValues typed;
        int category;
        std::vector<PastMonth> reported;
        std::string asked; // "field typed highest" of each question, "" for none
    } cases[] = {
        {"10,5 read as 105", figures(1, 105 * 4, 2, 1), 0, history, "141 105 17"},
        {"10,5 as meant", figures(1, 42, 2, 1), 0, history, ""},
        {"a pioneer's 50 h after 45", figures(5, 50 * 4, 20, 4), 2, months({45, 52}, 2, 18, 4), ""},
        {"a first report of 8 h", figures(0, 8 * 4), 0, {}, ""},
        {"no history, 101 h", figures(0, 101 * 4), 0, {}, "141 101 0"},
        {"first auxiliary month", figures(2, 50 * 4, 8, 2), 1, history, ""},
        {"special pioneer as usual", figures(4, 130 * 4, 30, 6), 3, months({125, 131}, 3, 30, 6),
         ""},
        {"slip after an auxiliary month", figures(1, 105 * 4), 0, history + months({50}, 1),
         "141 105 17"},
        {"pioneer month, no pioneer history", figures(1, 120 * 4), 1, history, "141 120 17"},
        {"small figures, three times", figures(1, 9 * 4, 3, 1), 0, months({3, 2}, 0, 1, 0), ""},
        {"exactly three times and 20 h more",
         figures(1, 30 * 4 + 3),
         0,
         {{figures(1, 10 * 4 + 1), 0}},
         "141 30.75 10.25"},
        {"just under three times", figures(1, 30 * 4 + 2), 0, {{figures(1, 10 * 4 + 1), 0}}, ""},
        {"return visits slip", figures(1, 12 * 4, 40, 1), 0, history, "144 40 2"},
        {"12 return visits after 4", figures(1, 12 * 4, 12, 1), 0, months({12}, 0, 4), ""},
        {"studies from none", figures(1, 12 * 4, 2, 11), 0, months({12}, 0, 2, 0), "145 11 0"},
        {"two slips, in field order", figures(1, 150 * 4, 2, 20), 0, history,
         "141 150 17, 145 20 1"},
    };
    for (const auto& c : cases) {
        std::string asked;
        for (const UnusualFigure& u : UnusualFigures(c.typed, {}, c.category, c.reported, true)) {
            asked += (asked.empty() ? "" : ", ") + std::to_string(static_cast<int>(u.field)) + " " +
                     u.typed + " " + u.highest;
        }
        EXPECT_EQ(asked, c.asked) << c.what;
    }
    // A figure stored before is not questioned again when the report is opened and left.
    const EntryValues slip = figures(1, 105 * 4, 2, 1);
    EXPECT_TRUE(UnusualFigures(slip, slip, 0, history, true).empty());
    // The old form has its magazines field.
    EntryValues magazines;
    magazines[EntryField::Magazines] = 50;
    const std::vector<PastMonth> quiet = {{EntryValues{}, 0}};
    EXPECT_EQ(UnusualFigures(magazines, {}, 0, quiet, false).size(), 1u);
    EXPECT_TRUE(UnusualFigures(magazines, {}, 0, quiet, true).empty());
}

TEST(NewFormForMonth, FormRule) {
    const struct {
        int year, todayMonth, month, reportMonth;
        bool active, newForm;
    } cases[] = {
        {2016, 4, 3, 3, false, false},   {2015, 0, 11, 11, true, true},  // report month: as active
        {2016, 4, 2, 3, false, true},    {2016, 4, 0, 3, false, true},   // before the report month
        {2016, 4, 5, 3, false, false},   {2016, 4, 11, 3, false, false}, // last year's
        {2016, 3, 2, 3, false, false},   {2015, 11, 2, 10, false, false},
        {2017, 0, 11, 11, false, false}, {2017, 0, 5, 11, false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NewFormForMonth(c.year, c.todayMonth, c.month, c.reportMonth, c.active),
                  c.newForm)
            << c.year << "-" << c.todayMonth << " month " << c.month;
    }
}

} // namespace
} // namespace zadw
