// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The group's figures for one month, as the secretary will add them up: the column sums of the
// summary list, by each publisher's category that month. Shared by the preview's "Summa" page,
// the printed list and zadw-tool.

#include "DrawOps.h"
#include "GroupStore.h"
#include "SummaryLayout.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace zadw {

constexpr int kCategoryCount = 4;  // 0 publishers, 1 auxiliary, 2 regular, 3 special pioneers
constexpr int kSpecialPioneer = 3; // listed, but not counted in the report to the branch

// One value the totals add up, named by its jsonKey.
using TotalsValue = ReportValue;
// The form's counts in kind order. New form: publications, videos, return visits, Bible
// studies. Old form: books, brochures, subscriptions, magazines, return visits, Bible studies.
// Hours are added apart, in quarters.
std::span<const TotalsValue> TotalsValues(bool newForm);

struct CategoryTotals {
    int category = 0; // -1 for the counted total
    int publishers = 0;
    int reports = 0;  // MonthState::Reported
    int quarters = 0; // hours in quarter hours, so that ¼ + ½ + ¾ stays exact
    int creditHours = 0;
    std::vector<long> values; // in the order of TotalsValues

    void add(const CategoryTotals& other);
};

// A month whose late flag is set: it travels to the secretary with the next update.
struct LateMonth {
    std::string publisher; // list form
    int month = 0;         // 0 = January
};

struct GroupTotals {
    int month = 0; // 0 = January
    bool newForm = true;
    int publishers = 0;
    int missing = 0;    // every category
    int remarkOnly = 0; // every category: months that hold only a remark
    // Every publisher is one of: reported (the categories' reports), missing, remark only.
    std::array<CategoryTotals, kCategoryCount> categories;
    CategoryTotals counted;      // categories 0 to 2
    std::vector<LateMonth> late; // in file order, each publisher's months oldest first
};

// Month m (0..11) in the given form. The store is only read.
GroupTotals ComputeGroupTotals(const GroupStore& store, int m, bool newForm);

// Whole hours and the fraction sign, as the list writes hours ("212¾"); blank for none.
std::string TotalHoursText(int quarters);

// The category's row heading ("Förkunnare" ... "Specialpionjärer"), category 0..3.
std::string CategoryName(int category);

// The block's cells, one row per category and one for the counted total.
struct TotalsRow {
    std::string label;               // "Förkunnare" ... "Summa inräknade"
    std::string reports;             // "16 / 19": reported of publishers
    std::vector<std::string> values; // one per column of SummaryColumns, blank for 0
    std::string remarks;             // credit hours, or that special pioneers are not counted
};
struct TotalsBlock {
    std::string heading;         // "Summa"
    std::string reportsHeading;  // "Rapporterat"
    std::vector<TotalsRow> rows; // categories 0..3, then the counted total
    // Still missing, remark only when there is any, and the group's publisher count.
    std::vector<std::string> statusLines;
};
TotalsBlock MakeTotalsBlock(const GroupTotals& totals);

// The totals block on paper from y = top down, ruled like the sheet's grid: a heading row, the
// rows of MakeTotalsBlock, then the status lines below the frame. pm and pos as
// PrintSummaryPages has them. height is what the block takes from top, so a caller can see
// whether it fits on the sheet or needs one more.
struct PrintedTotals {
    Page ops;
    int height = 0;
};
PrintedTotals LayOutPrintedTotals(const TotalsBlock& block, bool newForm, const PageMetrics& pm,
                                  const PrintPositions& pos, int top);

} // namespace zadw
