// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paging of the preview's screen pages, 18 publishers at a time, and its two page buttons.

#include <string>

namespace zadw {

struct PreviewPaging {
    int publisherTotal = 0;
    int firstShown = 0; // index of the first publisher shown, from 0
    int endShown = 0;   // one past the last publisher shown
};

// The first screen page of a group.
PreviewPaging StartPaging(int publisherTotal);
// Forward; on the last page nothing changes.
void NextPage(PreviewPaging& paging);
// Back; on the first page (where the one button reads "> > >") the same as NextPage.
void PrevPage(PreviewPaging& paging);

// Buttons 1004 (left) and 1005 (right).
struct PageButtons {
    bool prevShown = false;
    std::string prevCaption; // "< < <", or "> > >" on the first page
    bool nextShown = false;
};
PageButtons UpdatePageButtons(const PreviewPaging& paging);

} // namespace zadw

namespace zadw {

// The preview's pages: the publishers' pages as above, then one more page with the group's
// totals, reached by "> > >" like any page.
struct SummaryPaging {
    PreviewPaging publishers;
    bool totalsShown = false;
};

SummaryPaging StartSummaryPaging(int publisherTotal);
// From the last publishers' page on to the totals; on the totals nothing changes.
void NextSummaryPage(SummaryPaging& paging);
// From the totals back to the publishers' page shown before them.
void PrevSummaryPage(SummaryPaging& paging);
PageButtons UpdateSummaryPageButtons(const SummaryPaging& paging);

} // namespace zadw
