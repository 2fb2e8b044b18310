#include "SummaryLayout.h"

#include "Strings.h"
#include "SummaryCells.h"

#include <algorithm>
#include <cstdlib>

namespace zadw {
namespace {

constexpr int kFirstRowLine = 4;
constexpr int kLastRowLine = 35; // 32 rows a sheet; the paper's height is never asked
constexpr int kGridPen = 2;

void DrawColumnHeadings(Page& page, const PageMetrics& pm, const PrintPositions& pos, bool newForm,
                        const Font& body) {
    const int X = pm.pixelsPerInchX;
    const int y = pm.top + 4 * pm.lineHeight;
    const auto columns = SummaryColumns(newForm);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        page.push_back(DrawOp::makeText(pos.cellLeft(static_cast<int>(k)) + X / 20, y,
                                        LoadString(columns[k].headingId), body));
    }
    // The old form's six values fill every cell, so it has no remarks column.
    if (newForm) {
        page.push_back(DrawOp::makeText(pos.colLine[4] + X / 10, y, LoadString(1019), body));
    }
}

void DrawRemarks(Page& page, const PageMetrics& pm, const PrintPositions& pos,
                 const std::string& text, const Font& body, const Font& small) {
    const PrintedRemark fit = FitPrintedRemark(text);
    const int x = pos.colLine[4] + pm.pixelsPerInchX / 20;
    const int rowTop = pm.top + pm.line * pos.rowHeight;
    const int rh = pos.rowHeight;
    switch (fit.size) {
    case PrintedRemark::Size::None:
        break;
    case PrintedRemark::Size::Body:
        page.push_back(DrawOp::makeText(x, rowTop + rh / 8, fit.first, body));
        break;
    case PrintedRemark::Size::Small:
        page.push_back(DrawOp::makeText(x, rowTop + rh / 8, fit.first, small));
        break;
    case PrintedRemark::Size::TwoLines:
        page.push_back(DrawOp::makeText(x, rowTop + rh / 8 - rh / 6, fit.first, small));
        page.push_back(DrawOp::makeText(x, rowTop + rh / 8 + rh / 4, fit.second, small));
        break;
    }
}

void DrawRow(Page& page, GroupStore& store, int p, int m, const PageMetrics& pm,
             const PrintPositions& pos, bool newForm, const Font& body, const Font& small) {
    const int X = pm.pixelsPerInchX;
    const int rh = pos.rowHeight;
    const int rowTop = pm.top + pm.line * rh;
    const int textY = rowTop + rh / 8;

    page.push_back(DrawOp::makeText(pm.left, textY, store.displayName(p, false), body));

    const std::string a = store.phoneForPrint(p, false);
    const std::string b = store.phoneForPrint(p, true);
    if (!a.empty() && !b.empty()) {
        page.push_back(DrawOp::makeText(pm.phoneX, rowTop - rh / 7, a, small));
        page.push_back(DrawOp::makeText(pm.phoneX + X / 5, rowTop + rh / 3, b, small));
    } else if (!a.empty() || !b.empty()) {
        page.push_back(DrawOp::makeText(pm.phoneX, textY, a.empty() ? b : a, body));
    }

    const auto columns = SummaryColumns(newForm);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        std::string cell = ValueCellText(store, p, m, newForm, columns[k]);
        if (!cell.empty()) {
            page.push_back(DrawOp::makeText(pos.cellLeft(static_cast<int>(k)) + (4 * X) / 10, textY,
                                            std::move(cell), body, Align::Right));
        }
    }

    DrawRemarks(page, pm, pos, RemarksText(store, p, m), body, small);
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

void ApplyLanguageFont(Font& font, bool bold, const std::string& languageTag) {
    if (languageTag == "Turkish") {
        font.charset = 162;
    } else if (languageTag == "Polish" || languageTag == "cz" || languageTag == "sk") {
        font.charset = 238;
    } else if (languageTag == "estonian") {
        font.charset = 186;
    }
    if (bold) {
        font.weight = 700;
    }
}

Font PrintFont(int pixelsPerInchY, int tenthsOfPoint, bool bold, const std::string& languageTag) {
    Font font;
    font.face = "Arial";
    font.height = -std::abs(pixelsPerInchY * tenthsOfPoint / 720);
    font.charset = 1;
    ApplyLanguageFont(font, bold, languageTag);
    return font;
}

PageMetrics GetPageMetrics(const PrinterMeasures& device) {
    PageMetrics pm;
    pm.pixelsPerInchX = device.pixelsPerInchX;
    pm.pixelsPerInchY = device.pixelsPerInchY;
    pm.top = device.pixelsPerInchY / 2;
    pm.left = device.pixelsPerInchX;
    pm.lineHeight = std::max(device.pixelsPerInchY / 6, std::abs(device.textHeight));
    return pm;
}

void PrintPageHeader(Page& page, const PageMetrics& pm, const std::string& languageTag,
                     const std::string& nameHeading, const std::string& phoneHeading) {
    const int Y = pm.pixelsPerInchY;
    page.push_back(
        DrawOp::makeText(pm.left, pm.top, pm.title, PrintFont(Y, 140, true, languageTag)));
    page.push_back(DrawOp::makeText(pm.left, pm.top + 2 * pm.lineHeight, pm.subtitle,
                                    PrintFont(Y, 120, true, languageTag)));
    const Font body = PrintFont(Y, 100, false, languageTag);
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

std::vector<Page> PrintSummaryPages(GroupStore& store, int m, PageMetrics& pm) {
    const int X = pm.pixelsPerInchX;
    const int Y = pm.pixelsPerInchY;
    const int headerLineHeight = pm.lineHeight;
    const std::string& tag = store.languageTag;
    const Font body = PrintFont(Y, 100, false, tag);
    const Font small = PrintFont(Y, 80, false, tag);
    const bool newForm = store.newFormActive;

    pm.left = X - X / 2;
    pm.phoneX = pm.left + 2 * X;
    const PrintPositions pos = ComputePrintPositions(pm, newForm);
    pm.subtitle =
        LoadString(1058) + " #" + std::to_string(static_cast<unsigned>(store.groupNumber)) + "  ";
    const std::string nameHeading = LoadString(1167);
    const std::string phoneHeading = LoadString(1168);

    std::vector<Page> pages;
    const auto startSheet = [&] {
        pages.emplace_back();
        pm.lineHeight = headerLineHeight;
        PrintPageHeader(pages.back(), pm, tag, nameHeading, phoneHeading);
        DrawColumnHeadings(pages.back(), pm, pos, newForm, body);
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
        if (pm.line > kLastRowLine) {
            finishSheet();
            startSheet();
        }
        DrawRow(pages.back(), store, p, m, pm, pos, newForm, body, small);
        ++pm.line;
    }
    finishSheet();
    return pages;
}

std::vector<Page> LayOutPrintedList(GroupStore& store, int m, const PrinterMeasures& device) {
    PageMetrics pm = GetPageMetrics(device);
    pm.title = SummaryTitle(m);
    return PrintSummaryPages(store, m, pm);
}

} // namespace zadw
