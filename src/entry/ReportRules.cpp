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
    // The comma is the decimal sign in Swedish and on the keypad, so it counts as the point.
    const std::size_t p = text.find_first_of(".,");
    if (p == std::string_view::npos) {
        return std::string(text);
    }
    const std::string_view whole = text.substr(0, p);
    const std::string_view fraction = text.substr(p + 1);
    // "12.0" and "12." mean twelve hours, not a quarter more.
    if (fraction.find_first_not_of('0') == std::string_view::npos) {
        return whole.empty() ? std::string("0") : std::string(whole);
    }
    const int d = IntegerValue(fraction.substr(0, 1));
    const char* quarter = d <= 3 ? ".25" : d <= 6 ? ".5" : ".75";
    return std::string(whole) + quarter;
}

ParsedHours ParseHoursText(std::string_view text) {
    // Normalised first, so a text that never left the field reads as the field would show it.
    const std::string normalised = NormaliseHoursText(text);
    const std::string_view n = normalised;
    ParsedHours r;
    const std::size_t p = n.find('.');
    if (p == std::string_view::npos) {
        r.wholeHours = IntegerValue(n);
    } else {
        r.wholeHours = p == 0 ? 0 : IntegerValue(n.substr(0, p));
        const int q = IntegerValue(n.substr(p + 1, 2));
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

namespace {

// A typing slip adds or drops a digit (10 becomes 100, 10,5 becomes 105), which multiplies the
// figure by about ten, while one publisher's real months seldom reach three times the best
// other month. The margins keep small figures quiet, where three times is ordinary (9 h after
// 3 h, 4 studies after 1). Without a history only the hours are judged: more than 100 hours is
// beyond any month but a special pioneer's.
constexpr int kSlipFactor = 3;
constexpr int kHoursMargin = 20 * 4; // in quarter hours
constexpr int kCountMargin = 10;
constexpr int kHoursWithoutHistory = 100 * 4;

// A pioneer month is measured against the pioneer months, any other against the others: the
// first month as an auxiliary pioneer is no slip, and a slip after one is still caught.
bool pioneering(int category) {
    return category != 0;
}

int quarters(const EntryValues& v, EntryField hours) {
    return v[hours] * 4 + v.quarterCode;
}

} // namespace

std::vector<UnusualFigure> UnusualFigures(const EntryValues& typed, const EntryValues& before,
                                          int category, std::span<const PastMonth> reported,
                                          bool newForm) {
    std::vector<UnusualFigure> r;
    const EntryField hours = HoursValue(newForm).entry;
    for (const EntryField f : kEntryFields) {
        if (ValueOfField(f, newForm) == nullptr) {
            continue;
        }
        const bool isHours = f == hours;
        const auto valueOf = [&](const EntryValues& v) { return isHours ? quarters(v, f) : v[f]; };
        const int value = valueOf(typed);
        if (value == valueOf(before)) {
            continue;
        }
        bool hasHistory = false;
        int highest = 0;    // of the months of the same kind
        int highestAll = 0; // of every reported month, named when the kind has none
        for (const PastMonth& past : reported) {
            highestAll = std::max(highestAll, valueOf(past.values));
            if (pioneering(past.category) == pioneering(category)) {
                hasHistory = true;
                highest = std::max(highest, valueOf(past.values));
            }
        }
        const int margin = isHours ? kHoursMargin : kCountMargin;
        const bool unusual = hasHistory
                                 ? value >= kSlipFactor * highest && value - highest >= margin
                                 : isHours && value > kHoursWithoutHistory;
        if (unusual) {
            const auto show = [&](int v) {
                return isHours ? FormatHours(v / 4, v % 4) : std::to_string(v);
            };
            r.push_back({f, show(value), show(hasHistory ? highest : highestAll)});
        }
    }
    return r;
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
