// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreviewPaging.h"

#include "ScreenPage.h"

#include <algorithm>

namespace zadw {

PreviewPaging StartPaging(int publisherTotal) {
    PreviewPaging paging;
    paging.publisherTotal = std::max(publisherTotal, 0);
    paging.endShown = std::min(paging.publisherTotal, kScreenRows);
    return paging;
}

void NextPage(PreviewPaging& paging) {
    if (paging.publisherTotal - paging.endShown > kScreenRows) {
        paging.endShown += kScreenRows;
    } else {
        paging.endShown = paging.publisherTotal;
    }
    // The last page always shows the last 18, overlapping the page before it.
    paging.firstShown = std::max(paging.endShown - kScreenRows, 0);
}

void PrevPage(PreviewPaging& paging) {
    if (paging.firstShown == 0) {
        NextPage(paging);
        return;
    }
    paging.firstShown = paging.firstShown > kScreenRows ? paging.firstShown - kScreenRows : 0;
    paging.endShown = std::min(paging.publisherTotal, paging.firstShown + kScreenRows);
}

PageButtons UpdatePageButtons(const PreviewPaging& paging) {
    PageButtons buttons;
    if (paging.publisherTotal <= kScreenRows) {
        buttons.prevCaption = "< < <";
        return buttons;
    }
    buttons.prevShown = true;
    if (paging.firstShown == 0) {
        buttons.prevCaption = "> > >";
        return buttons;
    }
    buttons.prevCaption = "< < <";
    buttons.nextShown = paging.endShown < paging.publisherTotal;
    return buttons;
}

} // namespace zadw

namespace zadw {

SummaryPaging StartSummaryPaging(int publisherTotal) {
    return SummaryPaging{StartPaging(publisherTotal), false};
}

void NextSummaryPage(SummaryPaging& paging) {
    if (paging.totalsShown) {
        return;
    }
    if (paging.publishers.endShown >= paging.publishers.publisherTotal) {
        paging.totalsShown = true;
        return;
    }
    NextPage(paging.publishers);
}

void PrevSummaryPage(SummaryPaging& paging) {
    if (paging.totalsShown) {
        paging.totalsShown = false;
        return;
    }
    // On the first page the one button reads "> > >" and moves forward.
    if (paging.publishers.firstShown == 0) {
        NextSummaryPage(paging);
        return;
    }
    PrevPage(paging.publishers);
}

PageButtons UpdateSummaryPageButtons(const SummaryPaging& paging) {
    // Every group has at least two pages now: its publishers and the totals.
    PageButtons buttons;
    buttons.prevShown = true;
    if (!paging.totalsShown && paging.publishers.firstShown == 0) {
        buttons.prevCaption = "> > >";
        return buttons;
    }
    buttons.prevCaption = "< < <";
    buttons.nextShown = !paging.totalsShown;
    return buttons;
}

} // namespace zadw
