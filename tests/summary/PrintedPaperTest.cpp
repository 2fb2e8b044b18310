// SPDX-License-Identifier: GPL-3.0-or-later
// The printed list on every paper it may meet, and texts longer than their cells.
#include "Strings.h"
#include "SummaryCells.h"
#include "SummaryLayout.h"
#include "SummaryTestGroup.h"

#include <gtest/gtest.h>

#include <map>

namespace zadw {
namespace {

using test::findText;
using test::FixedMeasure;
using test::opsOfKind;
using test::SummaryGroup;
using test::textsOf;

constexpr int kMonth = 4;

// Printable areas at 600 dots per inch, without margins.
struct PaperCase {
    const char* name;
    int width;
    int height;
    int rows;           // a sheet's rows in the new form
    int pixelsPerInchX; // after shrinking to the paper's width
};

const PaperCase kPapers[] = {
    {"A4 portrait", 4961, 7016, 32, 600},     {"A4 landscape", 7016, 4961, 27, 600},
    {"A5 portrait", 3496, 4961, 32, 471},     {"A5 landscape", 4961, 3496, 17, 600},
    {"Letter portrait", 5100, 6600, 32, 600}, {"Letter landscape", 6600, 5100, 28, 600},
    {"Legal portrait", 5100, 8400, 32, 600},
};

std::vector<Page> printOn(GroupStore& store, int width, int height, PageMetrics* out = nullptr,
                          bool withTotals = false) {
    PrinterMeasures device{600, 600, 97, width, height};
    PageMetrics pm = GetPageMetrics(device);
    pm.title = SummaryTitle(kMonth);
    std::vector<Page> pages = PrintSummaryPages(store, kMonth, pm, FixedMeasure(), withTotals);
    if (out != nullptr) {
        *out = pm;
    }
    return pages;
}

TEST(PrintedPaper, RowsPerSheetFollowThePrintableHeight) {
    for (const PaperCase& c : kPapers) {
        SCOPED_TRACE(c.name);
        SummaryGroup g;
        g.make(0, true);
        PageMetrics pm;
        printOn(g.store, c.width, c.height, &pm);
        EXPECT_EQ(pm.pixelsPerInchX, c.pixelsPerInchX);
        const PrintPositions pos = ComputePrintPositions(pm, true);
        EXPECT_EQ(RowsPerSheet(pm, pos), c.rows);
        // The table's right frame line, pen included, is on the paper.
        EXPECT_LT(pos.colLine[5] + 1, c.width);
    }
    // A device that does not tell its paper keeps the 32 rows.
    PageMetrics unknown = GetPageMetrics({600, 600, 97});
    unknown.left = 300;
    unknown.phoneX = 1500;
    EXPECT_EQ(RowsPerSheet(unknown, ComputePrintPositions(unknown, true)), 32);
}

// Every publisher once, every sheet with its header, nothing off the paper.
TEST(PrintedPaper, AFullGroupFitsEveryPaper) {
    for (const bool newForm : {true, false}) {
        for (const PaperCase& c : kPapers) {
            SCOPED_TRACE(std::string(c.name) + (newForm ? " new" : " old"));
            SummaryGroup g;
            g.make(127, newForm);
            for (int p = 1; p <= 127; p += 3) {
                g.phones(p, "08-123 45 67", "070-111 22 33");
                g.remark(p, kMonth, "Sjukhuset hela veckan och mer.");
            }
            PageMetrics pm;
            const std::vector<Page> pages = printOn(g.store, c.width, c.height, &pm, true);
            const FixedMeasure measure;

            std::map<std::string, int> seen;
            int rowsBefore = 0;
            for (std::size_t i = 0; i < pages.size(); ++i) {
                const Page& page = pages[i];
                ASSERT_NE(findText(page, "Insamling av rapporter - maj"), nullptr) << i;
                ASSERT_NE(findText(page, "Namn"), nullptr) << i;
                int names = 0;
                for (const DrawOp& op : opsOfKind(page, OpKind::Text)) {
                    if (op.text.rfind("Förnamn", 0) == 0) {
                        ++seen[op.text];
                        ++names;
                    }
                    const int w = measure.width(op.text, op.font);
                    const int left = op.align == Align::Right ? op.x - w : op.x;
                    EXPECT_GE(left, 0) << op.text;
                    EXPECT_GE(op.y, 0) << op.text;
                    EXPECT_LT(left + w, c.width) << op.text;
                    EXPECT_LT(op.y + measure.depth(op.font), c.height) << op.text;
                }
                for (const DrawOp& op : opsOfKind(page, OpKind::Line)) {
                    EXPECT_LT(std::max(op.x, op.x2) + 1, c.width);
                    EXPECT_LT(std::max(op.y, op.y2) + 1, c.height);
                }
                // Only the last sheet of rows is part full.
                if (i + 1 < static_cast<std::size_t>((127 + c.rows - 1) / c.rows)) {
                    EXPECT_EQ(names, c.rows) << i;
                }
                rowsBefore += names;
            }
            EXPECT_EQ(rowsBefore, 127);
            EXPECT_EQ(seen.size(), 127u);
            for (const auto& [name, count] : seen) {
                EXPECT_EQ(count, 1) << name;
            }
            // The totals close the list, on the last sheet of rows or on one of their own.
            const std::size_t sheetsOfRows = static_cast<std::size_t>((127 + c.rows - 1) / c.rows);
            EXPECT_TRUE(pages.size() == sheetsOfRows || pages.size() == sheetsOfRows + 1);
            EXPECT_NE(findText(pages.back(), LoadString(StringId::CountedTotal)), nullptr);
            for (std::size_t i = 0; i + 1 < pages.size(); ++i) {
                EXPECT_EQ(findText(pages[i], LoadString(StringId::CountedTotal)), nullptr) << i;
            }
        }
    }
}

// What follows the list starts below the ruled line under its last row.
TEST(PrintedPaper, TheLastRowsBottomIsKnown) {
    const std::pair<int, int> cases[] = {
        {0, 875}, {1, 875 + 150}, {32, 875 + 32 * 150}, {33, 875 + 150}};
    for (const auto& [count, bottom] : cases) {
        SCOPED_TRACE(count);
        SummaryGroup g;
        g.make(count, true);
        PageMetrics pm;
        const std::vector<Page> pages = printOn(g.store, 4961, 7016, &pm);
        const PrintPositions pos = ComputePrintPositions(pm, true);
        EXPECT_EQ(RowsBottom(pm, pos), bottom);
        if (count > 0) {
            EXPECT_EQ(opsOfKind(pages.back(), OpKind::Line)[0].y2, bottom);
        }
    }
}

TEST(PrintedPaper, LongTextsAreShortenedAtTheCellEdge) {
    // Body letters are 41 units wide, small ones 33; "W" counts twice.
    struct Case {
        std::string what;
        std::string given;
        std::string printed;
        int x;
    };
    const Case cases[] = {
        // 1153 units before the line at 1470: 27 letters and "…".
        {"name", "Östergren-Söderström", "Karl-Gustav Åkerlund Österg…", 300},
        {"name", "Östergr", "Karl-Gustav Åkerlund Östergr", 300},
        // 703 units before the line at 2220 for the upper number, 583 for the indented one.
        {"phone1", "WWWWWWWWWWWWWW", "WWWWWWWWWW…", 1500},
        {"phone2", "WWWWWWWWWWWWWW", "WWWWWWWW…", 1620},
        // 490 units before the frame at 4442.
        {"remark", "WWWWWWWWWW", "WWWWW…", 3935},
        {"remark", "WWWW WWWWWWWWWW WWWWWW", "WWWW WW…", 3935},
        {"remark2", "WWWW WWWWWWWWWW WWWWWW", "W WWWWW…", 3935},
        // Blanks before the ellipsis go.
        {"remark", "abcdefghi W", "abcdefghi W", 3935},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what + ": " + c.given);
        SummaryGroup g;
        g.make(1, true);
        if (c.what == "name") {
            setTextField(g.store.record(1), TextField::FirstName, "Karl-Gustav Åkerlund", nullptr);
            setTextField(g.store.record(1), TextField::LastName, c.given, nullptr);
        } else if (c.what.rfind("phone", 0) == 0) {
            g.phones(1, c.given, c.given);
        } else {
            g.remark(1, kMonth, c.given);
        }
        const Page page = printOn(g.store, 4961, 7016)[0];
        const DrawOp* op = findText(page, c.printed);
        ASSERT_NE(op, nullptr) << ::testing::PrintToString(textsOf(page));
        EXPECT_EQ(op->x, c.x);
    }

