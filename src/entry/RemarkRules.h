// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which remark slot a publisher's month uses. The group's remark table is shared by everyone and
// holds at most 254 texts; a month links to one slot, and a slot once counted stays counted.

#include "GroupStore.h"

#include <string>

namespace zadw {

// A month's remark as the entry dialog holds it: its slot (0: none yet) and its text.
struct MonthRemark {
    int slot = 0;
    std::string text;
};

// Only looked up: a slot is reserved when a remark is actually stored, so browsing the months
// does not use up the group's slots.
MonthRemark LookUpRemark(GroupStore& store, int pub, int month);

struct RemarkStored {
    bool changed = false;    // the month's remark text is not what it was
    bool needsWrite = false; // the store changed and must reach the file
};

// Stores text as the month's remark. Text that is empty or starts with a blank drops the month's
// link and keeps the slot; other text goes into the month's slot, reserving one when the month
// has none. When no slot is free (the store has said so) the month keeps the remark it had.
// remark is updated to what the month holds now.
RemarkStored StoreRemark(GroupStore& store, int pub, int month, MonthRemark& remark,
                         const std::string& text);

} // namespace zadw
