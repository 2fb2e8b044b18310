// SPDX-License-Identifier: GPL-3.0-or-later
// zadw-tool year: every publisher's twelve months, regularity and service year.

#include "YearCommand.h"

#include "GroupJson.h"
#include "Strings.h"
#include "ToolSupport.h"
#include "YearOverviewCells.h"
#include "YearOverviewLayout.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace zadw::tool {
namespace {

constexpr const char* kName = "year";
constexpr const char* kUsage = "expects FILE [--month 1-12] [--year YYYY] [--json | --csv]";

enum class Output { Table, Json, Csv };

struct YearArgs : MonthArgs {
    std::optional<int> year;
    Output output = Output::Table;
};

std::optional<int> parseYear(const std::string& text) {
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int year = std::stoi(text);
    return year >= 1 ? std::optional<int>(year) : std::nullopt;
}

bool parseArgs(const std::vector<std::string>& args, YearArgs& out, std::string& error) {
    const auto own = [&out](const std::vector<std::string>& words, std::size_t& i,
                            std::string& why) {
        const std::string& a = words[i];
        if (a == "--json" || a == "--csv") {
            const Output chosen = a == "--json" ? Output::Json : Output::Csv;
            if (out.output != Output::Table && out.output != chosen) {
                why = "--json and --csv exclude each other";
                return OptionTaken::Bad;
            }
            out.output = chosen;
            return OptionTaken::Yes;
        }
        if (a != "--year") {
            return OptionTaken::No;
        }
        if (i + 1 >= words.size()) {
            why = "--year needs a value";
            return OptionTaken::Bad;
        }
        out.year = parseYear(words[++i]);
        if (!out.year) {
            why = "--year \"" + words[i] + "\" is not a year (YYYY)";
            return OptionTaken::Bad;
        }
        return OptionTaken::Yes;
    };
    if (!parseMonthArgs(args, out, own, kUsage, error)) {
        return false;
    }
    if (out.newForm) {
        error = "--form is no option of year: every month is read in its own form";
        return false;
    }
    return true;
}

double hours(int quarters) {
    return quarters / 4.0; // quarter steps are exact in a double
}

std::string yearMonthKey(const CalendarMonth& date) {
    const std::string month = std::to_string(date.month + 1);
    std::string year = std::to_string(date.year);
    year.insert(0, year.size() < 4 ? 4 - year.size() : 0, '0');
    return year + (month.size() < 2 ? "-0" : "-") + month;
}

} // namespace

std::string YearJson(const YearOverview& year) {
    nlohmann::ordered_json j;
    j["month"] = year.month;
    j["year"] = year.year;
    j["serviceYear"] = year.serviceYear;
    j["publishers"] = nlohmann::ordered_json::array();
    for (const PublisherYear& p : year.publishers) {
        nlohmann::ordered_json pj;
        pj["name"] = p.name;
        pj["category"] = p.category;
        pj["regularity"] = RegularityKey(p.regularity);
        pj["serviceYearHours"] = hours(p.serviceYearQuarters);
        pj["serviceYearCreditHours"] = p.serviceYearCreditHours;
        pj["goal"] = p.goal ? nlohmann::ordered_json(*p.goal) : nlohmann::ordered_json(nullptr);
        pj["months"] = nlohmann::ordered_json::array();
        for (const PublisherMonth& m : p.months) {
            nlohmann::ordered_json mj;
            mj["month"] = m.date.month;
            mj["year"] = m.date.year;
            mj["reported"] = m.reported;
            mj["remarkOnly"] = m.remarkOnly;
            mj["late"] = m.late;
            mj["hours"] = hours(m.quarters);
            mj["creditHours"] = m.creditHours;
            pj["months"].push_back(mj);
        }
        j["publishers"].push_back(pj);
    }
    j["regularity"] = {
        {"regular", year.regular}, {"irregular", year.irregular}, {"inactive", year.inactive}};
    return formatGroupJson(j); // a month a line, as dump writes them
}

std::string YearCsv(const YearOverview& year) {
    std::vector<std::string> heads{"name", "category", "regularity"};
    for (const ChartMonth& g : year.group) {
        heads.push_back(yearMonthKey(g.date));
    }
    heads.insert(heads.end(), {"serviceYearHours", "serviceYearCreditHours", "goal"});
    std::string out = CsvRecord(heads, ',');
    for (const PublisherYear& p : year.publishers) {
        std::vector<std::string> row{p.name, std::to_string(p.category),
                                     RegularityKey(p.regularity)};
        for (const PublisherMonth& m : p.months) {
            row.push_back(m.reported ? DecimalHours(m.quarters, '.') : std::string());
        }
        row.push_back(DecimalHours(p.serviceYearQuarters, '.'));
        row.push_back(std::to_string(p.serviceYearCreditHours));
        row.push_back(p.goal ? std::to_string(*p.goal) : std::string());
        out += CsvRecord(row, ',');
    }
    return out;
}

std::string YearTable(const YearOverview& year) {
    std::vector<std::string> heads{"", "category", "regularity"};
    for (const ChartMonth& g : year.group) {
        heads.push_back(yearMonthKey(g.date));
    }
    heads.insert(heads.end(), {"serviceYear", "credit", "goal"});
    std::vector<std::vector<std::string>> rows{heads};
    for (const PublisherYear& p : year.publishers) {
        std::vector<std::string> row{p.name, std::to_string(p.category),
                                     RegularityText(p.regularity)};
        for (const PublisherMonth& m : p.months) {
            std::string cell = "-";
            if (m.reported) {
                cell = DecimalHours(m.quarters, '.');
            } else if (m.remarkOnly) {
                cell = TrimBlanks(LoadString(StringId::RemarkOnlyMark));
            }
            if (m.reported && m.late) {
                cell += LoadString(StringId::LateMark);
            }
            row.push_back(cell);
        }
        row.push_back(DecimalHours(p.serviceYearQuarters, '.'));
        row.push_back(std::to_string(p.serviceYearCreditHours));
        row.push_back(p.goal ? std::to_string(*p.goal) : std::string());
        rows.push_back(std::move(row));
    }
    return LongMonthYearText(year.group.front().date) + " - " +
           LongMonthYearText(year.group.back().date) + ", " + ServiceYearText(year.serviceYear) +
           "\n" + alignedRows(rows) + RegularityCountsText(year) + "\n";
}

int yearCommandOn(const std::vector<std::string>& args, int year, int monthIndex) {
    YearArgs parsed;
    GroupMonth group;
    const int status = startMonthCommand(kName, args, year, monthIndex, parseArgs, parsed, group);
    if (status != kExitOk) {
        return status;
    }
    const int reportYear = parsed.year.value_or(ReportMonthYear(year, monthIndex, group.month));
    const YearOverview overview = ComputeYearOverview(group.store, group.month, reportYear);
    std::string text;
    switch (parsed.output) {
    case Output::Json:
        text = YearJson(overview);
        break;
    case Output::Csv:
        text = YearCsv(overview);
        break;
    case Output::Table:
        text = YearTable(overview);
        break;
    }
    return writeOutput(text) ? kExitOk : kExitFailed;
}

int yearCommand(const std::vector<std::string>& args) {
    return runToday(yearCommandOn, args);
}

} // namespace zadw::tool
