// SPDX-License-Identifier: GPL-3.0-or-later
#include "GroupTotals.h"

#include "Strings.h"
#include "SummaryCells.h"

#include <algorithm>

namespace zadw {
namespace {

constexpr int kRegularPioneer = 2;

std::string creditText(int creditHours) {
    // Written as the report-entry dialog shows a pioneer's credit.
    if (creditHours == 0) {
        return {};
    }
    return "( + " + std::to_string(creditHours) + " " + LoadString(StringId::OldFormHours) + " )";
}

TotalsRow rowOf(const CategoryTotals& c, bool newForm, const std::string& label) {
    TotalsRow row;
    row.label = label;
    row.reports = std::to_string(c.reports) + " / " + std::to_string(c.publishers);
    const auto values = TotalsValues(newForm);
    for (const SummaryColumn& column : SummaryColumns(newForm)) {
        if (column.isHours()) {
            row.values.push_back(TotalHoursText(c.quarters));
            continue;
        }
        long sum = 0;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (values[i].kind == column.kind) {
                sum = c.values[i];
            }
        }
        row.values.push_back(sum == 0 ? std::string() : std::to_string(sum));
    }
    row.remarks = creditText(c.creditHours);
    return row;
}

} // namespace

std::span<const TotalsValue> TotalsValues(bool newForm) {
    static const auto counts = [](bool form) {
        std::vector<TotalsValue> values;
        for (const ReportValue& v : FormValues(form)) {
            if (v.role == ValueRole::Count) {
                values.push_back(v);
            }
        }
        return values;
    };
    static const std::vector<TotalsValue> newValues = counts(true);
    static const std::vector<TotalsValue> oldValues = counts(false);
    return newForm ? newValues : oldValues;
}

void CategoryTotals::add(const CategoryTotals& other) {
    publishers += other.publishers;
    reports += other.reports;
    quarters += other.quarters;
    creditHours += other.creditHours;
    values.resize(std::max(values.size(), other.values.size()));
    for (std::size_t i = 0; i < other.values.size(); ++i) {
        values[i] += other.values[i];
    }
}

GroupTotals ComputeGroupTotals(const GroupStore& store, int m, bool newForm) {
    GroupTotals totals;
    totals.month = m;
    totals.newForm = newForm;
    totals.publishers = store.publisherCount;
    const auto kinds = TotalsValues(newForm);
    for (int c = 0; c < kCategoryCount; ++c) {
        CategoryTotals& t = totals.categories[static_cast<std::size_t>(c)];
        t.category = c;
        t.values.assign(kinds.size(), 0);
    }
    totals.counted.category = -1;
    totals.counted.values.assign(kinds.size(), 0);
    for (int p = 1; p <= store.publisherCount; ++p) {
        for (const int late : store.lateMonths(p, m)) {
            totals.late.push_back({store.displayName(p, true), late});
        }
    }

    for (int p = 1; p <= store.publisherCount; ++p) {
        const int category = store.record(p).category(m);
        CategoryTotals& t = totals.categories[static_cast<std::size_t>(category)];
        ++t.publishers;
        switch (store.monthState(p, m)) {
        case MonthState::Reported:
            ++t.reports;
            break;
        case MonthState::Missing:
            ++totals.missing;
            break;
        case MonthState::RemarkOnly:
            ++totals.remarkOnly;
            break;
        }
        // The cells the summary list shows, quarter code in bits 0-1 as it reads them.
        t.quarters +=
            store.value(p, m, HoursValue(newForm).kind) * 4 + QuarterCode(store.record(p), m);
        if (category == kRegularPioneer) {
            t.creditHours += store.record(p).creditHours[m];
        }
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            t.values[i] += store.value(p, m, kinds[i].kind);
        }
    }
    for (int c = 0; c < kCategoryCount; ++c) {
        if (c != kSpecialPioneer) {
            totals.counted.add(totals.categories[static_cast<std::size_t>(c)]);
        }
    }
    return totals;
}

std::string TotalHoursText(int quarters) {
    return HoursText(static_cast<unsigned>(quarters / 4), quarters % 4);
}

