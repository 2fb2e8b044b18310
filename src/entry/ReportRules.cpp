// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportRules.h"

#include "Strings.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace zadw {
namespace {

constexpr int kStringJanuary = 102;
constexpr int kStringHours = 1014;
constexpr int kStringAlreadyEntered = 1030;
constexpr int kStringNotIncluded = 1031;
constexpr int kStringIncluded = 1032;
constexpr int kStringSpecialPioneer = 1194;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Index in characters (not UTF-8 bytes) of the first c, or -1.
int charIndexOf(const std::string& text, char c) {
    int index = 0;
    for (const char b : text) {
        if (b == c) {
            return index;
        }
        if ((static_cast<unsigned char>(b) & 0xC0) != 0x80) {
            ++index;
        }
    }
    return -1;
}

// Fills %1 and %2 in one pass, so a name holding "%2" stays as typed.
std::string fill(const std::string& text, const std::string& arg1, const std::string& arg2) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            out += text[i + 1] == '1' ? arg1 : arg2;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

int IntegerValue(std::string_view text) {
    long long value = 0;
    for (const char c : text) {
        if (!isDigit(c)) {
            break;
        }
        value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
    }
    return static_cast<int>(value);
}

std::string MonthName(int m, bool genitive, std::string_view languageTag) {
    if (m < 0 || m > 11) {
        return {};
    }
    std::string name = LoadString(kStringJanuary + m);
    if (genitive && languageTag == "french") {
        const bool elides = !name.empty() && (name[0] == 'a' || name[0] == 'o');
        name.insert(0, elides ? "d'" : "de ");
    }
    return name;
}

std::string FormatHours(int wholeHours, int quarterCode) {
    static const char* const suffix[] = {"", ".25", ".5", ".75"};
    const char* s = quarterCode >= 0 && quarterCode <= 3 ? suffix[quarterCode] : "";
    return std::to_string(wholeHours) + s;
}

std::string NormaliseHoursText(std::string_view text) {
    const std::size_t p = text.find('.');
    if (p == std::string_view::npos) {
        return std::string(text);
    }
    const int d = IntegerValue(text.substr(p + 1, 1));
    const char* fraction = d <= 3 ? ".25" : d <= 6 ? ".5" : ".75";
    return std::string(text.substr(0, p)) + fraction;
}

ParsedHours ParseHoursText(std::string_view text) {
    ParsedHours r;
    const std::size_t p = text.find('.');
    if (p == std::string_view::npos) {
        r.wholeHours = IntegerValue(text);
    } else {
        r.wholeHours = p == 0 ? 0 : IntegerValue(text.substr(0, p));
        const int q = IntegerValue(text.substr(p + 1, 2));
        r.quarterCode = q == 25 ? 1 : q == 5 ? 2 : 3;
    }
    r.fits = r.wholeHours <= 255;
    return r;
}

CreditHours UpdateCreditHours(int h, int category, std::uint8_t creditHourCount,
                              const std::string& remarkText) {
    CreditHours r{creditHourCount, remarkText, {}};
    if (category != kCategoryRegularPioneer) {
        return r;
    }
    // 64-bit so that a saturated h cannot overflow the sums below.
    const long long hours = h;
    const long long room = kCreditHourLimit - hours;
    long long x = creditHourCount;
    if (hours >= kCreditHourLimit) {
        x = 0;
    }
    if (x != 0 && x > room) {
        x = room;
    }
    if (x != 0 && r.remarkText.empty()) {
        r.remarkText = std::to_string(x) + " +" + LoadString(kStringHours);
    }

    std::size_t digits = 0;
    while (digits < r.remarkText.size() && isDigit(r.remarkText[digits])) {
        ++digits;
    }
    if (digits != 0) {
        // The count is one byte: a remark of "999" gives the most it can hold, not 999 mod 256.
        x = std::min(IntegerValue(std::string_view(r.remarkText).substr(0, 3)), 255);
    }

    const int bang = charIndexOf(r.remarkText, '!');
    if (bang < 0 || bang > 5) {
        const int star = charIndexOf(r.remarkText, '*');
        if (star >= 1 && star <= 4 && x > 0) {
            const long long y = std::min<long long>(x, 40);
            x = hours + y >= kCreditHourLimit ? y : std::min(x, room);
        } else {
            x = hours >= kCreditHourLimit ? 0 : std::min(x, room);
        }
    }

    r.creditHourCount = static_cast<std::uint8_t>(x);
    if (x != 0) {
        r.creditText = "( + " + std::to_string(x) + " " + LoadString(kStringHours) + " )";
    }
    return r;
}

Warning UpdateWarning(const WarningInput& in) {
    Warning w;
    w.lateEntry = in.month != in.reportMonth;
    const auto join = [&w](const std::string& piece) { w.text += "\n" + piece; };

    if (in.wholeHours != 0) {
        w.text = fill(LoadString(kStringAlreadyEntered), MonthName(in.month, true, in.languageTag),
                      in.displayName);
    }
    if (in.reportMonthCategory == kCategorySpecialPioneer ||
        in.monthCategory == kCategorySpecialPioneer) {
        join(LoadString(kStringSpecialPioneer));
        w.notCounted = true;
        return w;
    }
    const std::string reportName = MonthName(in.reportMonth, true, in.languageTag);
    if (!in.monthListShown && w.lateEntry) {
        if (in.wholeHours != 0 && !in.hasLateFlag) {
            join(FormatText(LoadString(kStringNotIncluded), reportName));
            w.notCounted = true;
        } else {
            join(FormatText(LoadString(kStringIncluded), reportName));
        }
    }
    if (in.wholeHours != 0 && !w.lateEntry) {
        join(FormatText(LoadString(kStringIncluded), reportName));
    }
    return w;
}

bool SetsLateFlag(bool changed, bool lateEntry, bool notCounted) {
    return changed && lateEntry && !notCounted;
}

bool NewFormForMonth(int todayYear, int todayMonth, int month, int reportMonth,
                     bool newFormActive) {
    if (month == reportMonth) {
        return newFormActive;
    }
    if (todayYear > 2016) {
        return true;
    }
    return todayYear == 2016 && month < reportMonth && reportMonth < todayMonth;
}

bool NewFormAfterLoad(int todayYear, int todayMonth, int reportMonth) {
    return todayYear == 2016 && reportMonth <= todayMonth + 1;
}

bool NewFormAtStart(int todayYear, int todayMonth, int reportMonth) {
    return todayYear > 2016 || NewFormAfterLoad(todayYear, todayMonth, reportMonth);
}

} // namespace zadw
