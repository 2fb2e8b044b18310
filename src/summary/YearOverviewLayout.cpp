// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearOverviewLayout.h"

#include "GroupTotals.h"
#include "Strings.h"
#include "YearOverviewCells.h"

#include <algorithm>
#include <array>

namespace zadw {
namespace {

constexpr int kGridPen = 2;

// A4 landscape, for a device that does not say what it holds.
constexpr int kA4LongMillimetres = 297;
constexpr int kA4ShortMillimetres = 210;

int lineHeightOf(const Font& font, const TextMeasure& measure) {
    const int depth = measure.depth(font);
    return depth + std::max(1, depth / 6);
}

// text centred on x, shortened to room.
void pushCentred(Page& page, int x, int y, const std::string& text, int room, const Font& font,
                 const TextMeasure& measure) {
    const std::string fitted = FitToWidth(text, room, font, measure);
    if (!fitted.empty()) {
        page.push_back(DrawOp::makeText(x - measure.width(fitted, font) / 2, y, fitted, font));
    }
}

void pushFitted(Page& page, int x, int y, const std::string& text, int room, const Font& font,
                const TextMeasure& measure, Align align = Align::Left) {
    const std::string fitted = FitToWidth(text, room, font, measure);
    if (!fitted.empty()) {
        page.push_back(DrawOp::makeText(x, y, fitted, font, align));
    }
}

struct Bars {
    std::string heading;
    std::array<int, 12> values{};
    std::array<std::string, 12> figures;
    std::uint32_t color = 0;
    std::uint32_t lastYearColor = 0;
};

std::array<Bars, 2> chartBars(const YearOverview& year) {
    std::array<Bars, 2> bars;
    bars[0].heading = LoadString(StringId::ReportedHeading);
    bars[0].color = kChartReportsColor;
    bars[0].lastYearColor = kChartReportsLastYearColor;
    bars[1].heading = LoadString(StringId::OldFormHours);
    bars[1].color = kChartHoursColor;
    bars[1].lastYearColor = kChartHoursLastYearColor;
    for (std::size_t i = 0; i < year.group.size(); ++i) {
        const ChartMonth& g = year.group[i];
        bars[0].values[i] = g.reports;
        bars[0].figures[i] = g.reports == 0 ? std::string() : std::to_string(g.reports);
        bars[1].values[i] = g.quarters;
        bars[1].figures[i] = TotalHoursText(g.quarters);
    }
    return bars;
}

// The printed table's columns, in proportion to the width: the name, the regularity, the twelve
// months, the service year.
std::vector<int> columnLines(int left, int right) {
    constexpr std::array<int, kYearColumnCount> kWeights = {34, 18, 11, 11, 11, 11, 11, 11,
                                                            11, 11, 11, 11, 11, 11, 20};
    int total = 0;
    for (const int w : kWeights) {
        total += w;
    }
    std::vector<int> xs{left};
    int sum = 0;
    for (const int w : kWeights) {
        sum += w;
        xs.push_back(left + static_cast<int>(static_cast<long long>(right - left) * sum / total));
    }
    return xs;
}

struct Sheet {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    int X = 0;
    int Y = 0;
};

} // namespace

void LayOutYearChart(Page& page, const YearOverview& year, const Rect& area, const Font& font,
                     const TextMeasure& measure) {
    const int width = area.right - area.left;
    const int lineH = lineHeightOf(font, measure);
    const int labelsTop = area.bottom - 2 * lineH;
    const int panelH = (labelsTop - area.top) / 2;
    if (width < 12 || panelH < 3 * lineH) {
        return; // no room for bars: better none than a chart that says nothing
    }
    const auto groupLeft = [&](std::size_t i) {
        return area.left +
               static_cast<int>(static_cast<long long>(width) * static_cast<long long>(i) / 12);
    };
    const std::array<Bars, 2> rows = chartBars(year);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const Bars& bars = rows[k];
        const int top = area.top + static_cast<int>(k) * panelH;
        const int axis = top + panelH - std::max(1, lineH / 4);
        const int tallest = axis - (top + 2 * lineH);
        pushFitted(page, area.left, top, bars.heading, width, font, measure);
        const int most = std::max(1, *std::max_element(bars.values.begin(), bars.values.end()));
        for (std::size_t i = 0; i < 12; ++i) {
            const int left = groupLeft(i);
            const int room = groupLeft(i + 1) - left;
            const int barW = std::max(1, room * 3 / 5);
            const int barLeft = left + (room - barW) / 2;
            const int value = bars.values[i];
            int h = static_cast<int>(static_cast<long long>(tallest) * value / most);
            if (value > 0) {
                h = std::max(h, 1);
                const std::uint32_t color =
                    year.group[i].lastYear ? bars.lastYearColor : bars.color;
                page.push_back(DrawOp::makeFill({barLeft, axis - h, barLeft + barW, axis}, color));
            }
            pushCentred(page, left + room / 2, axis - h - lineH, bars.figures[i], room, font,
                        measure);
        }
        page.push_back(DrawOp::makeLine(area.left, axis, area.right - 1, axis, 1));
    }
    for (std::size_t i = 0; i < 12; ++i) {
        const ChartMonth& g = year.group[i];
        const int left = groupLeft(i);
        const int room = groupLeft(i + 1) - left;
        pushCentred(page, left + room / 2, labelsTop, ShortMonthName(g.date.month), room, font,
                    measure);
        if (i == 0 || g.date.month == 0) {
            pushCentred(page, left + room / 2, labelsTop + lineH, std::to_string(g.date.year), room,
                        font, measure);
        }
    }
}

