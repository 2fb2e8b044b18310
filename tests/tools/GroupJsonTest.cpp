// SPDX-License-Identifier: GPL-3.0-or-later
#include "GroupJson.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace zadw {
namespace {

using Json = GroupJsonValue;
using test::readFile;
using test::RecordingSink;
using test::ScratchDir;
using test::writeFile;

Json newMonth(int hours) {
    Json m = Json::parse(R"({"form": "new", "status": 0, "hours": 0, "quarter": 1,
        "publications": 3, "videos": 1, "returnVisits": 2, "bibleStudies": 1,
        "remarkSlot": 0, "creditHours": 0, "late": false})");
    m["hours"] = hours;
    return m;
}

Json oldMonth() {
    return Json::parse(R"({"form": "old", "status": 1, "hours": 30, "quarter": 0,
        "books": 2, "brochures": 5, "subscriptions": 0, "magazines": 10, "returnVisits": 4,
        "bibleStudies": 1, "remarkSlot": 1, "creditHours": 0, "late": true})");
}

// Two publishers: the first all new form, the second with an old-form January.
Json smallGroup() {
    Json g = Json::parse(R"({"groupNumber": 4, "reportMonth": 10,
        "secretaryEmail": "sekr@example.se", "remarks": ["sjuk"], "publishers": []})");
    for (int p = 0; p < 2; ++p) {
        Json months = Json::array();
        for (int m = 0; m < 12; ++m) {
            months.push_back(p == 1 && m == 0 ? oldMonth() : newMonth(m));
        }
        g["publishers"].push_back({{"firstName", p == 0 ? "Anna" : "Örjan"},
                                   {"lastName", "Berg"},
                                   {"email", "anna@example.se"},
                                   {"phones", {"08-123 45", "", "070-1234567"}},
                                   {"groupNumber", 4},
                                   {"appointment", p},
                                   {"months", months}});
    }
    return g;
}

GroupContent build(const Json& json) {
    GroupContent c;
    JsonFault fault;
    EXPECT_TRUE(groupFromJson(json, c, fault)) << fault.field << ": " << fault.problem;
    return c;
}

// Writes the group as the tool does and returns the file's bytes.
std::string saveBytes(const GroupContent& c, const std::string& path) {
    RecordingSink sink;
    GroupStore store(sink);
    store.assign(c.header, c.publishers, c.remarks);
    EXPECT_TRUE(store.saveGroupFile(path));
    return readFile(path);
}

Json loadJson(const std::string& path) {
    RecordingSink sink;
    GroupStore store(sink);
    EXPECT_TRUE(store.loadGroupFile(path));
    EXPECT_EQ(store.lastLoadStatus(), LoadStatus::Loaded);
    return groupToJson(store);
}

TEST(GroupJsonTest, SampleBuildsAndDumpsBackUnchanged) {
    const std::string text = readFile(ZADW_SAMPLE_JSON);
    GroupContent c;
    JsonFault fault;
    ASSERT_TRUE(parseGroupJson(text, c, fault)) << fault.field << ": " << fault.problem;
    ScratchDir dir;
    const std::string bytes = saveBytes(c, dir.file("grupp4.z08"));
    const Json dumped = loadJson(dir.file("grupp4.z08"));
    EXPECT_EQ(dumped, Json::parse(text));
    // The sample is kept in the dump's own layout, so a dump can be diffed against it.
    EXPECT_EQ(formatGroupJson(dumped), text);
    EXPECT_EQ(saveBytes(build(dumped), dir.file("again.z08")), bytes);
}

