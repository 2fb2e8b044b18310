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
};

struct PageMetrics {
    int top = 0;
    int left = 0;
    int lineHeight = 0; // header line height; the row height while rows are laid out
    int phoneX = 0;
    int line = 0; // current line of the sheet; the first row is line 4
    int pixelsPerInchY = 0;
    int pixelsPerInchX = 0;
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
Font PrintFont(int pixelsPerInchY, int tenthsOfPoint, bool bold, const std::string& languageTag);
// The character set of the language; weight 700 when bold.
void ApplyLanguageFont(Font& font, bool bold, const std::string& languageTag);

PageMetrics GetPageMetrics(const PrinterMeasures& device);

// All publishers of month m (0..11), 32 rows a sheet. Narrows pm.left and sets phoneX, subtitle,
// line and lineHeight as it goes; pm.title is the caller's (SummaryTitle). The store is only read.
std::vector<Page> PrintSummaryPages(GroupStore& store, int m, PageMetrics& pm);

// Title, subtitle and the name and telephone headings at the top of a sheet.
void PrintPageHeader(Page& page, const PageMetrics& pm, const std::string& languageTag,
                     const std::string& nameHeading, const std::string& phoneHeading);

void DrawGrid(Page& page, const GridSpec& grid);

// The whole print run: metrics, title and every sheet.
std::vector<Page> LayOutPrintedList(GroupStore& store, int m, const PrinterMeasures& device);

} // namespace zadw