std::string CategoryName(int category) {
    static constexpr StringId kNames[kCategoryCount] = {
        StringId::CategoryPublishers, StringId::CategoryAuxiliaryPioneers,
        StringId::CategoryRegularPioneers, StringId::CategorySpecialPioneers};
    return LoadString(kNames[category]);
}

TotalsBlock MakeTotalsBlock(const GroupTotals& totals) {
    TotalsBlock block;
    block.heading = LoadString(StringId::TotalsHeading);
    block.reportsHeading = LoadString(StringId::ReportedHeading);
    for (const CategoryTotals& c : totals.categories) {
        TotalsRow row = rowOf(c, totals.newForm, CategoryName(c.category));
        if (c.category == kSpecialPioneer) {
            row.remarks = LoadString(StringId::NotCounted);
        }
        block.rows.push_back(std::move(row));
    }
    block.rows.push_back(rowOf(totals.counted, totals.newForm, LoadString(StringId::CountedTotal)));
    block.statusLines.push_back(
        FormatText(LoadString(StringId::MissingReportsFor), monthName(totals.month)) + " = " +
        std::to_string(totals.missing));
    if (totals.remarkOnly != 0) {
        block.statusLines.push_back(
            FormatArgs(LoadString(StringId::RemarkOnlyFor),
                       {monthName(totals.month), std::to_string(totals.remarkOnly)}));
    }
    block.statusLines.push_back(LoadString(StringId::PublisherTotal) + " = " +
                                std::to_string(totals.publishers));
    return block;
}

PrintedTotals LayOutPrintedTotals(const TotalsBlock& block, bool newForm, const PageMetrics& pm,
                                  const PrintPositions& pos, int top) {
    PrintedTotals out;
    Page& page = out.ops;
    const int X = pm.pixelsPerInchX;
    const int Y = pm.pixelsPerInchY;
    const int rh = pos.rowHeight;
    const Font body = PrintFont(Y, 100, false);
    const Font bold = PrintFont(Y, 100, true);
    const Font small = PrintFont(Y, 80, false);
    const auto columns = SummaryColumns(newForm);
    const int textInset =
        rh / 8 + rh / 6; // the rows' text sits as far below the line as on the sheet

    // Heading row: what the block is, and the value headings again, since the block may start a
    // sheet of its own.
    int y = top + textInset;
    page.push_back(DrawOp::makeText(pm.left, y, block.heading, bold));
    page.push_back(DrawOp::makeText(pm.phoneX, y, block.reportsHeading, body));
    for (std::size_t k = 0; k < columns.size(); ++k) {
        page.push_back(DrawOp::makeText(pos.cellLeft(static_cast<int>(k)) + X / 20, y,
                                        LoadString(*columns[k].heading), body));
    }

    for (std::size_t r = 0; r < block.rows.size(); ++r) {
        const TotalsRow& row = block.rows[r];
        y = top + static_cast<int>(r + 1) * rh + textInset;
        const bool last = r + 1 == block.rows.size();
        page.push_back(DrawOp::makeText(pm.left, y, row.label, last ? bold : body));
        page.push_back(DrawOp::makeText(pm.phoneX, y, row.reports, body));
        for (std::size_t k = 0; k < row.values.size() && k < columns.size(); ++k) {
            if (!row.values[k].empty()) {
                page.push_back(DrawOp::makeText(pos.cellLeft(static_cast<int>(k)) + (4 * X) / 10, y,
                                                row.values[k], last ? bold : body, Align::Right));
            }
        }
        if (!row.remarks.empty()) {
            page.push_back(DrawOp::makeText(pos.colLine[4] + X / 20, y, row.remarks, small));
        }
    }

    const int rows = static_cast<int>(block.rows.size()) + 1;
    GridSpec grid;
    grid.top = top;
    grid.left = pos.gridLeft;
    grid.rowHeight = rh;
    grid.rows = rows;
    grid.xs = {pos.nameLine, pos.valueStart};
    grid.xs.insert(grid.xs.end(), pos.colLine.begin(), pos.colLine.end());
    DrawGrid(page, grid);

    y = top + rows * rh + textInset;
    for (const std::string& line : block.statusLines) {
        page.push_back(DrawOp::makeText(pm.left, y, line, body));
        y += rh;
    }
    out.height = (rows + static_cast<int>(block.statusLines.size())) * rh;
    return out;
}

} // namespace zadw
