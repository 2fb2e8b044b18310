// SPDX-License-Identifier: GPL-3.0-or-later
#include "SummaryLayout.h"

#include "GroupTotals.h"

#include "Strings.h"
#include "SummaryCells.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace zadw {
namespace {

constexpr int kFirstRowLine = 4;
constexpr int kMaxRows = 32; // A4 portrait holds this many; smaller sheets hold fewer
constexpr int kGridPen = 2;
// No letter comes nearer to a ruled line than this: the pen's half width and one unit.
constexpr int kLineClear = kGridPen / 2 + 1;
constexpr const char* kEllipsis = "\u2026";

// Room kept between a text and the ruled line to its right.
int cellGap(const PageMetrics& pm) {
    return pm.pixelsPerInchX / 40;
}

// The ink may use the rows between the ruled lines above and below the current row.
struct Band {
    int top = 0;
    int bottom = 0;
};

Band RowBand(const PageMetrics& pm, const PrintPositions& pos) {
    const int lineAbove = RowsBottom(pm, pos);
    return {lineAbove + kLineClear, lineAbove + pos.rowHeight - kLineClear};
}

// font, made smaller until its letters reach no deeper than room.
Font FitDepth(Font font, int room, const TextMeasure& measure) {
    while (font.height < -1 && measure.depth(font) > room) {
        ++font.height;
    }
    return font;
}

struct OneLine {
    int y = 0;
    Font font;
};

// One line of text in the row: at y where it stays between the ruled lines, raised where it
// would reach the line below, made smaller where the row is too low for it.
OneLine PlaceOneLine(const Band& band, int y, const Font& font, const TextMeasure& measure) {
    OneLine placed;
    placed.font = FitDepth(font, band.bottom - band.top, measure);
    placed.y = std::max(band.top, std::min(y, band.bottom - measure.depth(placed.font)));
    return placed;
}

struct TwoLines {
    int y1 = 0;
    int y2 = 0;
    Font font;
};

// Two lines of text in one row: at y1 and y2 where both stay between the ruled lines; otherwise
// the upper one at the top of the row and the lower one at its bottom, as far apart as they go.
TwoLines PlaceTwoLines(const Band& band, int y1, int y2, const Font& font,
                       const TextMeasure& measure) {
    TwoLines placed;
    placed.font = font;
    const int room = band.bottom - band.top;
    // The lower line may reach a fifth into the upper one's descenders, which are few.
    while (placed.font.height < -1 &&
           2 * measure.depth(placed.font) - measure.depth(placed.font) / 5 > room) {
        ++placed.font.height;
    }
    const int depth = measure.depth(placed.font);
    if (y1 >= band.top && y2 + depth <= band.bottom) {
        placed.y1 = y1;
        placed.y2 = y2;
    } else {
        placed.y1 = band.top;
        placed.y2 = band.bottom - depth;
    }
    return placed;
}

void PushText(Page& page, int x, int y, std::string text, const Font& font,
              Align align = Align::Left) {
    if (!text.empty()) {
        page.push_back(DrawOp::makeText(x, y, std::move(text), font, align));
    }
}

// A text that starts at x and ends before the ruled line at lineX.
void PushCellText(Page& page, const PageMetrics& pm, int x, int lineX, int y,
                  const std::string& text, const Font& font, const TextMeasure& measure) {
    const int room = lineX - kLineClear - cellGap(pm) - x;
    PushText(page, x, y, FitToWidth(text, room, font, measure), font);
}

void DrawColumnHeadings(Page& page, const PageMetrics& pm, const PrintPositions& pos, bool newForm,
                        const Font& body, const TextMeasure& measure) {
    const int X = pm.pixelsPerInchX;
    const int y = pm.top + 4 * pm.lineHeight;
    const auto columns = SummaryColumns(newForm);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        PushCellText(page, pm, pos.cellLeft(static_cast<int>(k)) + X / 20, pos.colLine[k], y,
                     LoadString(*columns[k].heading), body, measure);
    }
    // The old form's six values fill every cell, so it has no remarks column.
    if (newForm) {
        PushCellText(page, pm, pos.colLine[4] + X / 10, pos.colLine[5], y,
                     LoadString(StringId::OldFormRemarks), body, measure);
    }
}