    const FixedMeasure measure;
    Font body;
    body.height = -82; // 41 wide
    EXPECT_EQ(FitToWidth("abc", 123, body, measure), "abc");
    EXPECT_EQ(FitToWidth("abcd", 123, body, measure), "ab…");
    EXPECT_EQ(FitToWidth("a bcd", 123, body, measure), "a…");
    EXPECT_EQ(FitToWidth("abcd", 41, body, measure), "…");
    EXPECT_EQ(FitToWidth("abcd", 40, body, measure), "");
}

// The old form's Bible studies share their cell with the remarks, which never cover the value.
TEST(PrintedPaper, OldFormRemarksStartAfterTheBibleStudies) {
    struct Case {
        int bibleStudies;
        std::string remark;
        std::string printed;
        int x;
    };
    const Case cases[] = {
        {0, "sjuk", "sjuk", 3935},
        // 73 units between the value's end (4145) and the frame: room for the ellipsis, or for
        // a letter and the ellipsis in the small font.
        {1, "sjuk", "…", 4152},
        {9, "Hjp. 9", "…", 4152},
        {9, "Hjp. sjukdom", "H…", 4152},
        {0, "långvarig sjukdom", "långvar…", 3935},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remark + " " + std::to_string(c.bibleStudies));
        SummaryGroup g;
        g.make(1, false);
        OldFormValues values;
        values[OldFormValue::BibleStudies] = static_cast<std::uint16_t>(c.bibleStudies);
        g.oldForm(1, kMonth, values, 0, 0);
        g.remark(1, kMonth, c.remark);
        const Page page = printOn(g.store, 4961, 7016)[0];
        const DrawOp* op = findText(page, c.printed);
        ASSERT_NE(op, nullptr) << ::testing::PrintToString(textsOf(page));
        EXPECT_EQ(op->x, c.x);
        if (c.bibleStudies != 0) {
            const DrawOp* value = findText(page, std::to_string(c.bibleStudies));
            ASSERT_NE(value, nullptr);
            EXPECT_LT(value->x, op->x);
        }
    }
}

