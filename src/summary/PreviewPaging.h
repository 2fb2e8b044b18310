// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paging of the preview's screen pages, 18 publishers at a time, then the group's totals.

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
// Back; on the first page nothing changes.
void PrevPage(PreviewPaging& paging);

// The preview's pages: the publishers' pages as above, then one more page with the group's
// totals, so every group has at least two.
struct SummaryPaging {
    PreviewPaging publishers;
    bool totalsShown = false;
};

SummaryPaging StartSummaryPaging(int publisherTotal);
// From the last publishers' page on to the totals; on the totals nothing changes.
void NextSummaryPage(SummaryPaging& paging);
// From the totals back to the publishers' page shown before them; on the first page nothing
// changes.
void PrevSummaryPage(SummaryPaging& paging);

// Which of the two page buttons has a page to go to. Each keeps its one meaning; the other
// stays in its place, only disabled.
struct PageButtons {
    bool prevEnabled = false;
    bool nextEnabled = false;
};
PageButtons SummaryPageButtons(const SummaryPaging& paging);

// The page shown, counted from 1, and how many there are, for "Sida 2 av 4". A page that
// overlaps the one before it (the last 18) counts by its last publisher.
int SummaryPageNumber(const SummaryPaging& paging);
int SummaryPageCount(const SummaryPaging& paging);

} // namespace zadw
