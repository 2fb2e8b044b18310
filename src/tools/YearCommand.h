// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zadw-tool year: the group's twelve months per publisher, as a table, JSON or CSV.

#include "YearOverview.h"

#include <string>
#include <vector>

namespace zadw::tool {

// The overview as JSON: months 0-based as in dump and totals, hours in hours to the quarter.
std::string YearJson(const YearOverview& year);
// One RFC 4180 row per publisher: ",", "." decimals, UTF-8, the months headed YYYY-MM.
std::string YearCsv(const YearOverview& year);
// An aligned table for reading.
std::string YearTable(const YearOverview& year);

int yearCommand(const std::vector<std::string>& args);
// The same for a day of year and monthIndex (0..11), which settles the default year.
int yearCommandOn(const std::vector<std::string>& args, int year, int monthIndex);

} // namespace zadw::tool
