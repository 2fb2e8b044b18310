// SPDX-License-Identifier: GPL-3.0-or-later
// zadw-tool totals: the group's figures for a month, as a table or as JSON.

#include "GroupTotals.h"
#include "Strings.h"
#include "ToolSupport.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace zadw::tool {

int totalsCommand(const std::vector<std::string>& args);
int totalsCommandOn(const std::vector<std::string>& args, int year, int monthIndex);

namespace {

constexpr const char* kName = "totals";

struct TotalsArgs : MonthArgs {
    bool json = false;
};

bool parseArgs(const std::vector<std::string>& args, TotalsArgs& out, std::string& error) {
    const auto own = [&out](const std::vector<std::string>& words, std::size_t& i, std::string&) {
        if (words[i] != "--json") {
            return OptionTaken::No;
        }
        out.json = true;
        return OptionTaken::Yes;
    };
    return parseMonthArgs(args, out, own, "expects FILE [--month 1-12] [--form new|old] [--json]",
                          error);
}

nlohmann::ordered_json figures(const CategoryTotals& c, bool newForm, bool withCategory) {
    nlohmann::ordered_json j;
    if (withCategory) {
        j["category"] = c.category;
    }
    j["publishers"] = c.publishers;
    j["reports"] = c.reports;
    // Quarter steps are exact in a double.
    j["hours"] = c.quarters / 4.0;
    j["creditHours"] = c.creditHours;
    const auto values = TotalsValues(newForm);
    for (std::size_t i = 0; i < values.size(); ++i) {
        j[values[i].jsonKey] = c.values[i];
    }
    return j;
}

std::string totalsJson(const GroupTotals& t) {
    nlohmann::ordered_json j;
    j["month"] = t.month;
    j["form"] = t.newForm ? "new" : "old";
    j["publishers"] = t.publishers;
    j["missing"] = t.missing;
    j["remarkOnly"] = t.remarkOnly;
    j["categories"] = nlohmann::ordered_json::array();
    for (const CategoryTotals& c : t.categories) {
        j["categories"].push_back(figures(c, t.newForm, true));
    }
    j["counted"] = figures(t.counted, t.newForm, false);
    j["late"] = nlohmann::ordered_json::array();
    for (const LateMonth& late : t.late) {
        j["late"].push_back({{"publisher", late.publisher}, {"month", late.month}});
    }
    return j.dump(2) + "\n";
}

std::string hoursText(int quarters) {
    static const char* const fractions[] = {"", ".25", ".5", ".75"};
    return std::to_string(quarters / 4) + fractions[quarters % 4];
}

std::string totalsTable(const GroupTotals& t) {
    std::vector<std::string> heads{"", "publishers", "reports", "hours", "creditHours"};
    for (const TotalsValue& v : TotalsValues(t.newForm)) {
        heads.emplace_back(v.jsonKey);
    }
    std::vector<std::vector<std::string>> rows{heads};
    const auto rowOf = [&](const std::string& label, const CategoryTotals& c) {
        std::vector<std::string> row{label, std::to_string(c.publishers), std::to_string(c.reports),
                                     hoursText(c.quarters), std::to_string(c.creditHours)};
        for (const long v : c.values) {
            row.push_back(std::to_string(v));
        }
        return row;
    };
    for (const CategoryTotals& c : t.categories) {
        std::string label = CategoryName(c.category);
        if (c.category == kSpecialPioneer) {
            label += " (" + LoadString(StringId::NotCounted) + ")";
        }
        rows.push_back(rowOf(label, c));
    }
    rows.push_back(rowOf(LoadString(StringId::CountedTotal), t.counted));

    std::string out = monthName(t.month) + ", " + (t.newForm ? "new" : "old") + " form\n";
    out += alignedRows(rows);
    out += "missing " + std::to_string(t.missing) + " of " + std::to_string(t.publishers) +
           " publishers\n";
    out += "remark only " + std::to_string(t.remarkOnly) + " of " + std::to_string(t.publishers) +
           " publishers\n";
    for (const LateMonth& late : t.late) {
        out += "late " + monthName(late.month) + ": " + late.publisher + "\n";
    }
    return out;
}

} // namespace

int totalsCommandOn(const std::vector<std::string>& args, int year, int monthIndex) {
    TotalsArgs parsed;
    GroupMonth group;
    const int status = startMonthCommand(kName, args, year, monthIndex, parseArgs, parsed, group);
    if (status != kExitOk) {
        return status;
    }
    const GroupTotals totals = ComputeGroupTotals(group.store, group.month, group.newForm);
    return writeOutput(parsed.json ? totalsJson(totals) : totalsTable(totals)) ? kExitOk
                                                                               : kExitFailed;
}

int totalsCommand(const std::vector<std::string>& args) {
    return runToday(totalsCommandOn, args);
}

} // namespace zadw::tool
