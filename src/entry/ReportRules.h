// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules the report-entry dialog applies to one month: month names, hours text, credit hours,
// the warning panel and which report form a month is entered in. Plain values in, plain values
// out, so the dialog decides when they run and tests can run them without a window.

#include "LayoutLanguage.h"
#include "MonthValues.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zadw {

// Monthly category codes (monthStatus bits 0-1).
constexpr int kCategoryRegularPioneer = 2;
constexpr int kCategorySpecialPioneer = 3;

// Hours plus credit hours of a regular pioneer stop here unless the remark says otherwise.
constexpr int kCreditHourLimit = 70;

// The value of the leading decimal digits of text, 0 when there are none. Saturates at INT_MAX,
// so a field full of digits never wraps round to a small number.
int IntegerValue(std::string_view text);

// Month m (0 = January) as the warning texts name it: the French genitive ("d'avril", "de mai")
// is the only language-dependent form; every other language gives the plain name.
std::string MonthGenitive(int m, LayoutLanguage language);

// "12", "12.25", "12.5", "12.75".
std::string FormatHours(int wholeHours, int quarterCode);

// Rounds whatever follows the point (or comma) to the nearest quarter the field can show, and
// drops a fraction of zeros: run when the hours field loses the focus, so OK only ever reads
// N, N.25, N.5 or N.75.
std::string NormaliseHoursText(std::string_view text);

struct ParsedHours {
    int wholeHours = 0;  // saturated, never wrapped
    int quarterCode = 0; // 0..3
    bool fits = true;    // whole hours fit the 8-bit field (0..255)
};
ParsedHours ParseHoursText(std::string_view text);

struct CreditHours {
    std::uint8_t creditHourCount = 0;
    std::string remarkText;
    std::string creditText; // for the credit-hours static; empty when there is no credit
};
// h is the integer value of the hours field; category is the month's category in the record
// copy. For any category but a regular pioneer the count and the remark come back unchanged.
CreditHours UpdateCreditHours(int h, int category, std::uint8_t creditHourCount,
                              const std::string& remarkText);

struct WarningInput {
    int month = 0;
    int reportMonth = 0;
    int wholeHours = 0;
    int monthCategory = 0;       // category of month in the record copy
    int reportMonthCategory = 0; // category of reportMonth in the record copy
    bool monthListShown = false;
    bool hasLateFlag = false; // late flag of month in the store
    std::string displayName;  // ordinary (not list) form
    LayoutLanguage language = LayoutLanguage::Other;
};
struct Warning {
    std::string text;
    bool lateEntry = false;
    bool notCounted = false;
};
Warning UpdateWarning(const WarningInput& in);

// One of the publisher's reported months, as the entry would show it, with its category.
struct PastMonth {
    EntryValues values;
    int category = 0;
};
struct UnusualFigure {
    EntryField field = EntryField::None;
    std::string typed;   // the value as the field shows it
    std::string highest; // the highest earlier value, shown the same way
};
// The fields of a month about to be stored whose value looks like a typing slip against the
// publisher's other reported months, in field order. A value equal to the one stored before
// (before) is never questioned again.
std::vector<UnusualFigure> UnusualFigures(const EntryValues& typed, const EntryValues& before,
                                          int category, std::span<const PastMonth> reported,
                                          bool newForm);

// Whether committing a changed report marks the month as a late report to be counted.
bool SetsLateFlag(bool changed, bool lateEntry, bool notCounted);

// The report form a chosen month is entered in. todayMonth is 0-based. Months after the report
// month are last year's; during 2016 those stay in the old form.
bool NewFormForMonth(int todayYear, int todayMonth, int month, int reportMonth, bool newFormActive);

// Whether the report month is entered in the new form, for a program started on a day
// (todayMonth 0-based): always from 2017 on; during 2016 for report months up to the month after
// today's.
bool NewFormAtStart(int todayYear, int todayMonth, int reportMonth);
// The 2016 part alone: loading a group may turn the new form on, never off.
bool NewFormAfterLoad(int todayYear, int todayMonth, int reportMonth);

} // namespace zadw