TEST(GroupJsonTest, WidestValuesAndFullFieldsSurviveTheFile) {
    Json g = smallGroup();
    g["groupNumber"] = 255;
    g["reportMonth"] = 11;
    g["secretaryEmail"] = std::string(50, 's') + "@example.se!";
    g["remarks"] = {std::string(35, 'r') + "ä", "", "5 +Timmar 100%"};
    Json& p = g["publishers"][0];
    p["firstName"] = "Åsa-Britt Östergrenå";
    p["lastName"] = "Gyllenhjelm-Sjöström";
    p["email"] = std::string(48, 'e') + "@example.se.nu";
    p["phones"] = {"08-123 456 789", "+46 8 123 45 67", "+46 70 12 34 56"};
    p["groupNumber"] = -128;
    p["appointment"] = 3;
    p["months"][3] = {{"form", "new"},        {"status", 3},          {"hours", 255},
                      {"quarter", 3},         {"publications", 4095}, {"videos", 4095},
                      {"returnVisits", 1023}, {"bibleStudies", 63},   {"remarkSlot", 254},
                      {"creditHours", 255},   {"late", true}};
    p["months"][11] = {{"form", "old"},       {"status", 2},       {"hours", 255},
                       {"quarter", 3},        {"books", 255},      {"brochures", 4095},
                       {"subscriptions", 63}, {"magazines", 4095}, {"returnVisits", 1023},
                       {"bibleStudies", 63},  {"remarkSlot", 3},   {"creditHours", 1},
                       {"late", true}};
    g["publishers"][1]["groupNumber"] = 127;

    ScratchDir dir;
    const std::string bytes = saveBytes(build(g), dir.file("a.z08"));
    const Json dumped = loadJson(dir.file("a.z08"));
    EXPECT_EQ(dumped, g);
    EXPECT_EQ(saveBytes(build(dumped), dir.file("b.z08")), bytes);

    // Spot checks of the packing against the store's own decoding.
    RecordingSink sink;
    GroupStore store(sink);
    ASSERT_TRUE(store.loadGroupFile(dir.file("a.z08")));
    EXPECT_EQ(store.getNewFormValue(1, 3, NewFormValue::Publications), 4095);
    EXPECT_EQ(store.getNewFormValue(1, 3, NewFormValue::ReturnVisits), 1023);
    EXPECT_EQ(store.getValue(1, 11, OldFormValue::Magazines), 4095);
    EXPECT_EQ(store.getValue(1, 11, OldFormValue::Brochures), 4095);
    EXPECT_TRUE(store.hasLateFlag(1, 3));
    EXPECT_EQ(static_cast<std::int8_t>(store.record(1).groupNumber), -128);
    EXPECT_EQ(store.groupNumber, 255);
}

struct BadCase {
    const char* name;
    std::function<void(Json&)> change;
    const char* field; // nullptr = accepted
};

Json& pub0(Json& g) {
    return g["publishers"][0];
}
Json& month(Json& g, int p, int m) {
    return g["publishers"][p]["months"][m];
}

