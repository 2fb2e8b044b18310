// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearOverviewCells.h"

#include "GroupTotals.h"
#include "Strings.h"
#include "SummaryCells.h"

#include <algorithm>
#include <string_view>

namespace zadw {
namespace {

constexpr const char* kEllipsis = "\u2026";

std::string firstChars(const std::string& text, std::size_t chars) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && seen++ == chars) {
            return text.substr(0, i);
        }
    }
    return text;
}

std::string hoursOrZero(int quarters) {
    return quarters == 0 ? std::string("0") : TotalHoursText(quarters);
}

// The category of a month as the report entry names it; a publisher's is blank there too.
std::string categoryText(int category) {
    static constexpr StringId kNames[] = {StringId::AuxiliaryPioneer, StringId::RegularPioneer,
                                          StringId::SpecialPioneer};
    return category >= 1 && category <= 3 ? LoadString(kNames[category - 1]) : std::string();
}

} // namespace

std::string RegularityText(Regularity r) {
    switch (r) {
    case Regularity::Regular:
        return LoadString(StringId::Regular);
    case Regularity::Irregular:
        return LoadString(StringId::Irregular);
    case Regularity::Inactive:
        break;
    }
    return LoadString(StringId::Inactive);
}

std::string ShortMonthName(int m) {
    return firstChars(monthName(m), 3);
}

std::string MonthYearText(const CalendarMonth& date) {
    return ShortMonthName(date.month) + " " + std::to_string(date.year);
}

std::string LongMonthYearText(const CalendarMonth& date) {
    return monthName(date.month) + " " + std::to_string(date.year);
}

std::string ServiceYearText(int serviceYear) {
    return FormatText(LoadString(StringId::ServiceYearHeading), std::to_string(serviceYear));
}

std::string YearOverviewTitle() {
    std::string title = TrimBlanks(LoadString(StringId::YearOverviewCommand));
    const std::string ellipsis = kEllipsis;
    if (title.size() >= ellipsis.size() &&
        title.compare(title.size() - ellipsis.size(), ellipsis.size(), ellipsis) == 0) {
        title.resize(title.size() - ellipsis.size());
    }
    return TrimBlanks(title);
}

bool NeedsFollowUp(const PublisherYear& publisher) {
    return publisher.regularity != Regularity::Regular;
}

std::string DecimalHours(int quarters, char point) {
    static const char* const kFractions[] = {"", "25", "5", "75"};
    std::string text = std::to_string(quarters / 4);
    if (quarters % 4 != 0) {
        text += point;
        text += kFractions[quarters % 4];
    }
    return text;
}

std::vector<std::string> YearHeadings(const YearOverview& year) {
    std::vector<std::string> headings{LoadString(StringId::NameHeading),
                                      LoadString(StringId::RegularityHeading)};
    for (const ChartMonth& g : year.group) {
        headings.push_back(MonthYearText(g.date));
    }
    headings.push_back(ServiceYearText(year.serviceYear));
    return headings;
}

std::string YearMonthCell(const PublisherMonth& month) {
    std::string text;
    if (month.reported) {
        text = TotalHoursText(month.quarters);
    } else if (month.remarkOnly) {
        text = TrimBlanks(LoadString(StringId::RemarkOnlyMark));
    } else {
        return text; // a late flag without a report marks nothing
    }
    if (month.late) {
        text += LoadString(StringId::LateMark);
    }
    return text;
}

std::string ServiceYearCell(const PublisherYear& publisher) {
    std::string text = hoursOrZero(publisher.serviceYearQuarters);
    if (publisher.goal) {
        text += " / " + std::to_string(*publisher.goal);
    }
    return text;
}

std::vector<std::string> YearRow(const PublisherYear& publisher) {
    std::vector<std::string> row{publisher.name, RegularityText(publisher.regularity)};
    for (const PublisherMonth& month : publisher.months) {
        row.push_back(YearMonthCell(month));
    }
    row.push_back(ServiceYearCell(publisher));
    return row;
}

