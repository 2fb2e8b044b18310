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
        src, [](int id, std::string&&, void* ctx) { static_cast<std::vector<int>*>(ctx)->push_back(id); },
        &ids, &bad))
        << "bad line " << bad;
    ASSERT_FALSE(ids.empty());
    for (std::size_t i = 1; i < ids.size(); ++i) {
        EXPECT_LT(ids[i - 1], ids[i]) << "ids out of order or repeated near " << ids[i];
    }
}

TEST(Strings, TextsStandExactly) {
    EXPECT_EQ(LoadString(1198), "swedish");
    EXPECT_EQ(LoadString(102), "januari");
    EXPECT_EQ(LoadString(113), "december");
    EXPECT_EQ(LoadString(1326), " ");
    EXPECT_EQ(LoadString(1033), "Slut på utrymme för anteckningar");
    const std::string tips = LoadString(1059);
    ASSERT_GE(tips.size(), 2u);
    EXPECT_EQ(tips.substr(tips.size() - 2), "  ");
    EXPECT_EQ(LoadString(424242), "");
}

TEST(Strings, FormattedReplacesEveryPercentOne) {
    EXPECT_EQ(LoadFormatted(1422, 102 + 4), "Skicka in din rapport för maj. \nTack.");
    EXPECT_EQ(LoadFormatted(1188, 0), "Insamling av rapporter för %1");
    EXPECT_EQ(FormatText("%1 och %1, 100%", "x"), "x och x, 100%");
}

TEST(Strings, ParserRejectsBrokenLines) {
    auto ignore = [](int, std::string&&, void*) {};
    int bad = 0;
    EXPECT_FALSE(parseStringTable("1 \"open\n", ignore, nullptr, &bad));
    EXPECT_EQ(bad, 1);
    EXPECT_FALSE(parseStringTable("# ok\n2 \"bad \\q escape\"\n", ignore, nullptr, &bad));
    EXPECT_EQ(bad, 2);
    EXPECT_FALSE(parseStringTable("x \"no id\"\n", ignore, nullptr, &bad));
    EXPECT_TRUE(parseStringTable("7 \"a \\\"q\\\" \\\\ \\n\"\n", ignore, nullptr, &bad));
}

} // namespace
} // namespace zadw
