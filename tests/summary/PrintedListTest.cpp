// SPDX-License-Identifier: GPL-3.0-or-later
#include "SummaryCells.h"
#include "SummaryLayout.h"
#include "SummaryTestGroup.h"

#include <gtest/gtest.h>

namespace zadw {
namespace {

using test::findText;
using test::FixedMeasure;
using test::opsOfKind;
using test::SummaryGroup;
using test::textsOf;

constexpr int kMonth = 4;

std::vector<Page> printAt600(GroupStore& store, PageMetrics* out = nullptr) {
    PageMetrics pm = GetPageMetrics({600, 600, 97});
    pm.title = SummaryTitle(kMonth);
    std::vector<Page> pages = PrintSummaryPages(store, kMonth, pm, FixedMeasure());
    if (out != nullptr) {
        *out = pm;
    }
    return pages;
}

Font arial(int height, int weight) {
    Font f;
    f.face = "Arial";
    f.height = height;
    f.weight = weight;
    return f;
}

void expectText(const Page& page, const std::string& text, int x, int y, const Font& font,
                Align align = Align::Left) {
    SCOPED_TRACE(text);
    const DrawOp* op = findText(page, text);
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->x, x);
    EXPECT_EQ(op->y, y);
    EXPECT_EQ(op->font, font);
    EXPECT_EQ(op->align, align);
}

TEST(PrintedList, PageMetricsAndPositions) {
    PageMetrics pm = GetPageMetrics({600, 600, 97});
    EXPECT_EQ(pm.top, 300);
    EXPECT_EQ(pm.left, 600);
    EXPECT_EQ(pm.lineHeight, 100);
    EXPECT_EQ(GetPageMetrics({600, 600, -130}).lineHeight, 130);

    struct Case {
        int x, y;
        bool newForm;
        int left, phoneX, nameLine, valueStart, columnWidth;
        std::array<int, 6> colLine;
        int rowHeight, gridTop, gridLeft;
    };
    const Case cases[] = {
        {600,
         600,
         true,
         300,
         1500,
         1470,
         2220,
         337,
         {2557, 2894, 3231, 3568, 3905, 4442},
         150,
         875,
         270},
        {600,
         600,
         false,
         300,
         1500,
         1470,
         2220,
         337,
         {2557, 2894, 3231, 3568, 3905, 4242},
         150,
         875,
         270},
        {300,
         600,
         true,
         150,
         750,
         735,
         1110,
         168,
         {1278, 1446, 1614, 1782, 1950, 2218},
         150,
         875,
         135},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "x" + std::to_string(c.y));
        SummaryGroup g;
        g.make(0, c.newForm);
        PageMetrics m = GetPageMetrics({c.x, c.y, 0});
        PrintSummaryPages(g.store, kMonth, m, FixedMeasure());
        EXPECT_EQ(m.left, c.left);
        EXPECT_EQ(m.phoneX, c.phoneX);
        const PrintPositions pos = ComputePrintPositions(m, c.newForm);
        EXPECT_EQ(pos.nameLine, c.nameLine);
        EXPECT_EQ(pos.valueStart, c.valueStart);
        EXPECT_EQ(pos.columnWidth, c.columnWidth);
        EXPECT_EQ(pos.colLine, c.colLine);
        EXPECT_EQ(pos.rowHeight, c.rowHeight);
        EXPECT_EQ(pos.gridTop, c.gridTop);
        EXPECT_EQ(pos.gridLeft, c.gridLeft);
    }
}

TEST(PrintedList, NoPublishersGivesHeaderAndHeadingsOnly) {
    SummaryGroup g;
    g.make(0, true);
    PageMetrics pm;
    const std::vector<Page> pages = printAt600(g.store, &pm);
    ASSERT_EQ(pages.size(), 1u);
    const Page& page = pages[0];
    EXPECT_TRUE(opsOfKind(page, OpKind::Line).empty());
    EXPECT_EQ(textsOf(page), (std::vector<std::string>{"Insamling av rapporter - maj", "Grupp #7  ",
                                                       "Namn", "Telefon", "Publ.", "Filmer",
                                                       "Timmar", "Åb", "Bib.st.", "Anteckn."}));
    EXPECT_EQ(pm.subtitle, "Grupp #7  ");

    const Font body = arial(-83, 400);
    expectText(page, "Insamling av rapporter - maj", 300, 300, arial(-116, 700));
    expectText(page, "Grupp #7  ", 300, 500, arial(-100, 700));
    expectText(page, "Namn", 300, 700, body);
    expectText(page, "Telefon", 1500, 700, body);
    expectText(page, "Publ.", 2250, 700, body);
    expectText(page, "Timmar", 2924, 700, body);
    expectText(page, "Bib.st.", 3598, 700, body);
    expectText(page, "Anteckn.", 3965, 700, body);

    SummaryGroup big;
    big.make(0, true, 200); // the group number is unsigned
    printAt600(big.store, &pm);
    EXPECT_EQ(pm.subtitle, "Grupp #200  ");
}

