// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The twelve months a record holds, seen as a year: which calendar month each slot stands for,
// each publisher's regularity, a regular pioneer's service-year hours against the goal, and the
// group's months for the chart. The year overview window, its print, its CSV, the report entry's
// year line and zadw-tool year all read these figures; the store is only read.

#include "GroupStore.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zadw {

constexpr int kDefaultRegularPioneerGoal = 600;
constexpr int kSeptember = 8;

enum class Regularity { Regular, Irregular, Inactive };

// "regular", "irregular", "inactive": the tool's words, in every language.
const char* RegularityKey(Regularity r);

// The calendar year of report month reportMonth (0..11) on a day of todayYear and todayMonth
// (0..11): the latest year in which that month lies before today's month.
int ReportMonthYear(int todayYear, int todayMonth, int reportMonth);

// The service year (September to August) that report month reportMonth of year lies in, named by
// the year it ends in.
int ServiceYearOf(int reportMonth, int year);

struct CalendarMonth {
    int month = 0; // 0 = January
    int year = 0;
    bool operator==(const CalendarMonth&) const = default;
};

// What slot s (0..11) holds when reportMonth of year is the newest month: month s of year up to
// the report month, of the year before after it.
CalendarMonth SlotMonth(int slot, int reportMonth, int year);

// The slots from the oldest month to the report month: reportMonth + 1 .. 11, then 0 ..
// reportMonth.
std::array<int, 12> SlotsOldestFirst(int reportMonth);

// Whether slot s is one of the service year's months so far (September up to the report month).
bool InServiceYearSoFar(int slot, int reportMonth);

// The six months regularity looks at, oldest first: up to the report month when it is reported,
// else the six before it (the report month is still being collected).
std::array<int, 6> RegularityMonths(const GroupStore& store, int pub, int reportMonth);
Regularity RegularityOf(const GroupStore& store, int pub, int reportMonth);

// A month's hours in quarter hours, whatever form it is held in.
int MonthQuarters(const GroupStore& store, int pub, int m);

struct PublisherMonth {
    int slot = 0;
    CalendarMonth date;
    bool reported = false;
    bool remarkOnly = false;
    bool late = false;
    int quarters = 0;    // hours in quarters, so that ¼ + ½ + ¾ stays exact
    int creditHours = 0; // as stored, whatever the category
    int category = 0;
    bool lastYear = false; // a month of the year before the report month's
};

struct PublisherYear {
    int pub = 0;
    std::string name; // list form
    int category = 0; // in the report month
    Regularity regularity = Regularity::Inactive;
    int serviceYearQuarters = 0;
    int serviceYearCreditHours = 0; // only months in which the publisher was a regular pioneer
    std::optional<int> goal;        // regular pioneers in the report month only
    std::array<PublisherMonth, 12> months{}; // oldest first
};

// The group in one month, counted categories only (0 to 2), as the secretary adds it up.
struct ChartMonth {
    int slot = 0;
    CalendarMonth date;
    bool lastYear = false;
    int reports = 0;
    int quarters = 0;
};

struct YearOverview {
    int month = 0; // the report month, 0 = January
    int year = 0;
    int serviceYear = 0;
    std::vector<PublisherYear> publishers; // file order
    int regular = 0;
    int irregular = 0;
    int inactive = 0;
    std::array<ChartMonth, 12> group{}; // oldest first
};

PublisherYear ComputePublisherYear(const GroupStore& store, int pub, int reportMonth, int year,
                                   int regularPioneerGoal = kDefaultRegularPioneerGoal);
YearOverview ComputeYearOverview(const GroupStore& store, int reportMonth, int year,
                                 int regularPioneerGoal = kDefaultRegularPioneerGoal);

// One value of a month as it is stored, by the descriptor of the month's own form.
struct StoredValue {
    const ReportValue* value = nullptr;
    unsigned amount = 0; // hours: whole hours; the quarter code is QuarterCode's
};
// Every count and the hours of month m in the form the month is held in, in kind order.
std::vector<StoredValue> StoredMonthValues(const GroupStore& store, int pub, int m);
// The values either form holds, once each by their JSON key: the new form's in kind order, then
// the old form's the new one lacks. The year card's columns.
std::vector<const ReportValue*> BothFormsValues();

} // namespace zadw