// Two lines in a row keep off both ruled lines: the row's top line is at 875, the next at 1025.
TEST(PrintedPaper, TwoLinesInARowStayBetweenItsRuledLines) {
    struct Case {
        int dpi;
        int y1, y2, fontHeight;
    };
    const Case cases[] = {
        // 8 points at 600 dpi, 74 deep: at the top and the bottom of the row.
        {600, 877, 949, -66},
        // 1200 dpi: lines at 1750 and 2050; 149 deep.
        {1200, 1752, 1899, -133},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        SummaryGroup g;
        g.make(1, true);
        g.remark(1, kMonth, "Sjukhuset hela veckan");
        g.phones(1, "08-123 45 67", "070-111 22 33");
        PageMetrics pm = GetPageMetrics({c.dpi, c.dpi, 0});
        pm.title = SummaryTitle(kMonth);
        const Page page = PrintSummaryPages(g.store, kMonth, pm, FixedMeasure())[0];
        for (const char* first : {"Sjukhuset", "08-123 45 67"}) {
            EXPECT_EQ(findText(page, first)->y, c.y1) << first;
            EXPECT_EQ(findText(page, first)->font.height, c.fontHeight);
        }
        for (const char* second : {" hela veckan", "070-111 22 33"}) {
            EXPECT_EQ(findText(page, second)->y, c.y2) << second;
        }
    }
}

// A font that comes out deeper than the one asked for is made smaller, never let out of its row.
TEST(PrintedPaper, ADeepFontIsMadeSmallerToFitItsRow) {
    class DeepMeasure : public FixedMeasure {
    public:
        int depth(const Font& font) const override { return std::abs(font.height) * 3 / 2; }
    };
    SummaryGroup g;
    g.make(1, true);
    g.remark(1, kMonth, "Sjukhuset hela veckan");
    PageMetrics pm = GetPageMetrics({600, 600, 0});
    pm.title = SummaryTitle(kMonth);
    const DeepMeasure measure;
    const Page page = PrintSummaryPages(g.store, kMonth, pm, measure)[0];
    const DrawOp* name = findText(page, "Förnamn1 Efternamn1");
    const DrawOp* first = findText(page, "Sjukhuset");
    const DrawOp* second = findText(page, " hela veckan");
    ASSERT_TRUE(name && first && second);
    EXPECT_EQ(name->font.height, -83); // 124 deep still fits 877..1023
    EXPECT_EQ(name->y, 1023 - 124);
    EXPECT_GE(first->y, 877);
    EXPECT_LE(second->y + measure.depth(second->font), 1023);
    EXPECT_GT(second->font.height, -66);
}

} // namespace
} // namespace zadw
