// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printed summary list: every string, line and font of every sheet, in printer device units
// with the origin at the top-left of the printable area.

#include "DrawOps.h"
#include "GroupStore.h"

#include <array>
#include <string>
#include <vector>

namespace zadw {

// What the printer tells about itself before the document starts.
struct PrinterMeasures {
    int pixelsPerInchX = 0;
    int pixelsPerInchY = 0;
    int textHeight = 0; // text-metric height of the printer's default font
    // The printable area of the chosen paper and orientation; 0 where the device does not say.
    int pageWidth = 0;
    int pageHeight = 0;
};

struct PageMetrics {
    int top = 0;
    int left = 0;
    int lineHeight = 0; // header line height; the row height while rows are laid out
    int phoneX = 0;
    int line = 0; // current line of the sheet; the first row is line 4
    int pixelsPerInchY = 0;
    int pixelsPerInchX = 0;
    int pageWidth = 0; // printable area; 0: not known, and then a sheet holds the full 32 rows
    int pageHeight = 0;
    std::string title;
    std::string subtitle;
};

struct GridSpec {
    int top = 0;
    int left = 0;
    int rowHeight = 0;
    int rows = 0;
    std::vector<int> xs; // vertical lines; the last is also the frame's right edge
};

// Positions of the printed table, derived from the resolution.
struct PrintPositions {
    int nameLine = 0;   // between the name and telephone columns
    int valueStart = 0; // left line of value column 0
    int columnWidth = 0;
    std::array<int, 6> colLine{};
    int rowHeight = 0;
    int gridTop = 0;
    int gridLeft = 0;

    int cellLeft(int k) const {
        return k == 0 ? valueStart : colLine[static_cast<std::size_t>(k - 1)];
    }
};

// Needs left and phoneX as PrintSummaryPages sets them.
PrintPositions ComputePrintPositions(const PageMetrics& pm, bool newForm);

// Arial at tenths of a point on a device of pixelsPerInchY, through ApplyLanguageFont.
Font PrintFont(int pixelsPerInchY, int tenthsOfPoint, bool bold, LayoutLanguage language);
// The character set of the language; weight 700 when bold.
void ApplyLanguageFont(Font& font, bool bold, LayoutLanguage language);

PageMetrics GetPageMetrics(const PrinterMeasures& device);

// Shrinks the whole list in proportion when its table is wider than the paper, so that no
// column is lost on narrow paper (A5 portrait).
void FitToPaperWidth(PageMetrics& pm, bool newForm);

// Whole rows that fit on a sheet below its header and headings, inside the printable height: at
// most 32, at least 1. Needs the metrics as PrintSummaryPages sets them.
int RowsPerSheet(const PageMetrics& pm, const PrintPositions& pos);

// The y of the ruled line under the rows laid out so far on the current sheet (the top line of
// the grid when it has none): what comes after the list starts below it.
int RowsBottom(const PageMetrics& pm, const PrintPositions& pos);

// text as it is when it is at most maxWidth wide in font; otherwise its longest start that fits
// with "…" after it, or nothing when not even "…" fits.
std::string FitToWidth(const std::string& text, int maxWidth, const Font& font,
                       const TextMeasure& measure);

// All publishers of month m (0..11), as many rows a sheet as RowsPerSheet allows. Narrows pm.left
// and sets phoneX, subtitle, line and lineHeight as it goes; after the last row pm.line is the
// line below it (RowsBottom). pm.title is the caller's (SummaryTitle). The store is only read.
// withTotals ends the list with the group's totals, on one more sheet when they do not fit.
std::vector<Page> PrintSummaryPages(GroupStore& store, int m, PageMetrics& pm,
                                    const TextMeasure& measure, bool withTotals = false);

// Title, subtitle and the name and telephone headings at the top of a sheet.
void PrintPageHeader(Page& page, const PageMetrics& pm, LayoutLanguage language,
                     const std::string& nameHeading, const std::string& phoneHeading);

void DrawGrid(Page& page, const GridSpec& grid);

// The whole print run: metrics, title and every sheet.
std::vector<Page> LayOutPrintedList(GroupStore& store, int m, const PrinterMeasures& device,
                                    const TextMeasure& measure);

} // namespace zadw
