// SPDX-License-Identifier: GPL-3.0-or-later
#include "Strings.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <set>

namespace zadw {
namespace {

TEST(Strings, TableParsesWithUniqueAscendingIds) {
    const std::string src = test::readFile(ZADW_STRINGS_FILE);
    std::vector<int> ids;
    int bad = 0;
    ASSERT_TRUE(parseStringTable(
        src,
        [](StringEntry&& e, void* ctx) { static_cast<std::vector<int>*>(ctx)->push_back(e.id); },
        &ids, &bad))
        << "bad line " << bad;
    ASSERT_FALSE(ids.empty());
    for (std::size_t i = 1; i < ids.size(); ++i) {
        EXPECT_LT(ids[i - 1], ids[i]) << "ids out of order or repeated near " << ids[i];
    }
}

TEST(Strings, TextsStandExactly) {
    EXPECT_EQ(LoadString(StringId::LayoutLanguageTag), "swedish");
    EXPECT_EQ(monthName(0), "januari");
    EXPECT_EQ(monthName(11), "december");
    EXPECT_EQ(LoadString(StringId::ShowZeroHours), " ");
    EXPECT_EQ(LoadString(StringId::NoRoomForRemarks), "Slut på utrymme för anteckningar");
    const std::string tips = LoadString(StringId::TipsIntro);
    ASSERT_GE(tips.size(), 2u);
    EXPECT_EQ(tips.substr(tips.size() - 2), "  ");
    EXPECT_EQ(LoadString(static_cast<StringId>(424242)), "");
}

TEST(Strings, FormattedReplacesEveryPercentOne) {
    EXPECT_EQ(FormatText(LoadString(StringId::ReminderMail), monthName(4)),
              "Skicka in din rapport för maj. \nTack.");
    EXPECT_EQ(FormatText("%1 och %1, 100%", "x"), "x och x, 100%");
}

TEST(Strings, ParserRejectsBrokenLines) {
    auto ignore = [](StringEntry&&, void*) {};
    int bad = 0;
    EXPECT_FALSE(parseStringTable("1 \"open\n", ignore, nullptr, &bad));
    EXPECT_EQ(bad, 1);
    EXPECT_FALSE(parseStringTable("# ok\n2 Bad \"bad \\q escape\"\n", ignore, nullptr, &bad));
    EXPECT_EQ(bad, 2);
    EXPECT_FALSE(parseStringTable("x \"no id\"\n", ignore, nullptr, &bad));
    EXPECT_FALSE(parseStringTable("7 \"no name\"\n", ignore, nullptr, &bad));
    EXPECT_FALSE(parseStringTable("7 lowerCase \"a\"\n", ignore, nullptr, &bad));
    EXPECT_FALSE(parseStringTable("7 Two  \"blanks\"\n", ignore, nullptr, &bad));
    EXPECT_TRUE(parseStringTable("7 Quoted \"a \\\"q\\\" \\\\ \\n\"\n", ignore, nullptr, &bad));
}

} // namespace
} // namespace zadw
