// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The screen page of the preview: at most 18 publishers laid out in proportion to the pane.

#include "DrawOps.h"
#include "GroupStore.h"

#include <string>
#include <vector>

namespace zadw {

constexpr int kScreenRows = 18;

// The pane's client size and the desktop's border width and height.
struct ScreenMeasures {
    int width = 0;
    int height = 0;
    int cx = 1;
    int cy = 1;
    // The pane's font as it comes out; without it, texts are not shortened to their cells.
    const TextMeasure* measure = nullptr;
};

constexpr std::uint32_t kHeadingBandColor = 0xC0C0C0;

// The height of the heading band and of each row on a pane of that height.
int ScreenRowHeight(int paneHeight);

// A screen page as a screen reader takes it: the headings of its columns and the texts of its
// rows in full, where the pane may have to shorten them.
struct ScreenRow {
    std::vector<std::string> cells; // one per heading
    int band = 1;                   // the ruled band it stands in; 0 is the heading band
    bool wide = false;              // one line across the page below the grid, in cells[0]
};
struct ScreenTable {
    std::vector<std::string> headings;
    std::vector<ScreenRow> rows;
    bool newForm = true;
};

// Publishers firstShown + 1 .. endShown (at most 18) of month m (0..11). The store is only read.
ScreenTable ScreenPageTable(GroupStore& store, int m, int firstShown, int endShown);
std::vector<DrawOp> DrawScreenPage(GroupStore& store, int m, const ScreenMeasures& pane,
                                   int firstShown, int endShown);

// Where a cell of the table lies on the pane, right and bottom exclusive. The last column, and
// a wide row's text, reach the pane's right edge.
Rect ScreenCellRect(const ScreenMeasures& pane, const ScreenTable& table, int band, int column,
                    bool wide = false);

// What every screen page shares: the background, the heading band, the value columns' lines
// down to columnBottom, ruledRows row lines, and the headings (firstHeading at the left, the
// form's value headings, lastHeading at the right). Returns where the rows' cells go.
struct ScreenGrid {
    int rowHeight = 0;
    int columnWidth = 0;
    int remarksX = 0;
    Font font;
    // The right edge of value column k's text.
    int valueRight(const ScreenMeasures& pane, std::size_t k) const {
        return pane.width / 4 + (static_cast<int>(k) + 1) * columnWidth - 10 * pane.cx;
    }
};
ScreenGrid DrawScreenFrame(std::vector<DrawOp>& ops, const ScreenMeasures& pane, bool newForm,
                           int columnBottom, int ruledRows, const std::string& firstHeading,
                           const std::string& lastHeading, LayoutLanguage language);

} // namespace zadw