void DrawRemarks(Page& page, const PageMetrics& pm, const PrintPositions& pos, int x,
                 const std::string& text, const Font& body, const Font& small,
                 const TextMeasure& measure) {
    const PrintedRemark fit = FitPrintedRemark(text);
    const Band band = RowBand(pm, pos);
    const int rowTop = pm.top + pm.line * pos.rowHeight;
    const int rh = pos.rowHeight;
    const int frame = pos.colLine[5];
    switch (fit.size) {
    case PrintedRemark::Size::None:
        break;
    case PrintedRemark::Size::Body:
    case PrintedRemark::Size::Small: {
        const bool isBody = fit.size == PrintedRemark::Size::Body;
        const OneLine one = PlaceOneLine(band, rowTop + rh / 8, isBody ? body : small, measure);
        PushCellText(page, pm, x, frame, one.y, fit.first, one.font, measure);
        break;
    }
    case PrintedRemark::Size::TwoLines: {
        const TwoLines two =
            PlaceTwoLines(band, rowTop + rh / 8 - rh / 6, rowTop + rh / 8 + rh / 4, small, measure);
        PushCellText(page, pm, x, frame, two.y1, fit.first, two.font, measure);
        PushCellText(page, pm, x, frame, two.y2, fit.second, two.font, measure);
        break;
    }
    }
}

void DrawRow(Page& page, GroupStore& store, int p, int m, const PageMetrics& pm,
             const PrintPositions& pos, bool newForm, const Font& body, const Font& small,
             const TextMeasure& measure) {
    const int X = pm.pixelsPerInchX;
    const int rh = pos.rowHeight;
    const int rowTop = pm.top + pm.line * rh;
    const Band band = RowBand(pm, pos);
    const OneLine one = PlaceOneLine(band, rowTop + rh / 8, body, measure);

    PushCellText(page, pm, pm.left, pos.nameLine, one.y, store.displayName(p, false), one.font,
                 measure);

    const std::string a = store.phoneForPrint(p, false);
    const std::string b = store.phoneForPrint(p, true);
    if (!a.empty() && !b.empty()) {
        const TwoLines two = PlaceTwoLines(band, rowTop - rh / 7, rowTop + rh / 3, small, measure);
        PushCellText(page, pm, pm.phoneX, pos.valueStart, two.y1, a, two.font, measure);
        PushCellText(page, pm, pm.phoneX + X / 5, pos.valueStart, two.y2, b, two.font, measure);
    } else if (!a.empty() || !b.empty()) {
        PushCellText(page, pm, pm.phoneX, pos.valueStart, one.y, a.empty() ? b : a, one.font,
                     measure);
    }

    const auto columns = SummaryColumns(newForm);
    bool lastValueShown = false;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        std::string cell = ValueCellText(store, p, m, newForm, columns[k]);
        lastValueShown = !cell.empty();
        if (cell.empty()) {
            continue;
        }
        const int right = pos.cellLeft(static_cast<int>(k)) + (4 * X) / 10;
        const int room = right - pos.cellLeft(static_cast<int>(k)) - kLineClear - cellGap(pm);
        // A number too wide for its cell is shown smaller rather than cut short.
        OneLine value = one;
        if (measure.width(cell, value.font) > room) {
            value = PlaceOneLine(band, rowTop + rh / 8, small, measure);
        }
        PushText(page, right, value.y, FitToWidth(cell, room, value.font, measure), value.font,
                 Align::Right);
    }

    // The old form's Bible studies fill the cell the remarks share: the remarks start after it,
    // close enough that at least "…" tells there is one.
    int remarksX = pos.colLine[4] + X / 20;
    if (!newForm && lastValueShown) {
        remarksX = pos.cellLeft(static_cast<int>(columns.size()) - 1) + (4 * X) / 10 + X / 80;
    }
    DrawRemarks(page, pm, pos, remarksX, RemarksText(store, p, m), body, small, measure);
}

