// SPDX-License-Identifier: GPL-3.0-or-later
// The printed list as a PDF file, read back with poppler as a person would read the paper.
#include "SummaryPdf.h"
#include "Strings.h"
#include "SummaryCells.h"
#include "SummaryTestGroup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#ifndef ZADW_NO_TOOL
namespace zadw::tool {
int summaryCommandOn(const std::vector<std::string>& args, int year, int monthIndex);
}
#endif

using namespace zadw;
using namespace zadw::test;

namespace {

std::string run(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            out.append(buffer, n);
        }
        ::pclose(pipe);
    }
    return out;
}

int pageCount(const std::string& pdf) {
    const std::string info = run("pdfinfo '" + pdf + "' 2>/dev/null");
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

std::string pdfText(const std::string& pdf) {
    return run("pdftotext '" + pdf + "' - 2>/dev/null");
}

void expectHolds(const std::string& text, const std::vector<std::string>& wanted) {
    for (const std::string& w : wanted) {
        EXPECT_NE(text.find(w), std::string::npos) << "missing \"" << w << "\"";
    }
}

std::vector<std::string> headings(bool newForm) {
    std::vector<std::string> out = {LoadString(StringId::NameHeading),
                                    LoadString(StringId::PhoneHeading)};
    for (const SummaryColumn& c : SummaryColumns(newForm)) {
        out.push_back(LoadString(*c.heading));
    }
    return out;
}

std::string name(int p) {
    return "Förnamn" + std::to_string(p) + " Efternamn" + std::to_string(p);
}

} // namespace

TEST(SummaryPdf, SheetsHoldTheHeaderAndEveryPublisher) {
    struct Case {
        int publishers;
        bool newForm;
        int pages;
    };
    // A full sheet of rows leaves no room for the totals, which take one more sheet.
    for (const Case c : {Case{2, true, 1}, Case{33, false, 2}, Case{32, true, 2}}) {
        SCOPED_TRACE(c.publishers);
        SummaryGroup group;
        group.make(c.publishers, !c.newForm, 7); // the argument wins over the store's form
        const int m = 2;
        group.phones(1, "08-123 45 67", "070-765 43 21");
        group.remark(2, m, "sjuk");
        group.oldForm(2, m, OldFormValues{}, 3, 1);
        group.newForm(1, m, NewFormValues{}, 0, 2);
        ScratchDir dir;
        const std::string pdf = dir.file("lista.pdf");
        std::string error;
        ASSERT_TRUE(WriteSummaryPdf(group.store, m, c.newForm, pdf, &error)) << error;
        EXPECT_EQ(group.store.newFormActive, !c.newForm);

        EXPECT_EQ(pageCount(pdf), c.pages);
        const std::string text = pdfText(pdf);
        std::vector<std::string> wanted = headings(c.newForm);
        wanted.insert(wanted.end(), {"Insamling av rapporter - mars", "Grupp #7", "08-123 45 67",
                                     "070-765 43 21", "sjuk"});
        for (int p = 1; p <= c.publishers; ++p) {
            wanted.push_back(name(p));
        }
        expectHolds(text, wanted);
        EXPECT_EQ(text.find(c.newForm ? "Böcker" : "Filmer"), std::string::npos);
    }
}

// One word of pdftotext -bbox, in points from the page's top-left corner.
struct WordBox {
    int page = 0;
    double pageWidth = 0, pageHeight = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    std::string text;
};

std::vector<WordBox> wordBoxes(const std::string& pdf) {
    const std::string html = run("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    const std::regex pageRe(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    const std::regex wordRe(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" )re"
                            R"re(yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<WordBox> words;
    WordBox current;
    std::istringstream lines(html);
    std::string line;
    std::smatch m;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, m, pageRe)) {
            ++current.page;
            current.pageWidth = std::stod(m[1]);
            current.pageHeight = std::stod(m[2]);
        } else if (std::regex_search(line, m, wordRe)) {
            WordBox w = current;
            w.xMin = std::stod(m[1]);
            w.yMin = std::stod(m[2]);
            w.xMax = std::stod(m[3]);
            w.yMax = std::stod(m[4]);
            w.text = m[5];
            words.push_back(w);
        }
    }
    return words;
}