TEST(PrintedList, OldFormHasNoSubscriptionsAndNoRemarksHeading) {
    SummaryGroup g;
    g.make(1, false);
    g.oldForm(1, kMonth, {1, 2, 9, 4, 5, 6}, 3, 0);
    const Page page = printAt600(g.store)[0];
    const std::vector<std::string> texts = textsOf(page);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Anteckn."), 0);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Pren."), 0);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "9"), 0);
    const Font body = arial(-83, 400);
    expectText(page, "Lösnr.", 3261, 700, body);
    expectText(page, "Bib.st.", 3935, 700, body);
    expectText(page, "4", 3231 + 240, 918, body, Align::Right); // magazines
    expectText(page, "6", 3905 + 240, 918, body, Align::Right); // Bible studies
    // The grid's right edge is the unwidened last column line.
    EXPECT_EQ(opsOfKind(page, OpKind::Line).back().x, 4242);
}

TEST(PrintedList, RowTextsAndGrid) {
    SummaryGroup g;
    g.make(2, true);
    g.newForm(1, kMonth, {12, 0, 5, 2}, 3, 1);
    g.remark(1, kMonth, "sjuk");
    g.newForm(2, kMonth, {0, 7, 0, 0}, 0, 2);
    const Page page = printAt600(g.store)[0];
    const Font body = arial(-83, 400);

    expectText(page, "Förnamn1 Efternamn1", 300, 918, body);
    expectText(page, "12", 2460, 918, body, Align::Right);
    expectText(page, "3¼", 3134, 918, body, Align::Right);
    expectText(page, "5", 3471, 918, body, Align::Right);
    expectText(page, "2", 3808, 918, body, Align::Right);
    expectText(page, "sjuk", 3935, 918, body);
    expectText(page, "Förnamn2 Efternamn2", 300, 1068, body);
    expectText(page, "7", 2797, 1068, body, Align::Right);
    expectText(page, "½", 3134, 1068, body, Align::Right);
    // Header and headings; name, four values and the remark; name and two values.
    EXPECT_EQ(textsOf(page).size(), 10u + 6u + 3u);

    std::vector<std::array<int, 4>> lines;
    for (const DrawOp& op : opsOfKind(page, OpKind::Line)) {
        EXPECT_EQ(op.penWidth, 2);
        lines.push_back({op.x, op.y, op.x2, op.y2});
    }
    const std::vector<std::array<int, 4>> expected = {
        {270, 875, 270, 1175},   {270, 1175, 4442, 1175}, {4442, 1175, 4442, 875},
        {4442, 875, 270, 875},   {270, 1025, 4442, 1025}, {1470, 875, 1470, 1175},
        {2220, 875, 2220, 1175}, {2557, 875, 2557, 1175}, {2894, 875, 2894, 1175},
        {3231, 875, 3231, 1175}, {3568, 875, 3568, 1175}, {3905, 875, 3905, 1175},
        {4442, 875, 4442, 1175},
    };
    EXPECT_EQ(lines, expected);
}

