// SPDX-License-Identifier: GPL-3.0-or-later
#include "SummaryCells.h"

#include "CodePage.h"
#include "Strings.h"

#include <array>
#include <vector>

namespace zadw {
namespace {

// Byte offset of code point n (or the end when the text is shorter).
std::size_t offsetOfChar(const std::string& s, std::size_t n) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (chars == n) {
                return i;
            }
            ++chars;
        }
    }
    return s.size();
}

} // namespace

std::span<const SummaryColumn> SummaryColumns(bool newForm) {
    static const auto listed = [](bool form) {
        std::vector<SummaryColumn> columns;
        for (const ReportValue& v : FormValues(form)) {
            if (v.listed) {
                columns.push_back(v);
            }
        }
        return columns;
    };
    static const std::vector<SummaryColumn> newColumns = listed(true);
    static const std::vector<SummaryColumn> oldColumns = listed(false);
    return newForm ? newColumns : oldColumns;
}

std::string QuarterText(int q) {
    // Only three fraction signs exist; a damaged byte must not pick some other string.
    static constexpr StringId kFractions[] = {StringId::HoursFractionQuarter,
                                              StringId::HoursFractionHalf,
                                              StringId::HoursFractionThreeQuarters};
    if (q < 1 || q > 3) {
        return {};
    }
    return LoadString(kFractions[q - 1]);
}

std::string ValueText(unsigned value) {
    return value == 0 ? std::string() : std::to_string(value);
}

std::string HoursText(unsigned hours, int quarter) {
    if (quarter == 0) {
        return ValueText(hours);
    }
    if (hours != 0 || LoadString(StringId::ShowZeroHours) == "1") {
        return std::to_string(hours) + QuarterText(quarter);
    }
    return QuarterText(quarter);
}

std::string ValueCellText(const GroupStore& store, int p, int m, bool /*newForm*/,
                          const SummaryColumn& column) {
    if (column.isHours()) {
        // The quarter code lives in bits 0-1, as the store counts it for "reported".
        return HoursText(store.value(p, m, column.kind), QuarterCode(store.record(p), m));
    }
    return ValueText(store.value(p, m, column.kind));
}

std::string RemarksText(GroupStore& store, int p, int m) {
    std::string text;
    if ((store.record(p).monthStatus[m] & 0x03) == 1) {
        text = LoadString(StringId::OldFormAuxiliaryPioneer) + " ";
    }
    std::string remark;
    if (store.getRemark(p, m, remark, true) != 0) {
        text += remark;
    }
    return text;
}

PrintedRemark FitPrintedRemark(const std::string& text) {
    PrintedRemark fit;
    std::string t = text;
    std::size_t length = utf8Length(t);
    if (length <= 1) {
        return fit;
    }
    if (length > 22) {
        t = t.substr(0, offsetOfChar(t, 22)) + "...";
        length = 25;
    }
    if (length <= 10) {
        fit.size = PrintedRemark::Size::Body;
        fit.first = t;
        return fit;
    }
    if (length <= 14) {
        fit.size = PrintedRemark::Size::Small;
        fit.first = t;
        return fit;
    }
    // Break at the first blank from the sixth character on, but never after the fourteenth.
    std::size_t split = 14;
    for (std::size_t i = 5; i <= 14; ++i) {
        const std::size_t at = offsetOfChar(t, i);
        if (t[at] == ' ') {
            split = i;
            break;
        }
    }
    const std::size_t at = offsetOfChar(t, split);
    fit.size = PrintedRemark::Size::TwoLines;
    fit.first = t.substr(0, at);
    fit.second = t.substr(at);
    return fit;
}

std::string SummaryCaption(int month) {
    return FormatText(LoadString(StringId::CollectingReportsFor), monthName(month));
}

std::string SummaryTitle(int month) {
    return LoadString(StringId::CollectingReports) + " - " + monthName(month);
}

std::string PrintJobName(int month) {
    return SummaryTitle(month);
}

} // namespace zadw