// Names, telephone numbers and remarks as long as the file holds them, in the widest letters.
TEST(SummaryPdf, LongTextsStayInsideTheirColumnsOnThePaper) {
    struct Case {
        bool landscape;
        bool newForm;
        int pages;
    };
    for (const Case c : {Case{false, true, 2}, Case{true, true, 2}, Case{false, false, 2}}) {
        SCOPED_TRACE(std::string(c.landscape ? "landscape" : "portrait") +
                     (c.newForm ? " new" : " old"));
        const int count = 40;
        const int m = 10;
        SummaryGroup group;
        group.make(count, c.newForm);
        for (int p = 1; p <= count; ++p) {
            // A number first, so that every name can be found however it was shortened.
            char first[32];
            std::snprintf(first, sizeof first, "P%03d %s", p,
                          p % 2 == 0 ? "WWWWWWWWWWWWWWW" : "Karl-Gustav Åke");
            setTextField(group.store.record(p), TextField::FirstName, first, nullptr);
            setTextField(group.store.record(p), TextField::LastName, "Östergren-Söderström",
                         nullptr);
            group.phones(p, "08-123 45 67 8", "070-12 345 678");
            group.remark(p, m,
                         p % 2 == 0 ? std::string(36, 'W') : "Sjukhuset hela veckan och mer än så");
            group.auxiliaryPioneer(p, m);
            OldFormValues old;
            old[OldFormValue::BibleStudies] = 63;
            group.oldForm(p, m, old, 255, 3);
            group.newForm(p, m, NewFormValues{4095, 4095, 1023, 63}, 255, 3);
        }
        ScratchDir dir;
        const std::string pdf = dir.file("lista.pdf");
        std::string error;
        PaperChoice paper;
        paper.landscape = c.landscape;
        ASSERT_TRUE(WriteSummaryPdf(group.store, m, c.newForm, pdf, &error, paper)) << error;
        EXPECT_EQ(pageCount(pdf), c.pages);

        // The ruled lines in points (600 dots per inch): the grid's left edge, the lines between
        // the columns and the right frame; rows of 18 points from 105 points down.
        const double k = 72.0 / 600;
        std::vector<double> columnLines = {270, 1470, 2220, 2557, 2894, 3231, 3568, 3905};
        columnLines.push_back(c.newForm ? 4442 : 4242);
        const double gridTop = 875 * k;
        const double rowHeight = 150 * k;

        // The totals' status lines stand under their frame, across the columns.
        const std::vector<WordBox> words = wordBoxes(pdf);
        std::vector<std::pair<int, double>> statusLines;
        for (const WordBox& w : words) {
            if (w.text == "Utebliven") {
                statusLines.push_back({w.page, w.yMin});
                statusLines.push_back({w.page, w.yMin + rowHeight});
            }
        }
        const auto onStatusLine = [&](const WordBox& w) {
            for (const auto& [page, y] : statusLines) {
                if (page == w.page && std::abs(w.yMin - y) < 1.0) {
                    return true;
                }
            }
            return false;
        };
        EXPECT_EQ(statusLines.size(), 2u); // the list ends with its totals

        std::map<std::string, int> names;
        for (const WordBox& w : words) {
            SCOPED_TRACE(w.text + " on page " + std::to_string(w.page));
            EXPECT_GE(w.xMin, 0);
            EXPECT_GE(w.yMin, 0);
            EXPECT_LE(w.xMax, w.pageWidth);
            EXPECT_LE(w.yMax, w.pageHeight);
            if (w.text.size() == 4 && w.text[0] == 'P') {
                ++names[w.text];
            }
            if (w.yMin < gridTop || onStatusLine(w)) {
                continue; // the header, and the totals' status lines
            }
            for (const double x : columnLines) {
                EXPECT_FALSE(w.xMin < x * k && x * k < w.xMax) << "crosses the line at " << x;
            }
            // Within a quarter point: pdftotext boxes fonts, not the letters drawn.
            for (double y = gridTop; y < w.yMax; y += rowHeight) {
                EXPECT_FALSE(w.yMin + 0.25 < y && y < w.yMax - 0.25) << "crosses the line at " << y;
            }
        }
        EXPECT_EQ(names.size(), static_cast<std::size_t>(count));
        for (const auto& [name, seen] : names) {
            EXPECT_EQ(seen, 1) << name;
        }
    }
}