GridSpec SheetGrid(const PrintPositions& pos, int rows) {
    GridSpec grid;
    grid.top = pos.gridTop;
    grid.left = pos.gridLeft;
    grid.rowHeight = pos.rowHeight;
    grid.rows = rows;
    grid.xs = {pos.nameLine, pos.valueStart};
    grid.xs.insert(grid.xs.end(), pos.colLine.begin(), pos.colLine.end());
    return grid;
}

// Byte offsets where the code points of text start.
std::vector<std::size_t> CharStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            starts.push_back(i);
        }
    }
    return starts;
}

} // namespace

PrintPositions ComputePrintPositions(const PageMetrics& pm, bool newForm) {
    const int X = pm.pixelsPerInchX;
    const int Y = pm.pixelsPerInchY;
    PrintPositions pos;
    pos.nameLine = pm.phoneX - X / 20;
    pos.valueStart = pos.nameLine + X + X / 4;
    pos.columnWidth = X / 2 + X / 16;
    for (int j = 0; j < 6; ++j) {
        pos.colLine[static_cast<std::size_t>(j)] = pos.valueStart + (j + 1) * pos.columnWidth;
    }
    if (newForm) {
        pos.colLine[5] += X / 3; // room for the remarks
    }
    pos.rowHeight = Y / 4;
    pos.gridTop = pm.top + 4 * (Y / 4) - (Y / 4) / 6;
    pos.gridLeft = pm.left - X / 20;
    return pos;
}

Font PrintFont(int pixelsPerInchY, int tenthsOfPoint, bool bold) {
    Font font;
    font.face = "Arial";
    font.height = -std::abs(pixelsPerInchY * tenthsOfPoint / 720);
    if (bold) {
        font.weight = 700;
    }
    return font;
}

PageMetrics GetPageMetrics(const PrinterMeasures& device) {
    PageMetrics pm;
    pm.pixelsPerInchX = device.pixelsPerInchX;
    pm.pixelsPerInchY = device.pixelsPerInchY;
    pm.top = device.pixelsPerInchY / 2;
    pm.left = device.pixelsPerInchX;
    pm.lineHeight = std::max(device.pixelsPerInchY / 6, std::abs(device.textHeight));
    pm.pageWidth = device.pageWidth;
    pm.pageHeight = device.pageHeight;
    return pm;
}

void PrintPageHeader(Page& page, const PageMetrics& pm, const std::string& nameHeading,
                     const std::string& phoneHeading) {
    const int Y = pm.pixelsPerInchY;
    page.push_back(DrawOp::makeText(pm.left, pm.top, pm.title, PrintFont(Y, 140, true)));
    page.push_back(DrawOp::makeText(pm.left, pm.top + 2 * pm.lineHeight, pm.subtitle,
                                    PrintFont(Y, 120, true)));
    const Font body = PrintFont(Y, 100, false);
    page.push_back(DrawOp::makeText(pm.left, pm.top + 4 * pm.lineHeight, nameHeading, body));
    page.push_back(DrawOp::makeText(pm.phoneX, pm.top + 4 * pm.lineHeight, phoneHeading, body));
}

void DrawGrid(Page& page, const GridSpec& grid) {
    if (grid.xs.empty() || grid.rows <= 0) {
        return;
    }
    const int top = grid.top;
    const int left = grid.left;
    const int bottom = top + grid.rows * grid.rowHeight;
    const int right = grid.xs.back();
    page.push_back(DrawOp::makeLine(left, top, left, bottom, kGridPen));
    page.push_back(DrawOp::makeLine(left, bottom, right, bottom, kGridPen));
    page.push_back(DrawOp::makeLine(right, bottom, right, top, kGridPen));
    page.push_back(DrawOp::makeLine(right, top, left, top, kGridPen));
    for (int i = 1; i < grid.rows; ++i) {
        const int y = top + i * grid.rowHeight;
        page.push_back(DrawOp::makeLine(left, y, right, y, kGridPen));
    }
    for (const int x : grid.xs) {
        page.push_back(DrawOp::makeLine(x, top, x, bottom, kGridPen));
    }
}

