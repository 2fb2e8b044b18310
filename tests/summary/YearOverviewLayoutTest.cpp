// SPDX-License-Identifier: GPL-3.0-or-later
// The year overview's chart and its printed sheets, on the drawing operations.
#include "YearOverviewLayout.h"
#include "SummaryTestGroup.h"

#include <gtest/gtest.h>

#include <map>

namespace zadw {
namespace {

using test::FixedMeasure;
using test::SummaryGroup;

void category(SummaryGroup& g, int p, int m, int c) {
    GroupRecord& r = g.store.record(p);
    r.monthStatus[m] = static_cast<std::uint8_t>((r.monthStatus[m] & ~0x03) | c);
}

// Every operation inside area: texts by the measure's width and depth.
void expectInside(const Page& ops, const Rect& area, const TextMeasure& measure,
                  const std::string& where) {
    for (const DrawOp& op : ops) {
        switch (op.kind) {
        case OpKind::Text: {
            const int w = measure.width(op.text, op.font);
            const int left = op.align == Align::Right ? op.x - w : op.x;
            EXPECT_GE(left, area.left) << where << ": " << op.text;
            EXPECT_LE(left + w, area.right) << where << ": " << op.text;
            EXPECT_GE(op.y, area.top) << where << ": " << op.text;
            EXPECT_LE(op.y + measure.depth(op.font), area.bottom) << where << ": " << op.text;
            break;
        }
        case OpKind::Line: {
            const int half = op.penWidth / 2;
            EXPECT_GE(std::min(op.x, op.x2) - half, area.left) << where;
            EXPECT_LT(std::max(op.x, op.x2) + half, area.right + 1) << where;
            EXPECT_GE(std::min(op.y, op.y2) - half, area.top) << where;
            EXPECT_LT(std::max(op.y, op.y2) + half, area.bottom + 1) << where;
            break;
        }
        case OpKind::FillRect:
        case OpKind::FillBackground:
            EXPECT_GE(op.rect.left, area.left) << where;
            EXPECT_LE(op.rect.right, area.right) << where;
            EXPECT_GE(op.rect.top, area.top) << where;
            EXPECT_LE(op.rect.bottom, area.bottom) << where;
            break;
        }
    }
}

// count publishers over the year; report month November, so December is last year's.
void makeYear(SummaryGroup& g, int count) {
    g.make(count, true);
    for (int p = 1; p <= count; ++p) {
        for (int m = 0; m < 12; ++m) {
            if ((p + m) % 5 != 0) {
                g.newForm(p, m, {}, 5 + (p * 7 + m * 3) % 60, (p + m) % 4);
            }
        }
    }
    if (count >= 2) {
        category(g, 2, 10, 2); // a regular pioneer
    }
}

TEST(YearChart, BarsGrowWithTheFiguresAndLastYearIsLighter) {
    SummaryGroup g;
    g.make(4, true);
    for (int p = 1; p <= 4; ++p) {
        g.newForm(p, 10, {}, 10, 0); // November 2026: four reports, 40 hours
    }
    g.newForm(1, 11, {}, 20, 0); // December 2025: one report, 20 hours
    const YearOverview year = ComputeYearOverview(g.store, 10, 2026);
    const FixedMeasure measure;
    Font font;
    font.face = "Arial";
    font.height = -12;
    const Rect area{10, 20, 610, 320};
    Page page;
    LayOutYearChart(page, year, area, font, measure);
    expectInside(page, area, measure, "chart");

    std::map<std::uint32_t, std::vector<Rect>> bars;
    for (const DrawOp& op : test::opsOfKind(page, OpKind::FillRect)) {
        bars[op.color].push_back(op.rect);
    }
    ASSERT_EQ(bars[kChartReportsColor].size(), 1u);         // November
    ASSERT_EQ(bars[kChartReportsLastYearColor].size(), 1u); // December 2025
    ASSERT_EQ(bars[kChartHoursColor].size(), 1u);
    ASSERT_EQ(bars[kChartHoursLastYearColor].size(), 1u);
    const auto height = [](const Rect& r) { return r.bottom - r.top; };
    // Four reports against one; 40 hours against 20.
    EXPECT_NEAR(height(bars[kChartReportsLastYearColor][0]) * 4,
                height(bars[kChartReportsColor][0]), 4);
    EXPECT_NEAR(height(bars[kChartHoursLastYearColor][0]) * 2, height(bars[kChartHoursColor][0]),
                2);
    // December leads at the left, November ends at the right.
    EXPECT_LT(bars[kChartReportsLastYearColor][0].right, bars[kChartReportsColor][0].left);
    for (const char* text :
         {"Rapporterat", "Timmar", "4", "40", "20", "dec", "nov", "2025", "2026"}) {
        EXPECT_NE(test::findText(page, text), nullptr) << text;
    }
}

TEST(YearChart, TooSmallAChartDrawsNothing) {
    SummaryGroup g;
    g.make(2, true);
    const YearOverview year = ComputeYearOverview(g.store, 10, 2026);
    Page page;
    Font font;
    font.height = -12;
    LayOutYearChart(page, year, {0, 0, 600, 40}, font, FixedMeasure());
    EXPECT_TRUE(page.empty());
}

struct Paper {
    const char* name;
    int width, height; // at 600 dpi
    int publishers;
};

TEST(PrintedYear, EverySheetStaysOnThePaperAndNamesEveryoneOnce) {
    const Paper papers[] = {
        {"A4 landscape", 7016, 4960, 40},
        {"A4 portrait", 4960, 7016, 40},
        {"A5 portrait", 3496, 4960, 9},
        {"A4 landscape, one publisher", 7016, 4960, 1},
    };
    for (const Paper& paper : papers) {
        SCOPED_TRACE(paper.name);
        SummaryGroup g;
        makeYear(g, paper.publishers);
        const YearOverview year = ComputeYearOverview(g.store, 10, 2026);
        PrinterMeasures device;
        device.pixelsPerInchX = device.pixelsPerInchY = 600;
        device.pageWidth = paper.width;
        device.pageHeight = paper.height;
        const FixedMeasure measure;
        const std::vector<Page> pages = LayOutPrintedYear(year, {false, 7}, device, measure);
        ASSERT_FALSE(pages.empty());
        std::map<std::string, int> names;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            expectInside(pages[i], {0, 0, paper.width, paper.height}, measure,
                         "sheet " + std::to_string(i + 1));
            // Every sheet has its title; every sheet with rows its headings.
            ASSERT_FALSE(pages[i].empty());
            EXPECT_EQ(pages[i].front().text.rfind("Årsöversikt – Grupp 7", 0), 0u);
            for (const std::string& text : test::textsOf(pages[i])) {
                if (text.rfind("Efternamn", 0) == 0) {
                    ++names[text];
                }
            }
        }
        EXPECT_EQ(names.size(), static_cast<std::size_t>(paper.publishers));
        for (const auto& [name, times] : names) {
            EXPECT_EQ(times, 1) << name;
        }
        // The chart closes the print: its bars are on the last sheet only.
        EXPECT_FALSE(test::opsOfKind(pages.back(), OpKind::FillRect).empty());
        for (std::size_t i = 0; i + 1 < pages.size(); ++i) {
            EXPECT_TRUE(test::opsOfKind(pages[i], OpKind::FillRect).empty());
        }
    }
}

TEST(PrintedYear, HeadingsOnEverySheetAndTheFilterLeavesOutTheRegular) {
    SummaryGroup g;
    makeYear(g, 60);
    for (int m = 0; m < 12; ++m) {
        g.newForm(1, m, {}, 10, 0); // every month: regular
    }
    const YearOverview year = ComputeYearOverview(g.store, 10, 2026);
    ASSERT_EQ(year.publishers[0].regularity, Regularity::Regular);
    PrinterMeasures device;
    device.pixelsPerInchX = device.pixelsPerInchY = 600;
    device.pageWidth = 7016;
    device.pageHeight = 4960;
    const FixedMeasure measure;
    const std::vector<Page> all = LayOutPrintedYear(year, {false, 7}, device, measure);
    ASSERT_GE(all.size(), 2u);
    for (const Page& page : all) {
        if (test::opsOfKind(page, OpKind::FillRect).empty() || &page == &all.front()) {
            EXPECT_NE(test::findText(page, "Regelbundenhet"), nullptr);
            EXPECT_NE(test::findText(page, "Tjänsteåret 2027"), nullptr);
        }
    }
    EXPECT_NE(test::findText(all.front(), "Efternamn1, Förnamn1"), nullptr);
    const std::vector<Page> followUp = LayOutPrintedYear(year, {true, 7}, device, measure);
    for (const Page& page : followUp) {
        EXPECT_EQ(test::findText(page, "Efternamn1, Förnamn1"), nullptr);
    }
    // A regular pioneer's progress stands in the service year's column.
    const auto progress =
        std::find_if(all.front().begin(), all.front().end(),
                     [](const DrawOp& op) { return op.text.find(" / 600") != std::string::npos; });
    EXPECT_NE(progress, all.front().end());
}

} // namespace
} // namespace zadw
