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