TEST(SummaryPdf, AFileThatCannotBeWrittenLeavesNothing) {
    SummaryGroup group;
    group.make(2, true);
    ScratchDir dir;
    std::string error;
    EXPECT_FALSE(WriteSummaryPdf(group.store, 0, true, dir.file("borta/lista.pdf"), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(WriteSummaryPdf(group.store, 12, true, dir.file("lista.pdf"), &error));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

#ifndef ZADW_NO_TOOL
// zadw-tool summary, called as its dispatch calls it.
class SummaryCommand : public ::testing::Test {
protected:
    void SetUp() override {
        group.make(3, true, 4);
        group.store.record(0).reportMonth = 10;
        ASSERT_TRUE(group.store.saveGroupFile(file));
        writeFile(out, "older list");
    }
    int run(const std::vector<std::string>& args, int year = 2026) {
        ::testing::internal::CaptureStderr();
        const int status = tool::summaryCommandOn(args, year, 0);
        errors = ::testing::internal::GetCapturedStderr();
        return status;
    }

    SummaryGroup group;
    ScratchDir dir;
    std::string file = dir.file("Grupp4.z08");
    std::string out = dir.file("lista.pdf");
    std::string errors;
};

TEST_F(SummaryCommand, DefaultsToTheFilesMonthAndTodaysForm) {
    struct Case {
        std::vector<std::string> extra;
        int year;
        std::string month;
        bool newForm;
    };
    const Case cases[] = {
        {{}, 2026, "november", true},
        {{}, 2015, "november", false},
        {{"--month", "3"}, 2026, "mars", true},
        {{"--month", "mars", "--form", "old"}, 2026, "mars", false},
        {{"--form", "new"}, 2015, "november", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.month + (c.newForm ? " new" : " old"));
        std::vector<std::string> args = {file, "--pdf", out};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        ASSERT_EQ(run(args, c.year), 0) << errors;
        EXPECT_EQ(errors, "");
        const std::string text = pdfText(out);
        expectHolds(text, {"Insamling av rapporter - " + c.month, "Grupp #4", name(3),
                           c.newForm ? "Filmer" : "Böcker"});
    }
}

TEST_F(SummaryCommand, BadInputIsOneLineAndNoFile) {
    writeFile(dir.file("text.z08"), std::string(2000, 'x'));
    const std::vector<std::vector<std::string>> cases = {
        {file},
        {"--pdf", out},
        {file, "--pdf"},
        {file, "--pdf", out, "--month", "13"},
        {file, "--pdf", out, "--month", "0"},
        {file, "--pdf", out, "--form", "newest"},
        {file, "--pdf", out, "--colour"},
        {file, file, "--pdf", out},
        {dir.file("borta.z08"), "--pdf", out},
        {dir.file("text.z08"), "--pdf", out},
        {dir.path().string(), "--pdf", out},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.back());
        EXPECT_EQ(run(args), 2);
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        EXPECT_EQ(errors.rfind("zadw-tool: ", 0), 0u) << errors;
        EXPECT_EQ(readFile(out), "older list");
    }
    EXPECT_EQ(run({file, "--pdf", dir.file("borta/lista.pdf")}), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("borta")));
}
#endif
