// SPDX-License-Identifier: GPL-3.0-or-later
// zadw-tool year on a group whose figures are worked out by hand: the JSON's shape and numbers,
// the CSV's bytes, the default year and the refused options.
#include "TestSupport.h"
#include "ToolSupport.h"
#include "YearCommand.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>
#include <sstream>

namespace zadw {
namespace {

using Json = nlohmann::ordered_json;

void report(GroupRecord& r, int m, int hours, int quarter, int category = 0) {
    r.hours[m] = static_cast<std::uint8_t>(hours);
    r.quarterHours[m] = static_cast<std::uint8_t>(quarter);
    r.monthStatus[m] = static_cast<std::uint8_t>(category);
    std::uint16_t form = r.newFormMonthsValue();
    GroupStore::setNewFormMonth(form, m, true);
    r.setNewFormMonthsValue(form);
}

// Report month November. Andersson reported in June, September (10¼), October (12, late) and
// November (9½): a gap in July and August makes him irregular, and his service year is 31¾
// hours. Berg reported 50 hours a month from June, a regular pioneer since October with 5 credit
// hours then (September's 3, as a publisher, do not count); last December she was ill.
class YearGroup : public ::testing::Test {
protected:
    void SetUp() override {
        GroupRecord header{};
        header.reportMonth = 10;
        header.groupNumber = 4;
        std::vector<GroupRecord> people(3);
        setTextField(people[0], TextField::FirstName, "Lars", nullptr);
        setTextField(people[0], TextField::LastName, "Andersson", nullptr);
        report(people[0], 5, 5, 0);
        report(people[0], 8, 10, 1);
        report(people[0], 9, 12, 0);
        people[0].lateFlag(9) = 1;
        report(people[0], 10, 9, 2);
        setTextField(people[1], TextField::FirstName, "Anna", nullptr);
        setTextField(people[1], TextField::LastName, "Berg", nullptr);
        for (int m = 5; m <= 10; ++m) {
            report(people[1], m, 50, 0, m >= 9 ? 2 : 0);
        }
        people[1].creditHours[8] = 3;
        people[1].creditHours[9] = 5;
        people[1].remarkSlot[11] = 1;
        setTextField(people[2], TextField::FirstName, "Per", nullptr);
        setTextField(people[2], TextField::LastName, "Lind", nullptr);
        RemarkSlot ill{};
        std::snprintf(ill.text, sizeof ill.text, "sjuk");
        store.assign(header, people, {ill});
    }

