// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenPage.h"
#include "GroupTotals.h"
#include "SummaryTestGroup.h"
#include "TotalsPage.h"

#include <gtest/gtest.h>

namespace zadw {
namespace {

using test::findText;
using test::opsOfKind;
using test::SummaryGroup;
using test::textsOf;

constexpr int kMonth = 4;
constexpr ScreenMeasures kPane{760, 380, 1, 1}; // rows of 20

TEST(ScreenPage, EmptyGroupShowsBandHeadingsAndRules) {
    for (const bool newForm : {true, false}) {
        SCOPED_TRACE(newForm);
        SummaryGroup g;
        g.make(0, newForm);
        const std::vector<DrawOp> ops = DrawScreenPage(g.store, kMonth, kPane, 0, 0);

        ASSERT_GE(ops.size(), 2u);
        EXPECT_EQ(ops[0].kind, OpKind::FillBackground);
        EXPECT_EQ(ops[0].rect, (Rect{0, 0, 761, 385}));
        EXPECT_EQ(ops[1].kind, OpKind::FillRect);
        EXPECT_EQ(ops[1].rect, (Rect{0, 0, 760, 20}));
        EXPECT_EQ(ops[1].color, 0xC0C0C0u);

        std::vector<int> vertical;
        std::vector<int> horizontal;
        for (const DrawOp& op : opsOfKind(ops, OpKind::Line)) {
            if (op.x == op.x2) {
                EXPECT_EQ(op.y, 0);
                EXPECT_EQ(op.y2, 383);
                vertical.push_back(op.x);
            } else {
                EXPECT_EQ(op.x, 0);
                EXPECT_EQ(op.x2, 760);
                horizontal.push_back(op.y);
            }
        }
        const std::vector<int> expectedVertical =
            newForm ? std::vector<int>{190, 259, 328, 397, 466, 535}
                    : std::vector<int>{190, 253, 316, 379, 442, 505, 568};
        EXPECT_EQ(vertical, expectedVertical);
        ASSERT_EQ(horizontal.size(), 18u);
        EXPECT_EQ(horizontal.front(), 20);
        EXPECT_EQ(horizontal.back(), 360);

        const std::vector<std::string> headings =
            newForm ? std::vector<std::string>{"Namn", "Publ.",   "Filmer",  "Timmar",
                                               "Åb",   "Bib.st.", "Anteckn."}
                    : std::vector<std::string>{"Namn",   "Böcker", "Brosch.", "Timmar",
                                               "Lösnr.", "Åb",     "Bib.st.", "Anteckn."};
        EXPECT_EQ(textsOf(ops), headings);
        for (const DrawOp& op : opsOfKind(ops, OpKind::Text)) {
            EXPECT_EQ(op.font.kind, FontKind::StockVariable);
            EXPECT_EQ(op.y, 1);
            EXPECT_EQ(op.align, op.text == "Namn" ? Align::Left : Align::Right);
        }
        EXPECT_EQ(findText(ops, "Namn")->x, 2);
        EXPECT_EQ(findText(ops, "Timmar")->x, newForm ? 190 + 3 * 69 - 8 : 190 + 3 * 63 - 8);
        EXPECT_EQ(findText(ops, "Anteckn.")->x, 684);
    }
}

TEST(ScreenPage, GreekRemarksHeading) {
    SummaryGroup g;
    g.make(0, true);
    g.store.language = LayoutLanguage::Greek;
    EXPECT_EQ(findText(DrawScreenPage(g.store, kMonth, kPane, 0, 0), "Anteckn.")->x, 760 - 38);
}

TEST(ScreenPage, RowTexts) {
    for (const bool newForm : {true, false}) {
        SCOPED_TRACE(newForm);
        SummaryGroup g;
        g.make(2, newForm);
        if (newForm) {
            g.newForm(2, kMonth, {12, 0, 5, 2}, 0, 2);
        } else {
            g.oldForm(2, kMonth, {0, 0, 9, 12, 5, 2}, 0, 2);
        }
        g.remark(2, kMonth, "x"); // one character: shown here, never printed
        g.phones(2, "08-123 45 67", "");
        const std::vector<DrawOp> ops = DrawScreenPage(g.store, kMonth, kPane, 0, 2);
        const int colW = newForm ? 69 : 63;

        const DrawOp* name = findText(ops, "Förnamn2 Efternamn2");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->x, 2);
        EXPECT_EQ(name->y, 41);
        const int magazinesOrPublications = newForm ? 0 : 3;
        const DrawOp* twelve = findText(ops, "12");
        ASSERT_NE(twelve, nullptr);
        EXPECT_EQ(twelve->x, 190 + (magazinesOrPublications + 1) * colW - 10);
        EXPECT_EQ(twelve->align, Align::Right);
        EXPECT_EQ(findText(ops, "½")->x, 190 + 3 * colW - 10);
        EXPECT_EQ(findText(ops, "9"), nullptr);
        EXPECT_EQ(findText(ops, "08-123 45 67"), nullptr);

        const DrawOp* remark = findText(ops, "x");
        ASSERT_NE(remark, nullptr);
        EXPECT_EQ(remark->x, newForm ? 190 + 2 + 6 * 58 : 190 + 2 + 6 * 63);
        EXPECT_EQ(remark->align, Align::Left);
        ASSERT_TRUE(remark->clip.has_value());
        EXPECT_EQ(*remark->clip, (Rect{534, 41, 760, 61}));
        // Headings, both names, four values and the remark: publisher 1 has nothing else.
        EXPECT_EQ(textsOf(ops).size(), (newForm ? 7u : 8u) + 2u + 4u + 1u);
    }
}

TEST(ScreenPage, EighteenthRowLiesInsideThePane) {
    for (const int height : {380, 346, 200, 19 * 23 - 1}) {
        SCOPED_TRACE(height);
        SummaryGroup g;
        g.make(18, true);
        const ScreenMeasures pane{760, height, 1, 1};
        const std::vector<DrawOp> ops = DrawScreenPage(g.store, kMonth, pane, 0, 18);
        const int lastRule = opsOfKind(ops, OpKind::Line).back().y;
        const DrawOp* last = findText(ops, "Förnamn18 Efternamn18");
        ASSERT_NE(last, nullptr);
        const int rowHeight = height / 19;
        EXPECT_GT(last->y, lastRule);
        EXPECT_LE(last->y - 1 + rowHeight, height);
    }
}

TEST(ScreenPage, ShowsTheRequestedPublishersOnly) {
    SummaryGroup g;
    g.make(40, true);
    const std::vector<DrawOp> last = DrawScreenPage(g.store, kMonth, kPane, 22, 40);
    const std::vector<std::string> texts = textsOf(last);
    ASSERT_EQ(texts.size(), 7u + 18u);
    EXPECT_EQ(texts[7], "Förnamn23 Efternamn23");
    EXPECT_EQ(texts.back(), "Förnamn40 Efternamn40");

    // A range past the group's end stops at its last publisher.
    EXPECT_EQ(textsOf(DrawScreenPage(g.store, kMonth, kPane, 30, 48)).size(), 7u + 10u);
    EXPECT_EQ(textsOf(DrawScreenPage(g.store, kMonth, kPane, 0, 40)).size(), 7u + 18u);
}

// Long names stop before the first value column and long remarks before the pane's edge, in the
// pane's own font (7 pixels a letter here).
TEST(ScreenPage, LongTextsAreShortenedToTheirCells) {
    class PaneFont : public TextMeasure {
    public:
        int width(const std::string& text, const Font&) const override {
            return static_cast<int>(utf8Length(text)) * 7;
        }
        int depth(const Font&) const override { return 16; }
    };
    const PaneFont font;
    ScreenMeasures pane = kPane;
    pane.measure = &font;
    SummaryGroup g;
    g.make(2, true);
    setTextField(g.store.record(1), TextField::FirstName, "Karl-Gustav Åkerlund", nullptr);
    setTextField(g.store.record(1), TextField::LastName, "Östergren-Söderström", nullptr);
    g.remark(1, kMonth, std::string(36, 'W'));
    g.remark(2, kMonth, std::string(31, 'W'));
    const std::vector<DrawOp> ops = DrawScreenPage(g.store, kMonth, pane, 0, 2);
    // 186 pixels before the line at 190; 218 before the edge from 540.
    EXPECT_NE(findText(ops, "Karl-Gustav Åkerlund Öste…"), nullptr);
    EXPECT_NE(findText(ops, std::string(30, 'W') + "…"), nullptr);
    EXPECT_NE(findText(ops, std::string(31, 'W')), nullptr);
    EXPECT_NE(findText(ops, "Förnamn2 Efternamn2"), nullptr);
    // Without the pane's font nothing is shortened.
    EXPECT_NE(findText(DrawScreenPage(g.store, kMonth, kPane, 0, 2),
                       "Karl-Gustav Åkerlund Östergren-Söderström"),
              nullptr);
}

// What a screen reader is given of a page is what the page draws, each text inside the cell it
// is offered in: the publishers' pages and the totals, in either form.
bool drawnInside(const std::vector<DrawOp>& ops, const std::string& text, const Rect& cell,
                 bool lastHeading) {
    return std::any_of(ops.begin(), ops.end(), [&](const DrawOp& op) {
        const bool across = op.align == Align::Right ? op.x > cell.left && op.x <= cell.right
                                                     : op.x >= cell.left && op.x < cell.right;
        // The last heading stands over the remarks' room, right-aligned short of the edge.
        return op.kind == OpKind::Text && op.text == text && op.y >= cell.top &&
               op.y < cell.bottom && (across || lastHeading);
    });
}

void expectTableAsDrawn(const ScreenTable& table, const std::vector<DrawOp>& ops) {
    std::vector<std::string> read(table.headings);
    for (std::size_t c = 0; c < table.headings.size(); ++c) {
        EXPECT_TRUE(drawnInside(ops, table.headings[c],
                                ScreenCellRect(kPane, table, 0, static_cast<int>(c)),
                                c + 1 == table.headings.size()))
            << table.headings[c];
    }
    for (const ScreenRow& row : table.rows) {
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            if (!row.cells[c].empty()) {
                read.push_back(row.cells[c]);
                EXPECT_TRUE(drawnInside(
                    ops, row.cells[c],
                    ScreenCellRect(kPane, table, row.band, static_cast<int>(c), row.wide), false))
                    << row.cells[c] << " in band " << row.band << ", column " << c;
            }
        }
    }
    std::vector<std::string> drawn = textsOf(ops);
    std::sort(read.begin(), read.end());
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(read, drawn);
}

