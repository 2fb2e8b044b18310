// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The year overview as drawing operations: the group's twelve months as a bar chart, for the
// window and the paper alike, and the printed overview, its table sheet by sheet and the chart
// after it. Device units, origin at the top-left of the printable area.

#include "DrawOps.h"
#include "SummaryLayout.h"
#include "YearOverview.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zadw {

// Dark for the report year's months, light for the year before's; in grey they still differ.
constexpr std::uint32_t kChartReportsColor = 0x2F5F8F;
constexpr std::uint32_t kChartReportsLastYearColor = 0xA9C2DC;
constexpr std::uint32_t kChartHoursColor = 0x3F7F3F;
constexpr std::uint32_t kChartHoursLastYearColor = 0xB4D4B4;

// The group's months inside area: the reports as a row of bars above, the hours below, each
// bar's figure over it, the months under the lower row (with the year under the first month and
// under January). Nothing is drawn outside area.
void LayOutYearChart(Page& page, const YearOverview& year, const Rect& area, const Font& font,
                     const TextMeasure& measure);

// The chart's figures as one text, for a screen reader: "nov 2025: Rapporterat 20, Timmar 250".
std::string YearChartText(const YearOverview& year);

// "regelbunden 20, oregelbunden 5, inaktiv 2".
std::string RegularityCountsText(const YearOverview& year);

struct YearPrint {
    bool onlyFollowUp = false; // the window's filter
    int groupNumber = 0;
};

// Every sheet of the printed overview: a title, the table with its headings on each sheet, and
// the chart below the last row or on a sheet of its own. Texts too wide for their cells are
// shortened; nothing lies outside the printable area.
std::vector<Page> LayOutPrintedYear(const YearOverview& year, const YearPrint& print,
                                    const PrinterMeasures& device, const TextMeasure& measure);

} // namespace zadw
