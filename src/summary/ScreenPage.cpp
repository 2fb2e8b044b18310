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

std::vector<DrawOp> DrawScreenPage(GroupStore& store, int m, const ScreenMeasures& pane,
                                   int firstShown, int endShown) {
    const int W = pane.width;
    const int cx = pane.cx;
    const int cy = pane.cy;
    const bool newForm = store.newFormActive;
    std::vector<DrawOp> ops;
    const ScreenGrid grid = DrawScreenFrame(ops, pane, newForm, pane.height + 3 * cy, kScreenRows,
                                            LoadString(StringId::NameHeading),
                                            LoadString(StringId::OldFormRemarks), store.language);
    const int rowHeight = grid.rowHeight;
    const int remarksX = grid.remarksX;
    const Font& font = grid.font;
    const auto columns = SummaryColumns(newForm);

    // Never past the group's last publisher, whatever the pane was told.
    firstShown = std::max(firstShown, 0);
    const int rows = std::min(
        {kScreenRows, endShown - firstShown, static_cast<int>(store.publisherCount) - firstShown});
    // Long names stop before the first value column, long remarks before the pane's edge.
    const auto fitted = [&](const std::string& text, int room) {
        return pane.measure != nullptr ? FitToWidth(text, room, font, *pane.measure) : text;
    };
    for (int w = 0; w < rows; ++w) {
        const int p = firstShown + w + 1;
        const int y = (w + 1) * rowHeight + cy;
        ops.push_back(
            DrawOp::makeText(2 * cx, y, fitted(store.displayName(p, false), W / 4 - 4 * cx), font));
        for (std::size_t k = 0; k < columns.size(); ++k) {
            std::string cell = ValueCellText(store, p, m, newForm, columns[k]);
            if (!cell.empty()) {
                ops.push_back(DrawOp::makeText(grid.valueRight(pane, k), y, std::move(cell), font,
                                               Align::Right));
            }
        }
        std::string remarks = fitted(RemarksText(store, p, m), W - 2 * cx - remarksX);
        if (!remarks.empty()) {
            DrawOp op = DrawOp::makeText(remarksX, y, std::move(remarks), font);
            op.clip = Rect{7 * (W / 10) + 2 * cx, y, W, (w + 2) * rowHeight + cy};
            ops.push_back(std::move(op));
        }
    }
    return ops;
}

} // namespace zadw
