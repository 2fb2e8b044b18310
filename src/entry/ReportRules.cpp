// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportRules.h"

#include "Strings.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace zadw {
namespace {

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

std::string MonthGenitive(int m, LayoutLanguage language) {
    std::string name = monthName(m);
    if (language == LayoutLanguage::French && !name.empty()) {
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
        r.remarkText = std::to_string(x) + " +" + LoadString(StringId::OldFormHours);
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
        r.creditText = "( + " + std::to_string(x) + " " + LoadString(StringId::OldFormHours) + " )";
    }
    return r;
}

Warning UpdateWarning(const WarningInput& in) {
    Warning w;
    w.lateEntry = in.month != in.reportMonth;
    const auto join = [&w](const std::string& piece) { w.text += "\n" + piece; };

    if (in.wholeHours != 0) {
        // One pass, so a name holding "%2" stays as typed.
        w.text = FormatArgs(LoadString(StringId::AlreadyEnteredWarning),
                            {MonthGenitive(in.month, in.language), in.displayName});
    }
    if (in.reportMonthCategory == kCategorySpecialPioneer ||
        in.monthCategory == kCategorySpecialPioneer) {
        join(LoadString(StringId::SpecialPioneersNotCounted));
        w.notCounted = true;
        return w;
    }
    const std::string reportName = MonthGenitive(in.reportMonth, in.language);
    if (!in.monthListShown && w.lateEntry) {
        if (in.wholeHours != 0 && !in.hasLateFlag) {
            join(FormatText(LoadString(StringId::ChangesNotIncluded), reportName));
            w.notCounted = true;
        } else {
            join(FormatText(LoadString(StringId::ChangesIncluded), reportName));
        }
    }
    if (in.wholeHours != 0 && !w.lateEntry) {
        join(FormatText(LoadString(StringId::ChangesIncluded), reportName));
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
