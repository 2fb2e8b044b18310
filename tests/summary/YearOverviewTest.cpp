// SPDX-License-Identifier: GPL-3.0-or-later
// The year a record's twelve months make: which month each slot holds, regularity, the service
// year's hours against the goal, and the texts the window, the paper and the CSV show.
#include "YearOverview.h"
#include "SummaryTestGroup.h"
#include "YearOverviewCells.h"

#include <gtest/gtest.h>

#include <bitset>

namespace zadw {
namespace {

using test::SummaryGroup;

void category(SummaryGroup& g, int p, int m, int c) {
    GroupRecord& r = g.store.record(p);
    r.monthStatus[m] = static_cast<std::uint8_t>((r.monthStatus[m] & ~0x03) | c);
}

// Months of a 12-character pattern, January first: 'r' reported (3 hours), 'q' only a quarter
// hour, 'a' a remark alone, '.' nothing.
void months(SummaryGroup& g, int p, const std::string& pattern) {
    for (int m = 0; m < 12; ++m) {
        switch (pattern[static_cast<std::size_t>(m)]) {
        case 'r':
            g.newForm(p, m, {}, 3, 0);
            break;
        case 'q':
            g.newForm(p, m, {}, 0, 1);
            break;
        case 'a':
            g.remark(p, m, "sjuk");
            break;
        default:
            break;
        }
    }
}

TEST(YearOverview, ReportMonthYearIsTheLatestBeforeTodaysMonth) {
    struct Case {
        int todayYear, todayMonth, reportMonth, year;
    };
    const Case cases[] = {
        {2026, 11, 10, 2026}, // December: November of the same year
        {2027, 0, 11, 2026},  // January: December of last year
        {2026, 10, 11, 2025}, // December has not come yet in November
        {2026, 5, 5, 2025},   // nor June in June
        {2026, 5, 0, 2026},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReportMonthYear(c.todayYear, c.todayMonth, c.reportMonth), c.year)
            << c.todayYear << "-" << c.todayMonth << " R " << c.reportMonth;
    }
}

// For every report month: the slots' calendar months oldest first, and the service year so far.
TEST(YearOverview, EveryReportMonthGivesItsMonthsAndServiceYear) {
    constexpr int Y = 2026;
    struct Case {
        int reportMonth;
        int serviceYear;
        std::vector<int> serviceSlots;
    };
    const Case cases[] = {
        {0, 2026, {8, 9, 10, 11, 0}},
        {1, 2026, {8, 9, 10, 11, 0, 1}},
        {2, 2026, {8, 9, 10, 11, 0, 1, 2}},
        {3, 2026, {8, 9, 10, 11, 0, 1, 2, 3}},
        {4, 2026, {8, 9, 10, 11, 0, 1, 2, 3, 4}},
        {5, 2026, {8, 9, 10, 11, 0, 1, 2, 3, 4, 5}},
        {6, 2026, {8, 9, 10, 11, 0, 1, 2, 3, 4, 5, 6}},
        {7, 2026, {8, 9, 10, 11, 0, 1, 2, 3, 4, 5, 6, 7}}, // August ends the service year
        {8, 2027, {8}},                                    // September starts the next one
        {9, 2027, {8, 9}},
        {10, 2027, {8, 9, 10}},
        {11, 2027, {8, 9, 10, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reportMonth);
        EXPECT_EQ(ServiceYearOf(c.reportMonth, Y), c.serviceYear);
        const std::array<int, 12> slots = SlotsOldestFirst(c.reportMonth);
        EXPECT_EQ(slots.back(), c.reportMonth);
        for (std::size_t i = 0; i < 12; ++i) {
            const CalendarMonth date = SlotMonth(slots[i], c.reportMonth, Y);
            // Twelve months in a row, ending with the report month of Y.
            const int monthsBefore = 11 - static_cast<int>(i);
            const int index = Y * 12 + c.reportMonth - monthsBefore;
            EXPECT_EQ(date, (CalendarMonth{index % 12, index / 12})) << i;
        }
        std::vector<int> inServiceYear;
        for (const int s : slots) {
            if (InServiceYearSoFar(s, c.reportMonth)) {
                inServiceYear.push_back(s);
            }
        }
        EXPECT_EQ(inServiceYear, c.serviceSlots);
    }
}

TEST(YearOverview, RegularityLooksAtTheSixMonthsBeforeTheReportMonthUntilItIsReported) {
    struct Case {
        const char* name;
        int reportMonth;
        std::string pattern; // January first
        Regularity expected;
    };
    const Case cases[] = {
        {"six up to a reported month", 10, ".....rrrrrr.", Regularity::Regular},
        {"six before a month still collected", 10, "....rrrrrr..", Regularity::Regular},
        {"one of six missing", 10, "....r.rrrrr.", Regularity::Irregular},
        {"the seventh month back does not count", 10, "...r.rrrrrr.", Regularity::Regular},
        {"a remark alone is no report", 10, "....rrarrr..", Regularity::Irregular},
        {"only remarks", 10, "...aaaaaa...", Regularity::Inactive},
        {"nothing in six months", 10, "rrr.........", Regularity::Inactive},
        {"a quarter hour alone is a report", 10, "....qqqqqq..", Regularity::Regular},
        {"across the new year", 1, "rr......rrrr", Regularity::Regular},
        {"across the new year, still collected", 2, "rr......rrrr", Regularity::Regular},
        {"across the new year, one missing", 1, "rr......r.rr", Regularity::Irregular},
        {"only the report month", 10, "..........r.", Regularity::Irregular},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SummaryGroup g;
        g.make(1, true);
        months(g, 1, c.pattern);
        EXPECT_EQ(RegularityOf(g.store, 1, c.reportMonth), c.expected);
    }
    SummaryGroup g;
    g.make(1, true);
    months(g, 1, "rr......rrrr");
    EXPECT_EQ(RegularityMonths(g.store, 1, 1), (std::array<int, 6>{8, 9, 10, 11, 0, 1}));
    EXPECT_EQ(RegularityMonths(g.store, 1, 2), (std::array<int, 6>{8, 9, 10, 11, 0, 1}));
}

// A publisher who became a regular pioneer in October: the credit counts only from then, the
// hours of the whole service year so far, and August belongs to the year before.
TEST(YearOverview, ServiceYearHoursCreditAndGoal) {
    SummaryGroup g;
    g.make(1, true);
    g.newForm(1, 7, {}, 70, 0); // August, a pioneer then too
    category(g, 1, 7, 2);
    g.store.record(1).creditHours[7] = 20;
    g.newForm(1, 8, {}, 10, 0); // September, a publisher: his credit byte does not count
    g.store.record(1).creditHours[8] = 5;
    g.newForm(1, 9, {}, 50, 2); // October: 50½
    category(g, 1, 9, 2);
    g.store.record(1).creditHours[9] = 10;
    g.newForm(1, 10, {}, 40, 1); // November: 40¼
    category(g, 1, 10, 2);
    g.store.record(1).creditHours[10] = 3;
    g.newForm(1, 0, {}, 5, 0); // January
    struct Case {
        int reportMonth, year, goalSetting;
        int serviceYear, quarters, credit;
        std::optional<int> goal;
    };
    const Case cases[] = {
        {10, 2026, 600, 2027, (10 + 50 + 40) * 4 + 2 + 1, 13, 600},
        {10, 2026, 840, 2027, 403, 13, 840}, // the goal is the setting's
        {8, 2026, 600, 2027, 40, 0, std::nullopt},
        // February: January joins the year; he is no pioneer in February.
        {1, 2027, 600, 2027, 403 + 20, 13, std::nullopt},
        // August: the whole year, his August credit with it.
        {7, 2026, 600, 2026, 403 + 20 + 280, 33, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reportMonth);
        const PublisherYear y =
            ComputePublisherYear(g.store, 1, c.reportMonth, c.year, c.goalSetting);
        EXPECT_EQ(ServiceYearOf(c.reportMonth, c.year), c.serviceYear);
        EXPECT_EQ(y.serviceYearQuarters, c.quarters);
        EXPECT_EQ(y.serviceYearCreditHours, c.credit);
        EXPECT_EQ(y.goal, c.goal);
    }
}

TEST(YearOverview, MonthsCarryTheirStateAndTheGroupCountsTheCountedCategories) {
    SummaryGroup g;
    g.make(3, true);
    g.newForm(1, 10, {}, 12, 1); // November 2026: 12¼, a late report
    g.store.setLateFlag(1, 10);
    g.remark(2, 10, "sjuk");
    g.newForm(3, 10, {}, 100, 0); // a special pioneer: listed, not counted
    category(g, 3, 10, 3);
    g.newForm(2, 11, {}, 8, 2); // December 2025
    const YearOverview y = ComputeYearOverview(g.store, 10, 2026);
    ASSERT_EQ(y.publishers.size(), 3u);
    const PublisherMonth& late = y.publishers[0].months[11];
    EXPECT_EQ(late.date, (CalendarMonth{10, 2026}));
    EXPECT_TRUE(late.reported && late.late && !late.remarkOnly && !late.lastYear);
    EXPECT_EQ(late.quarters, 49);
    EXPECT_TRUE(y.publishers[1].months[11].remarkOnly);
    const PublisherMonth& december = y.publishers[1].months[0];
    EXPECT_EQ(december.date, (CalendarMonth{11, 2025}));
    EXPECT_TRUE(december.lastYear && december.reported);
    EXPECT_EQ(y.group[11].reports, 1);
    EXPECT_EQ(y.group[11].quarters, 49);
    EXPECT_EQ(y.group[0].reports, 1);
    EXPECT_TRUE(y.group[0].lastYear);
    EXPECT_FALSE(y.group[1].lastYear); // January 2026
    // Only November in six months, twice; nothing but a remark and last December once.
    EXPECT_EQ(y.irregular, 2);
    EXPECT_EQ(y.inactive, 1);
    EXPECT_EQ(y.regular, 0);
}

TEST(YearOverviewCells, MonthAndServiceYearCells) {
    struct Case {
        PublisherMonth month;
        const char* text;
    };
    PublisherMonth reported;
    reported.reported = true;
    reported.quarters = 49;
    PublisherMonth late = reported;
    late.late = true;
    PublisherMonth remark;
    remark.remarkOnly = true;
    PublisherMonth lateWithoutReport;
    lateWithoutReport.late = true;
    const Case cases[] = {
        {reported, "12¼"},
        {late, "12¼ (sen)"},
        {remark, "(anm.)"},
        {lateWithoutReport, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(YearMonthCell(c.month), c.text);
    }
    PublisherYear pioneer;
    pioneer.serviceYearQuarters = 1249;
    pioneer.goal = 600;
    EXPECT_EQ(ServiceYearCell(pioneer), "312¼ / 600");
    pioneer.serviceYearQuarters = 0;
    EXPECT_EQ(ServiceYearCell(pioneer), "0 / 600");
    PublisherYear publisher;
    publisher.serviceYearQuarters = 126;
    EXPECT_EQ(ServiceYearCell(publisher), "31½");

    const std::pair<int, const char*> decimals[] = {
        {0, "0"}, {48, "12"}, {49, "12,25"}, {50, "12,5"}, {51, "12,75"}};
    for (const auto& [quarters, text] : decimals) {
        EXPECT_EQ(DecimalHours(quarters, ','), text);
    }
    EXPECT_EQ(DecimalHours(1, '.'), "0.25");
}

TEST(YearOverviewCells, CsvRecordsQuoteWhatWouldSplitThem) {
    EXPECT_EQ(CsvRecord({"plain", "a;b", "x\"y", "two\nlines", ""}, ';'),
              "plain;\"a;b\";\"x\"\"y\";\"two\nlines\";\r\n");
    EXPECT_EQ(CsvRecord({"a;b", "c,d"}, ','), "a;b,\"c,d\"\r\n");
}

TEST(YearOverviewCells, TheWindowsCsvIsForASwedishSpreadsheet) {
    SummaryGroup g;
    g.make(2, true);
    setTextField(g.store.record(2), TextField::LastName, "Öst; Väst", nullptr);
    months(g, 1, "rrrrrrrrrrrr");
    g.newForm(1, 10, {}, 12, 3);
    category(g, 1, 10, 2);
    g.remark(2, 9, "sjuk");
    const YearOverview y = ComputeYearOverview(g.store, 10, 2026);
    const std::string csv = YearOverviewCsv(y, false);
    const std::string expected =
        "\xEF\xBB\xBF"
        "Namn;Regelbundenhet;dec 2025;jan 2026;feb 2026;mar 2026;apr 2026;maj 2026;jun 2026;"
        "jul 2026;aug 2026;sep 2026;okt 2026;nov 2026;Tjänsteåret 2027;Mål\r\n"
        "Efternamn1, Förnamn1;regelbunden;3;3;3;3;3;3;3;3;3;3;3;12,75;18,75;600\r\n"
        "\"Öst; Väst, Förnamn2\";inaktiv;;;;;;;;;;;(anm.);;0;\r\n";
    EXPECT_EQ(csv, expected);
    // The filter leaves out the regular.
    EXPECT_EQ(YearOverviewCsv(y, true).find("Efternamn1"), std::string::npos);
    EXPECT_NE(YearOverviewCsv(y, true).find("inaktiv"), std::string::npos);
}

TEST(YearOverviewCells, TheReportEntrysYearLine) {
    SummaryGroup g;
    g.make(2, true);
    months(g, 1, "rrrrrrrrrr..");
    g.newForm(1, 9, {}, 20, 0); // October: 20 of the service year's 23
    category(g, 1, 10, 2);
    months(g, 2, "rrrrrrrrrrr.");
    struct Case {
        int pub, month, typedQuarters;
        const char* line;
    };
    const Case cases[] = {
        {2, 10, 8, "Regelbundenhet: regelbunden"},
        // November in the service year: September and October, and the figure typed.
        {1, 10, 50, "Regelbundenhet: regelbunden. Tjänsteåret 2027: 23 + 12½ = 35½ / 600"},
        // October's own figure gives way to the one typed for it.
        {1, 9, 0, "Regelbundenhet: regelbunden. Tjänsteåret 2027: 3 + 0 = 3 / 600"},
        // A late report of last service year leaves this one as it is.
        {1, 3, 40, "Regelbundenhet: regelbunden. Tjänsteåret 2027: 23 / 600"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const PublisherYear y = ComputePublisherYear(g.store, c.pub, 10, 2026);
        EXPECT_EQ(EntryYearLine(y, 2027, 10, c.month, c.typedQuarters), c.line);
    }
}

// Each month's values in the form it is held in; the columns hold both forms' values once.
TEST(YearOverviewCells, TheYearCardShowsEachMonthInItsOwnForm) {
    SummaryGroup g;
    g.make(1, false);
    g.oldForm(1, 2, {1, 2, 3, 4, 5, 6}, 7, 2); // March, old form: 7½ hours
    g.newForm(1, 10, {8, 9, 10, 11}, 12, 0);   // November, new form
    category(g, 1, 10, 2);
    g.store.record(1).creditHours[10] = 4;
    g.remark(1, 10, "5 +Timmar");
    const YearCard card = MakeYearCard(g.store, ComputePublisherYear(g.store, 1, 10, 2026));
    EXPECT_EQ(card.columns, (std::vector<std::string>{"Kategori", "Publ.", "Filmer", "Timmar", "Åb",
                                                      "Bib.st.", "Böcker", "Brosch.", "Pren.",
                                                      "Lösnr.", "Kredittimmar", "Anmärkning"}));
    ASSERT_EQ(card.rows.size(), 12u);
    EXPECT_EQ(card.rows[3], "mars 2026");
    EXPECT_EQ(card.cells[3],
              (std::vector<std::string>{"", "", "", "7½", "5", "6", "1", "2", "3", "4", "", ""}));
    EXPECT_EQ(card.rows[11], "november 2026");
    EXPECT_EQ(card.cells[11], (std::vector<std::string>{"Reguljär pionjär", "8", "9", "12", "10",
                                                        "11", "", "", "", "", "4", "5 +Timmar"}));
    EXPECT_EQ(card.cells[0], std::vector<std::string>(12, "")); // December 2025: nothing
}

} // namespace
} // namespace zadw