const BadCase kCases[] = {
    {"top level is a list", [](Json& g) { g = Json::array(); }, ""},
    {"missing reportMonth", [](Json& g) { g.erase("reportMonth"); }, "reportMonth"},
    {"missing hours", [](Json& g) { month(g, 0, 3).erase("hours"); },
     "publishers[0].months[3].hours"},
    {"missing phones", [](Json& g) { g["publishers"][1].erase("phones"); }, "publishers[1].phones"},
    {"missing form", [](Json& g) { month(g, 0, 0).erase("form"); }, "publishers[0].months[0].form"},
    {"unknown top key", [](Json& g) { g["month"] = 3; }, "month"},
    {"old key in a new month", [](Json& g) { month(g, 0, 2)["books"] = 1; },
     "publishers[0].months[2].books"},
    {"new month lacks its keys", [](Json& g) { month(g, 1, 0)["form"] = "new"; },
     "publishers[1].months[0].publications"},
    {"form of neither kind", [](Json& g) { month(g, 0, 0)["form"] = "NEW"; },
     "publishers[0].months[0].form"},
    {"header group 256", [](Json& g) { g["groupNumber"] = 256; }, "groupNumber"},
    {"header group -1", [](Json& g) { g["groupNumber"] = -1; }, "groupNumber"},
    {"report month 12", [](Json& g) { g["reportMonth"] = 12; }, "reportMonth"},
    {"publisher group 128", [](Json& g) { pub0(g)["groupNumber"] = 128; },
     "publishers[0].groupNumber"},
    {"publisher group -129", [](Json& g) { pub0(g)["groupNumber"] = -129; },
     "publishers[0].groupNumber"},
    {"publisher group -128", [](Json& g) { pub0(g)["groupNumber"] = -128; }, nullptr},
    {"appointment 4", [](Json& g) { pub0(g)["appointment"] = 4; }, "publishers[0].appointment"},
    {"status 4", [](Json& g) { month(g, 0, 1)["status"] = 4; }, "publishers[0].months[1].status"},
    {"hours 256", [](Json& g) { month(g, 0, 1)["hours"] = 256; }, "publishers[0].months[1].hours"},
    {"hours -1", [](Json& g) { month(g, 0, 1)["hours"] = -1; }, "publishers[0].months[1].hours"},
    {"hours 255", [](Json& g) { month(g, 0, 1)["hours"] = 255; }, nullptr},
    {"hours huge", [](Json& g) { month(g, 0, 1)["hours"] = 18446744073709551615ull; },
     "publishers[0].months[1].hours"},
    {"hours a fraction", [](Json& g) { month(g, 0, 1)["hours"] = 1.5; },
     "publishers[0].months[1].hours"},
    {"hours a text", [](Json& g) { month(g, 0, 1)["hours"] = "12"; },
     "publishers[0].months[1].hours"},
    {"quarter 4", [](Json& g) { month(g, 0, 1)["quarter"] = 4; },
     "publishers[0].months[1].quarter"},
    {"publications 4096", [](Json& g) { month(g, 0, 1)["publications"] = 4096; },
     "publishers[0].months[1].publications"},
    {"videos 4096", [](Json& g) { month(g, 0, 1)["videos"] = 4096; },
     "publishers[0].months[1].videos"},
    {"new return visits 1024", [](Json& g) { month(g, 0, 1)["returnVisits"] = 1024; },
     "publishers[0].months[1].returnVisits"},
    {"new Bible studies 64", [](Json& g) { month(g, 0, 1)["bibleStudies"] = 64; },
     "publishers[0].months[1].bibleStudies"},
    {"books 256", [](Json& g) { month(g, 1, 0)["books"] = 256; }, "publishers[1].months[0].books"},
    {"brochures 4096", [](Json& g) { month(g, 1, 0)["brochures"] = 4096; },
     "publishers[1].months[0].brochures"},
    {"magazines 4096", [](Json& g) { month(g, 1, 0)["magazines"] = 4096; },
     "publishers[1].months[0].magazines"},
    {"subscriptions 64", [](Json& g) { month(g, 1, 0)["subscriptions"] = 64; },
     "publishers[1].months[0].subscriptions"},
    {"old return visits 1024", [](Json& g) { month(g, 1, 0)["returnVisits"] = 1024; },
     "publishers[1].months[0].returnVisits"},
    {"old Bible studies 64", [](Json& g) { month(g, 1, 0)["bibleStudies"] = 64; },
     "publishers[1].months[0].bibleStudies"},
    {"remark slot 255", [](Json& g) { month(g, 0, 1)["remarkSlot"] = 255; },
     "publishers[0].months[1].remarkSlot"},
    {"credit hours 256", [](Json& g) { month(g, 0, 1)["creditHours"] = 256; },
     "publishers[0].months[1].creditHours"},
    {"late as a number", [](Json& g) { month(g, 0, 1)["late"] = 1; },
     "publishers[0].months[1].late"},
    {"11 months", [](Json& g) { pub0(g)["months"].erase(11); }, "publishers[0].months"},
    {"2 phones", [](Json& g) { pub0(g)["phones"].erase(2); }, "publishers[0].phones"},
    {"128 publishers",
     [](Json& g) {
         while (g["publishers"].size() < 128) {
             g["publishers"].push_back(g["publishers"][0]);
         }
     },
     "publishers"},
    {"255 remarks",
     [](Json& g) {
         while (g["remarks"].size() < 255) {
             g["remarks"].push_back("x");
         }
     },
     "remarks"},
    {"first name 21", [](Json& g) { pub0(g)["firstName"] = std::string(21, 'a'); },
     "publishers[0].firstName"},
    {"last name 21", [](Json& g) { pub0(g)["lastName"] = std::string(20, 'a') + "ö"; },
     "publishers[0].lastName"},
    {"last name 20 with ö", [](Json& g) { pub0(g)["lastName"] = std::string(19, 'a') + "ö"; },
     nullptr},
    {"e-mail 63", [](Json& g) { pub0(g)["email"] = std::string(63, 'e'); }, "publishers[0].email"},
    {"phone1 15", [](Json& g) { pub0(g)["phones"][0] = std::string(15, '1'); },
     "publishers[0].phones[0]"},
    {"phone2 16", [](Json& g) { pub0(g)["phones"][1] = std::string(16, '1'); },
     "publishers[0].phones[1]"},
    {"phone3 16", [](Json& g) { pub0(g)["phones"][2] = std::string(16, '1'); },
     "publishers[0].phones[2]"},
    {"remark 37", [](Json& g) { g["remarks"][0] = std::string(37, 'r'); }, "remarks[0]"},
    {"secretary e-mail 63", [](Json& g) { g["secretaryEmail"] = std::string(63, 's'); },
     "secretaryEmail"},
    {"euro sign fits", [](Json& g) { g["remarks"][0] = "100 €"; }, nullptr},
    {"snowman in a remark", [](Json& g) { g["remarks"][0] = "snö ☃"; }, "remarks[0]"},
    {"Ł in a name", [](Json& g) { pub0(g)["lastName"] = "Łukasik"; }, "publishers[0].lastName"},
    {"NUL in a name", [](Json& g) { pub0(g)["firstName"] = std::string("An\0na", 5); },
     "publishers[0].firstName"},
    {"name a number", [](Json& g) { pub0(g)["firstName"] = 7; }, "publishers[0].firstName"},
    // Å at position 7 of a name scrambles to 0 and would cut the name short when read back.
    {"name the scrambling cannot carry", [](Json& g) { pub0(g)["firstName"] = "Ann-MarÅ"; },
     "publishers[0].firstName"},
};

