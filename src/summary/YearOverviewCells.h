// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the year overview, shared by its window, its print and its CSV file, and the
// year line of the report entry.

#include "YearOverview.h"

#include <string>
#include <vector>

namespace zadw {

// "regelbunden", "oregelbunden", "inaktiv" in the program's language.
std::string RegularityText(Regularity r);

// The month's name cut to its first three letters ("nov"), and with the year ("nov 2025").
std::string ShortMonthName(int m);
std::string MonthYearText(const CalendarMonth& date);
// "november 2025".
std::string LongMonthYearText(const CalendarMonth& date);

// "Tjänsteåret 2027".
std::string ServiceYearText(int serviceYear);

// The command's name without its ellipsis: the window's caption and the printed title.
std::string YearOverviewTitle();

// A publisher shown with the filter on: irregular or inactive.
bool NeedsFollowUp(const PublisherYear& publisher);

// Hours to the quarter with a decimal point of the caller's ("12.25", "12,5", "0").
std::string DecimalHours(int quarters, char point);

// The overview's columns: name, regularity, the twelve months, the service year's hours.
constexpr int kYearNameColumn = 0;
constexpr int kYearRegularityColumn = 1;
constexpr int kYearFirstMonthColumn = 2;
constexpr int kYearServiceColumn = kYearFirstMonthColumn + 12;
constexpr int kYearColumnCount = kYearServiceColumn + 1;

// Headings; a month's heading is its short name and year ("nov 2025").
std::vector<std::string> YearHeadings(const YearOverview& year);
// A month's cell: the hours ("12½", " (sen)" after a late report), the remark-only mark, or
// nothing while the report is missing.
std::string YearMonthCell(const PublisherMonth& month);
// The service year's hours, against the goal for a regular pioneer ("312¼ / 600").
std::string ServiceYearCell(const PublisherYear& publisher);
std::vector<std::string> YearRow(const PublisherYear& publisher);

// The shown publishers' rows as a spreadsheet file set to Swedish conventions: ";" between the
// cells, "," in the hours, UTF-8 with a byte order mark, CRLF at each line's end. The months hold
// plain numbers, the goal a column of its own.
std::string YearOverviewCsv(const YearOverview& year, bool onlyFollowUp);

// One line of an RFC 4180 file: cells holding the separator, a quote or a line break are quoted.
std::string CsvRecord(const std::vector<std::string>& cells, char separator);

// The report entry's line about the publisher's year: the regularity, and for a regular pioneer
// the service year's hours with the figure now typed for month m in place of the stored one,
// against the goal.
std::string EntryYearLine(const PublisherYear& publisher, int serviceYear, int reportMonth, int m,
                          int typedQuarters);

// The year card: every stored value of the twelve months in the form each month is held in,
// with category, credit hours and remark. Rows oldest first.
struct YearCard {
    std::vector<std::string> columns;
    std::vector<std::string> rows; // "november 2025"
    std::vector<std::vector<std::string>> cells;
};
YearCard MakeYearCard(const GroupStore& store, const PublisherYear& publisher);

} // namespace zadw