void FitToPaperWidth(PageMetrics& pm, bool newForm) {
    const auto rightEdge = [newForm](int X) {
        PageMetrics trial;
        trial.pixelsPerInchX = X;
        trial.left = X - X / 2;
        trial.phoneX = trial.left + 2 * X;
        return ComputePrintPositions(trial, newForm).colLine[5] + kGridPen / 2;
    };
    const int X = pm.pixelsPerInchX;
    const int Y = pm.pixelsPerInchY;
    if (pm.pageWidth <= 0 || X <= 0 || rightEdge(X) < pm.pageWidth) {
        return;
    }
    // Lay out as on a device of lower resolution: every measure shrinks alike, fonts included.
    int scaledX = static_cast<int>(static_cast<long long>(X) * (pm.pageWidth - 1) / rightEdge(X));
    while (scaledX > 1 && rightEdge(scaledX) >= pm.pageWidth) {
        --scaledX;
    }
    const int scaledY = std::max(1, static_cast<int>(static_cast<long long>(Y) * scaledX / X));
    pm.pixelsPerInchX = scaledX;
    pm.pixelsPerInchY = scaledY;
    pm.top = scaledY / 2;
    pm.left = scaledX;
    pm.lineHeight = std::max(scaledY / 6, pm.lineHeight * scaledY / std::max(1, Y));
}

int RowsPerSheet(const PageMetrics& pm, const PrintPositions& pos) {
    if (pm.pageHeight <= 0 || pos.rowHeight <= 0) {
        return kMaxRows;
    }
    // The ruled line under the last row, pen included, stays on the paper.
    const int room = pm.pageHeight - 1 - kGridPen / 2 - pos.gridTop;
    return std::clamp(room / pos.rowHeight, 1, kMaxRows);
}

int RowsBottom(const PageMetrics& pm, const PrintPositions& pos) {
    return pos.gridTop + (pm.line - kFirstRowLine) * pos.rowHeight;
}