TEST(GroupJsonTest, EachBadValueIsRefusedNamingItsField) {
    for (const BadCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Json g = smallGroup();
        c.change(g);
        GroupContent out;
        JsonFault fault;
        const bool accepted = groupFromJson(g, out, fault);
        const bool wantAccepted = c.field == nullptr;
        EXPECT_EQ(accepted, wantAccepted) << fault.field << ": " << fault.problem;
        if (!wantAccepted) {
            EXPECT_EQ(fault.field, c.field) << fault.problem;
            EXPECT_FALSE(fault.problem.empty());
        }
    }
}

TEST(GroupJsonTest, TextThatIsNotJsonIsRefusedAsAWhole) {
    for (const char* text : {"", "{", "{\"groupNumber\": 4,}", "nonsense", "\xff"}) {
        SCOPED_TRACE(text);
        GroupContent out;
        JsonFault fault;
        EXPECT_FALSE(parseGroupJson(text, out, fault));
        EXPECT_EQ(fault.field, "");
        EXPECT_NE(fault.problem.find("not JSON"), std::string::npos) << fault.problem;
        EXPECT_EQ(fault.problem.find('\n'), std::string::npos);
    }
}

// Bytes the JSON cannot express still dump, as what they decode to.
TEST(GroupJsonTest, OddBytesDumpAsTheyDecode) {
    ScratchDir dir;
    std::string bytes = saveBytes(build(smallGroup()), dir.file("a.z08"));
    const std::size_t rec1 = kRecordSize;
    bytes[rec1 + offsetof(GroupRecord, quarterHours) + 5] = 7;
    bytes[rec1 + offsetof(GroupRecord, appointment)] = static_cast<char>(0x81);
    bytes[rec1 + offsetof(GroupRecord, monthStatus) + 4] = static_cast<char>(0xFE); // new form
    bytes[rec1 + offsetof(GroupRecord, remarkSlot) + 6] = static_cast<char>(255);
    bytes[rec1 + offsetof(GroupRecord, reserved170)] = 9;
    writeFile(dir.file("odd.z08"), bytes);

    const Json j = loadJson(dir.file("odd.z08"));
    const Json& p = j["publishers"][0];
    EXPECT_EQ(p["months"][5]["quarter"], 7);
    EXPECT_EQ(p["appointment"], 0x81);
    EXPECT_EQ(p["months"][4]["status"], 2);
    EXPECT_EQ(p["months"][6]["remarkSlot"], 255);

    GroupContent out;
    JsonFault fault;
    EXPECT_FALSE(groupFromJson(j, out, fault));
    EXPECT_EQ(fault.field, "publishers[0].appointment");
}

TEST(GroupJsonTest, DumpLayoutKeepsAMonthOnOneLine) {
    GroupContent c = build(smallGroup());
    RecordingSink sink;
    GroupStore store(sink);
    store.assign(c.header, c.publishers, c.remarks);
    const std::string text = dumpGroupJson(store);
    EXPECT_NE(text.find("\n  \"remarks\": [\"sjuk\"],\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"phones\": [\"08-123 45\", \"\", \"070-1234567\"]"), std::string::npos);
    EXPECT_NE(
        text.find("\n        {\"form\": \"old\", \"status\": 1, \"hours\": 30, \"quarter\": 0, "
                  "\"books\": 2, "),
        std::string::npos)
        << text;
    EXPECT_EQ(Json::parse(text), smallGroup());
}

} // namespace
} // namespace zadw
