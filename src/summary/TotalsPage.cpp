// SPDX-License-Identifier: GPL-3.0-or-later
#include "TotalsPage.h"

#include "Strings.h"
#include "SummaryCells.h"

namespace zadw {

ScreenTable ScreenTotalsTable(const TotalsBlock& block, bool newForm) {
    ScreenTable table;
    table.newForm = newForm;
    const auto columns = SummaryColumns(newForm);
    table.headings.push_back(block.heading);
    for (const SummaryColumn& column : columns) {
        table.headings.push_back(LoadString(*column.heading));
    }
    table.headings.push_back(block.reportsHeading);

    int band = 1;
    for (const TotalsRow& totals : block.rows) {
        ScreenRow row;
        row.band = band++;
        row.cells.push_back(totals.label);
        for (std::size_t k = 0; k < columns.size(); ++k) {
            row.cells.push_back(k < totals.values.size() ? totals.values[k] : std::string());
        }
        std::string reports = totals.reports;
        if (!totals.remarks.empty()) {
            reports += "  " + totals.remarks;
        }
        row.cells.push_back(std::move(reports));
        table.rows.push_back(std::move(row));
    }
    // One ruled band stays free under the grid, as the main window's status lines stand apart.
    ++band;
    for (const std::string& line : block.statusLines) {
        ScreenRow row;
        row.band = band++;
        row.wide = true;
        row.cells.assign(table.headings.size(), std::string());
        row.cells.front() = line;
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::vector<DrawOp> DrawScreenTotalsPage(const TotalsBlock& block, bool newForm,
                                         const ScreenMeasures& pane, LayoutLanguage language) {
    const int cx = pane.cx;
    const int cy = pane.cy;
    const ScreenTable table = ScreenTotalsTable(block, newForm);
    std::vector<DrawOp> ops;

    // The same grid as the publishers' pages, so the figures stand under the same headings.
    const int ruledRows = static_cast<int>(block.rows.size()) + 1;
    const ScreenGrid grid =
        DrawScreenFrame(ops, pane, newForm, ruledRows * ScreenRowHeight(pane.height), ruledRows,
                        table.headings.front(), table.headings.back(), language);
    const int rowHeight = grid.rowHeight;
    const int remarksX = grid.remarksX;
    const Font& font = grid.font;

    for (const ScreenRow& row : table.rows) {
        const int y = row.band * rowHeight + cy;
        ops.push_back(DrawOp::makeText(2 * cx, y, row.cells.front(), font));
        if (row.wide) {
            continue;
        }
        for (std::size_t k = 0; k + 2 < row.cells.size(); ++k) {
            if (!row.cells[k + 1].empty()) {
                ops.push_back(DrawOp::makeText(grid.valueRight(pane, k), y, row.cells[k + 1], font,
                                               Align::Right));
            }
        }
        DrawOp op = DrawOp::makeText(remarksX, y, row.cells.back(), font);
        op.clip = Rect{remarksX, y, pane.width, (row.band + 1) * rowHeight + cy};
        ops.push_back(std::move(op));
    }
    return ops;
}

} // namespace zadw