TEST(PrintedList, ThirtyTwoRowsASheet) {
    for (const int count : {32, 33}) {
        SCOPED_TRACE(count);
        SummaryGroup g;
        g.make(count, true);
        const std::vector<Page> pages = printAt600(g.store);
        ASSERT_EQ(pages.size(), count == 32 ? 1u : 2u);

        const Font body = arial(-83, 400);
        expectText(pages[0], "Förnamn32 Efternamn32", 300, 300 + 35 * 150 + 18, body);
        EXPECT_EQ(findText(pages[0], "Förnamn33 Efternamn33"), nullptr);
        EXPECT_EQ(opsOfKind(pages[0], OpKind::Line)[0].y2, 875 + 32 * 150);
        if (count == 33) {
            const Page& second = pages[1];
            EXPECT_EQ(textsOf(second), (std::vector<std::string>{
                                           "Insamling av rapporter - maj", "Grupp #7  ", "Namn",
                                           "Telefon", "Publ.", "Filmer", "Timmar", "Åb", "Bib.st.",
                                           "Anteckn.", "Förnamn33 Efternamn33"}));
            expectText(second, "Namn", 300, 700, body);
            expectText(second, "Förnamn33 Efternamn33", 300, 918, body);
            EXPECT_EQ(opsOfKind(second, OpKind::Line)[0].y2, 875 + 150);
        }
    }
}

TEST(PrintedList, TelephoneCells) {
    SummaryGroup g;
    g.make(3, true);
    g.phones(1, "08-123 45 67", "070-111 22 33");
    g.phones(2, "", "08-765 43 21"); // the only usable number moves to the front
    g.phones(3, "123", "");          // too short to be a number
    const Page page = printAt600(g.store)[0];
    const Font small = arial(-66, 400);
    // Both numbers keep off the ruled lines above (875) and below (1025) the row.
    expectText(page, "08-123 45 67", 1500, 875 + 2, small);
    expectText(page, "070-111 22 33", 1620, 1025 - 2 - 74, small);
    expectText(page, "08-765 43 21", 1500, 300 + 750 + 18, arial(-83, 400));
    EXPECT_EQ(findText(page, "123"), nullptr);
}

TEST(PrintedList, RemarkCells) {
    struct Case {
        bool auxiliary;
        std::string remark;
        std::vector<std::string> lines;
        std::vector<int> ys;
        int height;
    };
    const Case cases[] = {
        {false, "x", {}, {}, 0},
        {true, "", {"Hjp. "}, {918}, -83},
        {false, "1234567890", {"1234567890"}, {918}, -83},
        {true, "123456", {"Hjp. 123456"}, {918}, -66},
        {true,
         "Sjukhuset hela veckan och mer.",
         {"Hjp. Sjukhuset", " hela ve..."},
         {877, 949},
         -66},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remark);
        SummaryGroup g;
        g.make(1, true);
        if (c.auxiliary) {
            g.auxiliaryPioneer(1, kMonth);
        }
        if (!c.remark.empty()) {
            g.remark(1, kMonth, c.remark);
        }
        const Page page = printAt600(g.store)[0];
        std::vector<DrawOp> texts = opsOfKind(page, OpKind::Text);
        texts.erase(texts.begin(), texts.begin() + 11); // header, headings and the name
        ASSERT_EQ(texts.size(), c.lines.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].text, c.lines[i]);
            EXPECT_EQ(texts[i].x, 3935);
            EXPECT_EQ(texts[i].y, c.ys[i]);
            EXPECT_EQ(texts[i].font.height, c.height);
        }
    }
}

TEST(PrintedList, LanguageCharacterSet) {
    const std::pair<LayoutLanguage, int> cases[] = {
        {LayoutLanguage::Polish, 238},   {LayoutLanguage::Czech, 238},
        {LayoutLanguage::Slovak, 238},   {LayoutLanguage::Turkish, 162},
        {LayoutLanguage::Estonian, 186}, {LayoutLanguage::Swedish, 1},
        {LayoutLanguage::Other, 1},      {LayoutLanguage::Greek, 1},
    };
    for (const auto& [language, charset] : cases) {
        SCOPED_TRACE(static_cast<int>(language));
        SummaryGroup g;
        g.make(1, true);
        g.store.language = language;
        g.phones(1, "08-123 45 67", "070-111 22 33");
        const Page page = printAt600(g.store)[0];
        for (const DrawOp& op : opsOfKind(page, OpKind::Text)) {
            EXPECT_EQ(op.font.charset, charset) << op.text;
            EXPECT_EQ(op.font.face, "Arial");
        }
        EXPECT_EQ(page[0].font.weight, 700);
        EXPECT_EQ(page[2].font.weight, 400);
    }
}

} // namespace
} // namespace zadw
