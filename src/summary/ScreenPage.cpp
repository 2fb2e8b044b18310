// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenPage.h"

#include "Strings.h"
#include "SummaryCells.h"
#include "SummaryLayout.h"

#include <algorithm>

namespace zadw {

int ScreenRowHeight(int paneHeight) {
    // The heading band and each of the 18 rows get a ruled band of their own.
    return paneHeight / (kScreenRows + 1);
}

ScreenGrid DrawScreenFrame(std::vector<DrawOp>& ops, const ScreenMeasures& pane, bool newForm,
                           int columnBottom, int ruledRows, const std::string& firstHeading,
                           const std::string& lastHeading, LayoutLanguage language) {
    const int W = pane.width;
    const int cx = pane.cx;
    const int cy = pane.cy;
    ScreenGrid grid;
    ops.push_back(DrawOp::makeBackground({0, 0, W + 1, pane.height + 5 * cy}));

    // The heading band and each of the 18 rows get a ruled band of their own, so the last row
    // stays above the pane's lower edge.
    grid.rowHeight = ScreenRowHeight(pane.height);
    ops.push_back(DrawOp::makeFill({0, 0, W, grid.rowHeight}, kHeadingBandColor));

    grid.columnWidth = newForm ? W / 11 : W / 12;
    const int lines = newForm ? 6 : 7;
    for (int j = 0; j < lines; ++j) {
        const int x = W / 4 + j * grid.columnWidth;
        ops.push_back(DrawOp::makeLine(x, 0, x, columnBottom, 1));
    }
    for (int i = 1; i <= ruledRows; ++i) {
        ops.push_back(DrawOp::makeLine(0, i * grid.rowHeight, W, i * grid.rowHeight, 1));
    }

    grid.font.kind = FontKind::StockVariable;
    ops.push_back(DrawOp::makeText(2 * cx, cy, firstHeading, grid.font));
    const auto columns = SummaryColumns(newForm);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const int right = W / 4 + (static_cast<int>(k) + 1) * grid.columnWidth - 8 * cx;
        ops.push_back(
            DrawOp::makeText(right, cy, LoadString(*columns[k].heading), grid.font, Align::Right));
    }
    const int lastHeadingRight = language == LayoutLanguage::Greek ? W - W / 20 : W - W / 10;
    ops.push_back(DrawOp::makeText(lastHeadingRight, cy, lastHeading, grid.font, Align::Right));
    grid.remarksX = W / 4 + 2 * cx + 6 * (newForm ? W / 13 : W / 12);
    return grid;
}

ScreenTable ScreenPageTable(GroupStore& store, int m, int firstShown, int endShown) {
    const bool newForm = store.newFormActive;
    ScreenTable table;
    table.newForm = newForm;
    const auto columns = SummaryColumns(newForm);
    table.headings.push_back(LoadString(StringId::NameHeading));
    for (const SummaryColumn& column : columns) {
        table.headings.push_back(LoadString(*column.heading));
    }
    table.headings.push_back(LoadString(StringId::OldFormRemarks));

    // Never past the group's last publisher, whatever the pane was told.
    firstShown = std::max(firstShown, 0);
    const int rows = std::min(
        {kScreenRows, endShown - firstShown, static_cast<int>(store.publisherCount) - firstShown});
    for (int w = 0; w < rows; ++w) {
        const int p = firstShown + w + 1;
        ScreenRow row;
        row.band = w + 1;
        row.cells.push_back(store.displayName(p, false));
        for (const SummaryColumn& column : columns) {
            row.cells.push_back(ValueCellText(store, p, m, newForm, column));
        }
        row.cells.push_back(RemarksText(store, p, m));
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::vector<DrawOp> DrawScreenPage(GroupStore& store, int m, const ScreenMeasures& pane,
                                   int firstShown, int endShown) {
    const int W = pane.width;
    const int cx = pane.cx;
    const int cy = pane.cy;
    const ScreenTable table = ScreenPageTable(store, m, firstShown, endShown);
    std::vector<DrawOp> ops;
    const ScreenGrid grid =
        DrawScreenFrame(ops, pane, table.newForm, pane.height + 3 * cy, kScreenRows,
                        table.headings.front(), table.headings.back(), store.language);
    const int rowHeight = grid.rowHeight;
    const int remarksX = grid.remarksX;
    const Font& font = grid.font;

    // Long names stop before the first value column, long remarks before the pane's edge.
    const auto fitted = [&](const std::string& text, int room) {
        return pane.measure != nullptr ? FitToWidth(text, room, font, *pane.measure) : text;
    };
    for (const ScreenRow& row : table.rows) {
        const int w = row.band - 1;
        const int y = row.band * rowHeight + cy;
        ops.push_back(DrawOp::makeText(2 * cx, y, fitted(row.cells.front(), W / 4 - 4 * cx), font));
        for (std::size_t k = 0; k + 2 < row.cells.size(); ++k) {
            const std::string& cell = row.cells[k + 1];
            if (!cell.empty()) {
                ops.push_back(
                    DrawOp::makeText(grid.valueRight(pane, k), y, cell, font, Align::Right));
            }
        }
        std::string remarks = fitted(row.cells.back(), W - 2 * cx - remarksX);
        if (!remarks.empty()) {
            DrawOp op = DrawOp::makeText(remarksX, y, std::move(remarks), font);
            op.clip = Rect{7 * (W / 10) + 2 * cx, y, W, (w + 2) * rowHeight + cy};
            ops.push_back(std::move(op));
        }
    }
    return ops;
}

Rect ScreenCellRect(const ScreenMeasures& pane, const ScreenTable& table, int band, int column,
                    bool wide) {
    const int W = pane.width;
    const int rowHeight = ScreenRowHeight(pane.height);
    const int values = static_cast<int>(table.headings.size()) - 2;
    // As DrawScreenFrame rules them: the names' quarter, then the value columns, then the rest.
    const int columnWidth = table.newForm ? W / 11 : W / 12;
    Rect r{0, band * rowHeight, W, (band + 1) * rowHeight};
    if (wide) {
        return r;
    }
    if (column > 0) {
        r.left = W / 4 + (std::min(column, values + 1) - 1) * columnWidth;
    }
    if (column <= values) {
        r.right = W / 4 + column * columnWidth;
    }
    return r;
}

} // namespace zadw
