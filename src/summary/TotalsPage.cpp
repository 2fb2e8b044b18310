// SPDX-License-Identifier: GPL-3.0-or-later
#include "TotalsPage.h"

#include "Strings.h"
#include "SummaryCells.h"

namespace zadw {

std::vector<DrawOp> DrawScreenTotalsPage(const TotalsBlock& block, bool newForm,
                                         const ScreenMeasures& pane, LayoutLanguage language) {
    const int cx = pane.cx;
    const int cy = pane.cy;
    std::vector<DrawOp> ops;

    // The same grid as the publishers' pages, so the figures stand under the same headings.
    const int ruledRows = static_cast<int>(block.rows.size()) + 1;
    const ScreenGrid grid =
        DrawScreenFrame(ops, pane, newForm, ruledRows * ScreenRowHeight(pane.height), ruledRows,
                        block.heading, block.reportsHeading, language);
    const int rowHeight = grid.rowHeight;
    const int remarksX = grid.remarksX;
    const Font& font = grid.font;
    const auto columns = SummaryColumns(newForm);

    for (std::size_t r = 0; r < block.rows.size(); ++r) {
        const TotalsRow& row = block.rows[r];
        const int w = static_cast<int>(r);
        const int y = (w + 1) * rowHeight + cy;
        ops.push_back(DrawOp::makeText(2 * cx, y, row.label, font));
        for (std::size_t k = 0; k < row.values.size() && k < columns.size(); ++k) {
            if (!row.values[k].empty()) {
                ops.push_back(DrawOp::makeText(grid.valueRight(pane, k), y, row.values[k], font,
                                               Align::Right));
            }
        }
        std::string remarks = row.reports;
        if (!row.remarks.empty()) {
            remarks += "  " + row.remarks;
        }
        DrawOp op = DrawOp::makeText(remarksX, y, std::move(remarks), font);
        op.clip = Rect{remarksX, y, pane.width, (w + 2) * rowHeight + cy};
        ops.push_back(std::move(op));
    }
    // Below the grid, as the main window's status lines read.
    int y = (ruledRows + 1) * rowHeight + cy;
    for (const std::string& line : block.statusLines) {
        ops.push_back(DrawOp::makeText(2 * cx, y, line, font));
        y += rowHeight;
    }
    return ops;
}

} // namespace zadw