    test::RecordingSink sink;
    GroupStore store{sink};
};

std::vector<std::string> keys(const Json& j) {
    std::vector<std::string> out;
    for (const auto& [key, value] : j.items()) {
        out.push_back(key);
    }
    return out;
}

TEST_F(YearGroup, JsonHasTheDescribedShapeAndTheHandWorkedFigures) {
    const Json j = Json::parse(tool::YearJson(ComputeYearOverview(store, 10, 2026)));
    EXPECT_EQ(keys(j), (std::vector<std::string>{"month", "year", "serviceYear", "publishers",
                                                 "regularity"}));
    EXPECT_EQ(j["month"], 10);
    EXPECT_EQ(j["year"], 2026);
    EXPECT_EQ(j["serviceYear"], 2027);
    ASSERT_EQ(j["publishers"].size(), 3u);
    const Json& andersson = j["publishers"][0];
    EXPECT_EQ(keys(andersson),
              (std::vector<std::string>{"name", "category", "regularity", "serviceYearHours",
                                        "serviceYearCreditHours", "goal", "months"}));
    EXPECT_EQ(andersson["name"], "Andersson, Lars");
    EXPECT_EQ(andersson["category"], 0);
    EXPECT_EQ(andersson["regularity"], "irregular");
    EXPECT_EQ(andersson["serviceYearHours"], 31.75);
    EXPECT_EQ(andersson["serviceYearCreditHours"], 0);
    EXPECT_TRUE(andersson["goal"].is_null());
    ASSERT_EQ(andersson["months"].size(), 12u);
    EXPECT_EQ(andersson["months"][0], Json::parse(R"({"month": 11, "year": 2025,
        "reported": false, "remarkOnly": false, "late": false, "hours": 0, "creditHours": 0})"));
    EXPECT_EQ(andersson["months"][10], Json::parse(R"({"month": 9, "year": 2026,
        "reported": true, "remarkOnly": false, "late": true, "hours": 12, "creditHours": 0})"));
    EXPECT_EQ(andersson["months"][11]["hours"], 9.5);
    EXPECT_EQ(keys(andersson["months"][0]),
              (std::vector<std::string>{"month", "year", "reported", "remarkOnly", "late", "hours",
                                        "creditHours"}));

    const Json& berg = j["publishers"][1];
    EXPECT_EQ(berg["category"], 2);
    EXPECT_EQ(berg["regularity"], "regular");
    EXPECT_EQ(berg["serviceYearHours"], 150);
    EXPECT_EQ(berg["serviceYearCreditHours"], 5);
    EXPECT_EQ(berg["goal"], 600);
    EXPECT_EQ(berg["months"][0]["remarkOnly"], true);
    EXPECT_EQ(berg["months"][0]["reported"], false);
    EXPECT_EQ(berg["months"][9]["creditHours"], 3); // stored, though it does not count

    EXPECT_EQ(j["publishers"][2]["regularity"], "inactive");
    EXPECT_EQ(j["regularity"], Json::parse(R"({"regular": 1, "irregular": 1, "inactive": 1})"));
}

TEST_F(YearGroup, CsvIsOneRowAPublisher) {
    EXPECT_EQ(tool::YearCsv(ComputeYearOverview(store, 10, 2026)),
              "name,category,regularity,2025-12,2026-01,2026-02,2026-03,2026-04,2026-05,2026-06,"
              "2026-07,2026-08,2026-09,2026-10,2026-11,serviceYearHours,serviceYearCreditHours,"
              "goal\r\n"
              "\"Andersson, Lars\",0,irregular,,,,,,,5,,,10.25,12,9.5,31.75,0,\r\n"
              "\"Berg, Anna\",2,regular,,,,,,,50,50,50,50,50,50,150,5,600\r\n"
              "\"Lind, Per\",0,inactive,,,,,,,,,,,,,0,0,\r\n");
}

// The command as a script runs it, with the day given.
class YearCommandRun : public YearGroup {
protected:
    int run(const std::vector<std::string>& args, int year, int month, std::string& out) {
        std::ostringstream captured;
        std::streambuf* before = std::cout.rdbuf(captured.rdbuf());
        const int status = tool::yearCommandOn(args, year, month);
        std::cout.rdbuf(before);
        out = captured.str();
        return status;
    }
    std::string file() {
        const std::string path = dir.file("grupp.z08");
        if (!std::filesystem::exists(path)) {
            EXPECT_TRUE(store.saveGroupFile(path));
        }
        return path;
    }
    test::ScratchDir dir;
};

TEST_F(YearCommandRun, TheYearDefaultsToTheLatestBeforeToday) {
    struct Case {
        std::vector<std::string> extra;
        int todayYear, todayMonth;
        int month, year;
    };
    const Case cases[] = {
        {{}, 2026, 11, 10, 2026},                 // December 2026: the file's November
        {{}, 2027, 0, 10, 2026},                  // January 2027
        {{"--month", "12"}, 2027, 0, 11, 2026},   // January: December is last year's
        {{"--month", "12"}, 2026, 11, 11, 2025},  // December has not ended yet
        {{"--year", "2030"}, 2026, 11, 10, 2030}, // as told
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{file(), "--json"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        std::string out;
        ASSERT_EQ(run(args, c.todayYear, c.todayMonth, out), tool::kExitOk);
        const Json j = Json::parse(out);
        EXPECT_EQ(j["month"], c.month);
        EXPECT_EQ(j["year"], c.year);
    }
    std::string table;
    ASSERT_EQ(run({file()}, 2026, 11, table), tool::kExitOk);
    EXPECT_NE(table.find("Berg, Anna"), std::string::npos);
    EXPECT_NE(table.find("regelbunden 1, oregelbunden 1, inaktiv 1"), std::string::npos);
}

TEST_F(YearCommandRun, RefusesWhatItCannotDo) {
    const std::vector<std::vector<std::string>> refused = {
        {file(), "--json", "--csv"}, {file(), "--year", "20x6"}, {file(), "--year"},
        {file(), "--form", "new"},   {file(), "--month", "13"},  {},
    };
    for (const auto& args : refused) {
        std::string out;
        EXPECT_EQ(run(args, 2026, 11, out), tool::kExitBadInput) << ::testing::PrintToString(args);
        EXPECT_TRUE(out.empty());
    }
}

} // namespace
} // namespace zadw
