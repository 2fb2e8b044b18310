// SPDX-License-Identifier: GPL-3.0-or-later
#include "RemarkRules.h"

namespace zadw {

MonthRemark LookUpRemark(GroupStore& store, int pub, int month) {
    MonthRemark remark;
    remark.slot = store.getRemark(pub, month, remark.text, true);
    return remark;
}

RemarkStored StoreRemark(GroupStore& store, int pub, int month, MonthRemark& remark,
                         const std::string& text) {
    const int linkBefore = store.record(pub).remarkSlot[month];
    const bool blank = text.empty() || text[0] == ' ';
    bool stored = false;
    if (!blank) {
        if (remark.slot == 0) {
            std::string unused;
            remark.slot = store.getRemark(pub, month, unused, false);
        }
        stored = store.setRemark(pub, month, remark.slot, text);
    } else {
        store.setRemark(pub, month, remark.slot, text); // clears the month's link
    }
    RemarkStored result;
    if (blank || stored) {
        result.changed = text != remark.text;
        remark.text = text;
    } else {
        remark.slot = 0;
    }
    result.needsWrite = stored || store.record(pub).remarkSlot[month] != linkBefore;
    return result;
}

} // namespace zadw