std::string YearChartText(const YearOverview& year) {
    const std::array<Bars, 2> rows = chartBars(year);
    std::string text;
    for (std::size_t i = 0; i < year.group.size(); ++i) {
        if (!text.empty()) {
            text += "; ";
        }
        text += MonthYearText(year.group[i].date) + ": " + rows[0].heading + " " +
                std::to_string(year.group[i].reports) + ", " + rows[1].heading + " " +
                (year.group[i].quarters == 0 ? std::string("0")
                                             : TotalHoursText(year.group[i].quarters));
    }
    return text;
}

std::string RegularityCountsText(const YearOverview& year) {
    return RegularityText(Regularity::Regular) + " " + std::to_string(year.regular) + ", " +
           RegularityText(Regularity::Irregular) + " " + std::to_string(year.irregular) + ", " +
           RegularityText(Regularity::Inactive) + " " + std::to_string(year.inactive);
}

std::vector<Page> LayOutPrintedYear(const YearOverview& year, const YearPrint& print,
                                    const PrinterMeasures& device, const TextMeasure& measure) {
    Sheet s;
    s.X = std::max(1, device.pixelsPerInchX);
    s.Y = std::max(1, device.pixelsPerInchY);
    const int width = device.pageWidth > 0 ? device.pageWidth : s.X * kA4LongMillimetres * 10 / 254;
    const int height =
        device.pageHeight > 0 ? device.pageHeight : s.Y * kA4ShortMillimetres * 10 / 254;
    s.left = s.X / 3;
    s.right = width - 1 - s.X / 3;
    s.top = s.Y / 3;
    s.bottom = height - 1 - s.Y / 3;

    const Font titleFont = PrintFont(s.Y, 140, true);
    const Font subtitleFont = PrintFont(s.Y, 100, false);
    const Font headingFont = PrintFont(s.Y, 80, true);
    const Font body = PrintFont(s.Y, 85, false);
    const Font chartFont = PrintFont(s.Y, 80, false);
    const int pad = s.X / 24;
    const int rowH = std::max(lineHeightOf(body, measure) + 2 * kGridPen, s.Y / 6);
    const int headLineH = lineHeightOf(headingFont, measure);
    const int headH = 2 * headLineH + 2 * kGridPen;
    const std::vector<int> xs = columnLines(s.left, s.right);
    const int textWidth = s.right - s.left;

    const std::string title = YearOverviewTitle() + " \u2013 " + LoadString(StringId::Group) + " " +
                              std::to_string(print.groupNumber);
    const std::string subtitle = LongMonthYearText(year.group.front().date) + " \u2013 " +
                                 LongMonthYearText(year.group.back().date) + "     " +
                                 ServiceYearText(year.serviceYear) + "     " +
                                 RegularityCountsText(year);
    const int tableTop =
        s.top + lineHeightOf(titleFont, measure) + lineHeightOf(subtitleFont, measure) + s.Y / 8;

    std::vector<Page> pages;
    const auto startSheet = [&] {
        pages.emplace_back();
        Page& page = pages.back();
        pushFitted(page, s.left, s.top, title, textWidth, titleFont, measure);
        pushFitted(page, s.left, s.top + lineHeightOf(titleFont, measure), subtitle, textWidth,
                   subtitleFont, measure);
    };
    const std::vector<std::string> headings = YearHeadings(year);
    const auto drawHeadings = [&](Page& page) {
        for (int k = 0; k < kYearColumnCount; ++k) {
            const auto c = static_cast<std::size_t>(k);
            const int room = xs[c + 1] - xs[c] - 2 * pad;
            const int y = tableTop + kGridPen;
            if (k >= kYearFirstMonthColumn && k < kYearServiceColumn) {
                // The month over its year, each on a line of its own.
                const CalendarMonth date =
                    year.group[static_cast<std::size_t>(k - kYearFirstMonthColumn)].date;
                pushFitted(page, xs[c + 1] - pad, y, ShortMonthName(date.month), room, headingFont,
                           measure, Align::Right);
                pushFitted(page, xs[c + 1] - pad, y + headLineH, std::to_string(date.year), room,
                           headingFont, measure, Align::Right);
            } else {
                const bool right = k == kYearServiceColumn;
                pushFitted(page, right ? xs[c + 1] - pad : xs[c] + pad, y + headLineH, headings[c],
                           room, headingFont, measure, right ? Align::Right : Align::Left);
            }
        }
    };
    // The grid of a sheet, drawn after its texts so that its lines stay on top.
    const auto drawGrid = [&](Page& page, int rows) {
        const int bottom = tableTop + headH + rows * rowH;
        page.push_back(DrawOp::makeLine(xs.front(), tableTop, xs.back(), tableTop, kGridPen));
        for (int r = 0; r <= rows; ++r) {
            const int y = tableTop + headH + r * rowH;
            page.push_back(DrawOp::makeLine(xs.front(), y, xs.back(), y, kGridPen));
        }
        for (const int x : xs) {
            page.push_back(DrawOp::makeLine(x, tableTop, x, bottom, kGridPen));
        }
    };

    std::vector<const PublisherYear*> shown;
    for (const PublisherYear& p : year.publishers) {
        if (!print.onlyFollowUp || NeedsFollowUp(p)) {
            shown.push_back(&p);
        }
    }
    const int rowsPerSheet = std::max(1, (s.bottom - kGridPen - tableTop - headH) / rowH);
    std::size_t next = 0;
    int rowsOnLast = 0;
    do {
        startSheet();
        Page& page = pages.back();
        drawHeadings(page);
        int rows = 0;
        for (; rows < rowsPerSheet && next < shown.size(); ++rows, ++next) {
            const std::vector<std::string> cells = YearRow(*shown[next]);
            const int y = tableTop + headH + rows * rowH + (rowH - measure.depth(body)) / 2;
            for (int k = 0; k < kYearColumnCount; ++k) {
                const auto c = static_cast<std::size_t>(k);
                const int room = xs[c + 1] - xs[c] - 2 * pad;
                if (k <= kYearRegularityColumn) {
                    pushFitted(page, xs[c] + pad, y, cells[c], room, body, measure);
                } else {
                    pushFitted(page, xs[c + 1] - pad, y, cells[c], room, body, measure,
                               Align::Right);
                }
            }
        }
        drawGrid(page, rows);
        rowsOnLast = rows;
    } while (next < shown.size());

    // The chart under the table when it fits there, else on a sheet of its own.
    const int chartH = std::min(s.Y * 2, s.bottom - tableTop);
    int chartTop = tableTop + headH + rowsOnLast * rowH + kGridPen + s.Y / 5;
    if (chartTop + chartH > s.bottom) {
        startSheet();
        chartTop = tableTop;
    }
    LayOutYearChart(pages.back(), year, {s.left, chartTop, s.right, chartTop + chartH}, chartFont,
                    measure);
    return pages;
}

} // namespace zadw