std::string CsvRecord(const std::vector<std::string>& cells, char separator) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            line += separator;
        }
        const std::string& cell = cells[i];
        if (cell.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos) {
            line += cell;
            continue;
        }
        line += '"';
        for (const char c : cell) {
            line += c;
            if (c == '"') {
                line += '"';
            }
        }
        line += '"';
    }
    return line + "\r\n";
}

std::string YearOverviewCsv(const YearOverview& year, bool onlyFollowUp) {
    constexpr char kSeparator = ';';
    constexpr char kDecimalComma = ',';
    std::vector<std::string> headings = YearHeadings(year);
    headings.push_back(LoadString(StringId::GoalHeading));
    std::string out = "\xEF\xBB\xBF" + CsvRecord(headings, kSeparator);
    for (const PublisherYear& p : year.publishers) {
        if (onlyFollowUp && !NeedsFollowUp(p)) {
            continue;
        }
        std::vector<std::string> cells{p.name, RegularityText(p.regularity)};
        for (const PublisherMonth& month : p.months) {
            if (month.reported) {
                cells.push_back(DecimalHours(month.quarters, kDecimalComma));
            } else if (month.remarkOnly) {
                cells.push_back(TrimBlanks(LoadString(StringId::RemarkOnlyMark)));
            } else {
                cells.emplace_back();
            }
        }
        cells.push_back(DecimalHours(p.serviceYearQuarters, kDecimalComma));
        cells.push_back(p.goal ? std::to_string(*p.goal) : std::string());
        out += CsvRecord(cells, kSeparator);
    }
    return out;
}

std::string EntryYearLine(const PublisherYear& publisher, int serviceYear, int reportMonth, int m,
                          int typedQuarters) {
    std::string line =
        LoadString(StringId::RegularityHeading) + ": " + RegularityText(publisher.regularity);
    if (!publisher.goal) {
        return line;
    }
    line += ". " + ServiceYearText(serviceYear) + ": ";
    if (InServiceYearSoFar(m, reportMonth)) {
        const auto stored = std::find_if(publisher.months.begin(), publisher.months.end(),
                                         [m](const PublisherMonth& pm) { return pm.slot == m; });
        const int others = publisher.serviceYearQuarters - stored->quarters;
        line += hoursOrZero(others) + " + " + hoursOrZero(typedQuarters) + " = " +
                hoursOrZero(others + typedQuarters);
    } else {
        line += hoursOrZero(publisher.serviceYearQuarters);
    }
    return line + " / " + std::to_string(*publisher.goal);
}

YearCard MakeYearCard(const GroupStore& store, const PublisherYear& publisher) {
    YearCard card;
    const std::vector<const ReportValue*> values = BothFormsValues();
    card.columns.push_back(LoadString(StringId::CategoryHeading));
    for (const ReportValue* v : values) {
        card.columns.push_back(LoadString(*v->heading));
    }
    card.columns.push_back(LoadString(StringId::CreditHoursHeading));
    card.columns.push_back(LoadString(StringId::RemarkHeading));

    for (const PublisherMonth& month : publisher.months) {
        card.rows.push_back(LongMonthYearText(month.date));
        std::vector<std::string> cells{categoryText(month.category)};
        const std::vector<StoredValue> stored = StoredMonthValues(store, publisher.pub, month.slot);
        for (const ReportValue* column : values) {
            const auto it = std::find_if(stored.begin(), stored.end(), [&](const StoredValue& s) {
                return std::string_view(s.value->jsonKey) == column->jsonKey;
            });
            std::string cell;
            if (it != stored.end() && column->isHours()) {
                cell = TotalHoursText(month.quarters);
                if (month.reported && month.late) {
                    cell += LoadString(StringId::LateMark);
                }
            } else if (it != stored.end() && (month.reported || it->amount != 0)) {
                // A reported month shows its zeros; another only the figures it holds.
                cell = std::to_string(it->amount);
            }
            cells.push_back(cell);
        }
        cells.push_back(ValueText(static_cast<unsigned>(month.creditHours)));
        cells.push_back(store.remarkOf(publisher.pub, month.slot));
        card.cells.push_back(std::move(cells));
    }
    return card;
}

} // namespace zadw
