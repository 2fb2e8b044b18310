// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The languages the layout rules know: name order, the French month phrase and the Greek heading
// depend on it. The string table names it in its entry LayoutLanguageTag; the program reads that
// text once and passes the value on.

#include <string_view>

namespace zadw {

enum class LayoutLanguage { Other, Swedish, English, Czech, French, Greek };

// The tag exactly as the tables write it ("swedish", "cz", "french", ...); case counts, and any
// other text is Other.
inline LayoutLanguage ParseLayoutLanguage(std::string_view tag) {
    struct Known {
        std::string_view tag;
        LayoutLanguage language;
    };
    static constexpr Known kKnown[] = {
        {"swedish", LayoutLanguage::Swedish}, {"english", LayoutLanguage::English},
        {"cz", LayoutLanguage::Czech},        {"french", LayoutLanguage::French},
        {"greek", LayoutLanguage::Greek},
    };
    for (const Known& k : kKnown) {
        if (k.tag == tag) {
            return k.language;
        }
    }
    return LayoutLanguage::Other;
}

} // namespace zadw
