// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the summary list's cells, shared by the screen page and the printed list.

#include "GroupStore.h"

#include <span>
#include <string>

namespace zadw {

// One value column of the list: a listed value of the form.
using SummaryColumn = ReportValue;

// The listed values of the form, in kind order: the new form's five columns or the old form's
// six (subscriptions are never shown).
std::span<const SummaryColumn> SummaryColumns(bool newForm);

// "¼", "½", "¾" for quarter codes 1 to 3; empty for anything else.
std::string QuarterText(int q);

// Decimal value, blank for 0.
std::string ValueText(unsigned value);
// Whole hours with the fraction sign; blank only when both are 0.
std::string HoursText(unsigned hours, int quarter);

// The text of one value cell of publisher p in month m; the column's kind says the form.
std::string ValueCellText(const GroupStore& store, int p, int m, bool newForm,
                          const SummaryColumn& column);

// "Hjp. " for an auxiliary pioneer of month m, then the month's remark. The store is only read
// (getRemark is called in its lookup-only mode).
std::string RemarksText(GroupStore& store, int p, int m);

// How a remarks text fits its printed cell.
struct PrintedRemark {
    enum class Size { None, Body, Small, TwoLines };
    Size size = Size::None;
    std::string first;  // the only line, or the upper one
    std::string second; // the lower line of TwoLines
};
PrintedRemark FitPrintedRemark(const std::string& text);

// Texts around the preview: the dialog caption, the printed title and the print job's name.
std::string SummaryCaption(int month);
std::string SummaryTitle(int month);
std::string PrintJobName(int month);

} // namespace zadw
