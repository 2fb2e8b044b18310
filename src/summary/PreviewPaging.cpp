// SPDX-License-Identifier: GPL-3.0-or-later
#include "PreviewPaging.h"

#include "ScreenPage.h"

#include <algorithm>

namespace zadw {
namespace {

// Publishers' pages of 18, at least the one (empty) page of a group without publishers.
int PublisherPages(int count) {
    return std::max(1, (count + kScreenRows - 1) / kScreenRows);
}

} // namespace

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
        return;
    }
    paging.firstShown = paging.firstShown > kScreenRows ? paging.firstShown - kScreenRows : 0;
    paging.endShown = std::min(paging.publisherTotal, paging.firstShown + kScreenRows);
}

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
    PrevPage(paging.publishers);
}

PageButtons SummaryPageButtons(const SummaryPaging& paging) {
    return PageButtons{paging.totalsShown || paging.publishers.firstShown > 0, !paging.totalsShown};
}

int SummaryPageNumber(const SummaryPaging& paging) {
    if (paging.totalsShown) {
        return SummaryPageCount(paging);
    }
    return PublisherPages(paging.publishers.endShown);
}

int SummaryPageCount(const SummaryPaging& paging) {
    return PublisherPages(paging.publishers.publisherTotal) + 1;
}

} // namespace zadw