std::string FitToWidth(const std::string& text, int maxWidth, const Font& font,
                       const TextMeasure& measure) {
    if (text.empty() || measure.width(text, font) <= maxWidth) {
        return text;
    }
    const std::vector<std::size_t> starts = CharStarts(text);
    // The longest start that fits with the ellipsis; widths grow with length, so halve.
    std::size_t lo = 0;
    std::size_t hi = starts.size() - 1;
    const auto shortened = [&](std::size_t chars) {
        std::string head = text.substr(0, starts[chars]);
        while (!head.empty() && head.back() == ' ') {
            head.pop_back();
        }
        return head + kEllipsis;
    };
    if (measure.width(shortened(0), font) > maxWidth) {
        return {};
    }
    while (lo < hi) {
        const std::size_t mid = (lo + hi + 1) / 2;
        if (measure.width(shortened(mid), font) <= maxWidth) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    return shortened(lo);
}

std::vector<Page> PrintSummaryPages(GroupStore& store, int m, PageMetrics& pm,
                                    const TextMeasure& measure, bool withTotals) {
    const bool newForm = store.newFormActive;
    FitToPaperWidth(pm, newForm);
    const int X = pm.pixelsPerInchX;
    const int Y = pm.pixelsPerInchY;
    const int headerLineHeight = pm.lineHeight;
    const Font body = PrintFont(Y, 100, false);
    const Font small = PrintFont(Y, 80, false);

    pm.left = X - X / 2;
    pm.phoneX = pm.left + 2 * X;
    const PrintPositions pos = ComputePrintPositions(pm, newForm);
    const int lastRowLine = kFirstRowLine + RowsPerSheet(pm, pos) - 1;
    pm.subtitle = LoadString(StringId::Group) + " #" +
                  std::to_string(static_cast<unsigned>(store.groupNumber)) + "  ";
    const int gap = cellGap(pm);
    const std::string nameHeading =
        FitToWidth(LoadString(StringId::NameHeading), pos.nameLine - kLineClear - gap - pm.left,
                   body, measure);
    const std::string phoneHeading =
        FitToWidth(LoadString(StringId::PhoneHeading),
                   pos.valueStart - kLineClear - gap - pm.phoneX, body, measure);

    std::vector<Page> pages;
    const auto startSheet = [&] {
        pages.emplace_back();
        pm.lineHeight = headerLineHeight;
        PrintPageHeader(pages.back(), pm, nameHeading, phoneHeading);
        DrawColumnHeadings(pages.back(), pm, pos, newForm, body, measure);
        pm.line = kFirstRowLine;
        pm.lineHeight = pos.rowHeight;
    };
    // The grid of a sheet is drawn once, after its rows: every grid drawn after an earlier row
    // would only repeat some of its lines, and lines drawn last stay on top of any text cell.
    const auto finishSheet = [&] {
        DrawGrid(pages.back(), SheetGrid(pos, pm.line - kFirstRowLine));
    };

    startSheet();
    for (int p = 1; p <= store.publisherCount; ++p) {
        if (pm.line > lastRowLine) {
            finishSheet();
            startSheet();
        }
        DrawRow(pages.back(), store, p, m, pm, pos, newForm, body, small, measure);
        ++pm.line;
    }
    finishSheet();
    if (!withTotals) {
        return pages;
    }

    // The group's totals follow the last row, one row apart, or open one more sheet with the
    // full header when they would run off this one.
    const TotalsBlock block = MakeTotalsBlock(ComputeGroupTotals(store, m, newForm));
    const int bottom = pm.pageHeight > 0 ? pm.pageHeight - 1 - kGridPen / 2 : INT_MAX;
    int top = RowsBottom(pm, pos) + pos.rowHeight;
    PrintedTotals totals = LayOutPrintedTotals(block, newForm, pm, pos, top);
    if (top + totals.height > bottom) {
        startSheet();
        top = pos.gridTop;
        totals = LayOutPrintedTotals(block, newForm, pm, pos, top);
    }
    // Like every cell of the list, a text of the block ends before the next ruled line.
    std::vector<int> lines{pos.nameLine, pos.valueStart};
    lines.insert(lines.end(), pos.colLine.begin(), pos.colLine.end());
    std::sort(lines.begin(), lines.end());
    for (DrawOp& op : totals.ops) {
        if (op.kind != OpKind::Text) {
            continue;
        }
        const auto next = std::upper_bound(lines.begin(), lines.end(), op.x);
        if (op.align == Align::Right) {
            // A sum may be wider than the month's values: it moves to the cell's right edge,
            // and takes the smaller font when even that is not room enough.
            if (next == lines.begin() || next == lines.end()) {
                continue;
            }
            const int cellLeftEdge = *(next - 1) + kLineClear + cellGap(pm);
            if (op.x - measure.width(op.text, op.font) < cellLeftEdge) {
                op.x = *next - kLineClear - cellGap(pm);
            }
            if (op.x - measure.width(op.text, op.font) < cellLeftEdge) {
                op.font = small;
            }
            continue;
        }
        // The status lines under the frame may run to the frame's right edge.
        const bool underFrame =
            op.y > top + static_cast<int>(block.rows.size() + 1) * pos.rowHeight;
        const int limit = (next == lines.end() || underFrame) ? lines.back() : *next;
        op.text = FitToWidth(op.text, limit - kLineClear - cellGap(pm) - op.x, op.font, measure);
    }
    pages.back().insert(pages.back().end(), totals.ops.begin(), totals.ops.end());
    return pages;
}

std::vector<Page> LayOutPrintedList(GroupStore& store, int m, const PrinterMeasures& device,
                                    const TextMeasure& measure) {
    PageMetrics pm = GetPageMetrics(device);
    pm.title = SummaryTitle(m);
    return PrintSummaryPages(store, m, pm, measure, true);
}

} // namespace zadw
