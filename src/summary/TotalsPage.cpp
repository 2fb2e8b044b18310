// SPDX-License-Identifier: GPL-3.0-or-later
#include "TotalsPage.h"

#include "Strings.h"
#include "SummaryCells.h"

namespace zadw {

std::vector<DrawOp> DrawScreenTotalsPage(const TotalsBlock& block, bool newForm,
                                         const ScreenMeasures& pane,
                                         const std::string& languageTag) {
    const int W = pane.width;
    const int H = pane.height;
    const int cx = pane.cx;
    const int cy = pane.cy;
    std::vector<DrawOp> ops;

    // The same grid as the publishers' pages, so the figures stand under the same headings.
    ops.push_back(DrawOp::makeBackground({0, 0, W + 1, H + 5 * cy}));
    const int rowHeight = ScreenRowHeight(H);
    ops.push_back(DrawOp::makeFill({0, 0, W, rowHeight}, kHeadingBandColor));
    const int columnWidth = newForm ? W / 11 : W / 12;
    const int lines = newForm ? 6 : 7;
    const int ruledRows = static_cast<int>(block.rows.size()) + 1;
    for (int j = 0; j < lines; ++j) {
        const int x = W / 4 + j * columnWidth;
        ops.push_back(DrawOp::makeLine(x, 0, x, ruledRows * rowHeight, 1));
    }
    for (int i = 1; i <= ruledRows; ++i) {
        ops.push_back(DrawOp::makeLine(0, i * rowHeight, W, i * rowHeight, 1));
    }

    Font font;
    font.kind = FontKind::StockVariable;
    ops.push_back(DrawOp::makeText(2 * cx, cy, block.heading, font));
    const auto columns = SummaryColumns(newForm);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const int right = W / 4 + (static_cast<int>(k) + 1) * columnWidth - 8 * cx;
        ops.push_back(
            DrawOp::makeText(right, cy, LoadString(columns[k].headingId), font, Align::Right));
    }
    const int remarksHeadingRight = languageTag == "greek" ? W - W / 20 : W - W / 10;
    ops.push_back(
        DrawOp::makeText(remarksHeadingRight, cy, block.reportsHeading, font, Align::Right));

    const int remarksX = W / 4 + 2 * cx + 6 * (newForm ? W / 13 : W / 12);
    for (std::size_t r = 0; r < block.rows.size(); ++r) {
        const TotalsRow& row = block.rows[r];
        const int w = static_cast<int>(r);
        const int y = (w + 1) * rowHeight + cy;
        ops.push_back(DrawOp::makeText(2 * cx, y, row.label, font));
        for (std::size_t k = 0; k < row.values.size() && k < columns.size(); ++k) {
            if (!row.values[k].empty()) {
                const int right = W / 4 + (static_cast<int>(k) + 1) * columnWidth - 10 * cx;
                ops.push_back(DrawOp::makeText(right, y, row.values[k], font, Align::Right));
            }
        }
        std::string remarks = row.reports;
        if (!row.remarks.empty()) {
            remarks += "  " + row.remarks;
        }
        DrawOp op = DrawOp::makeText(remarksX, y, std::move(remarks), font);
        op.clip = Rect{remarksX, y, W, (w + 2) * rowHeight + cy};
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
