// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodePage.h"

#include <gtest/gtest.h>

namespace zadw {
namespace {

TEST(CodePage, EveryByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    std::string back;
    ASSERT_TRUE(utf8ToCp1252(cp1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(CodePage, SwedishLettersAndTheWhatwgHoles) {
    EXPECT_EQ(cp1252ToUtf8("\xE5\xE4\xF6\xC5\xC4\xD6"), "åäöÅÄÖ");
    EXPECT_EQ(cp1252ToUtf8("\x80"), "€");
    EXPECT_EQ(cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    std::string out;
    ASSERT_TRUE(utf8ToCp1252("Åsa Öberg €", out));
    EXPECT_EQ(out, "\xC5sa \xD6"
                   "berg \x80");
}

TEST(CodePage, RefusesWhatItCannotHoldAndNamesIt) {
    std::string out;
    std::string bad;
    EXPECT_FALSE(utf8ToCp1252("Łódź ✓ Łx", out, &bad));
    EXPECT_EQ(bad, "Łź✓"); // each character once, in order of appearance
    bad.clear();
    EXPECT_FALSE(utf8ToCp1252("a\xC3", out, &bad));        // cut-off sequence
    EXPECT_FALSE(utf8ToCp1252("\xC0\x80", out, &bad));     // overlong NUL
    EXPECT_FALSE(utf8ToCp1252("\xED\xA0\x80", out, &bad)); // surrogate
}

TEST(CodePage, CountsCharactersNotBytes) {
    EXPECT_EQ(utf8Length("åäö"), 3u);
    EXPECT_EQ(utf8Length(""), 0u);
}

} // namespace
} // namespace zadw