TEST(ScreenPage, TheTableIsWhatThePageDraws) {
    for (const bool newForm : {true, false}) {
        SCOPED_TRACE(newForm);
        SummaryGroup g;
        g.make(20, newForm);
        for (int p = 3; p <= 20; p += 4) {
            if (newForm) {
                g.newForm(p, kMonth, {std::uint16_t(p), 1, 5, 2}, p, p % 4);
            } else {
                g.oldForm(p, kMonth, {1, 2, 9, 12, 5, 2}, p, p % 4);
            }
            g.remark(p, kMonth, "Sjuk");
        }
        g.auxiliaryPioneer(7, kMonth);
        const ScreenTable page = ScreenPageTable(g.store, kMonth, 2, 20);
        ASSERT_EQ(page.rows.size(), 18u);
        EXPECT_EQ(page.rows.front().cells.front(), "Förnamn3 Efternamn3");
        EXPECT_EQ(page.rows[4].cells.back(), "Hjp. Sjuk");
        expectTableAsDrawn(page, DrawScreenPage(g.store, kMonth, kPane, 2, 20));

        const TotalsBlock block = MakeTotalsBlock(ComputeGroupTotals(g.store, kMonth, newForm));
        const ScreenTable totals = ScreenTotalsTable(block, newForm);
        EXPECT_EQ(totals.rows.size(), block.rows.size() + block.statusLines.size());
        EXPECT_TRUE(totals.rows.back().wide);
        expectTableAsDrawn(totals,
                           DrawScreenTotalsPage(block, newForm, kPane, LayoutLanguage::Swedish));
    }
}

} // namespace
} // namespace zadw
