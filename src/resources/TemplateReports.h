// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main report window's controls.

#include "DialogTemplates.h"

namespace zadw {

enum class ReportsCtl : int {
    EnterReport = 1, // the default button: "För in - <name>"
    ExitProgram = 2,
    LoadNewList = 3,
    SendUpdates = 4,
    SummaryPreview = 5,
    LastEntered = 133, // the name last entered
    PublisherList = 138,
    UnreportedOnly = 162, // the filter check box
    MissingCount = 1000,
    PublisherCount = 1001,
    PhoneNumber = 1002,
    Dial = 1003,
    NextNumber = 1004,
    Help = 1005,
    SendReminder = 1006,
    ReminderPreview = 1007,
    RemarkOnlyCount = 1008, // shown only when some month holds only a remark
    StatusFrame = 1009,     // around the status lines and the filter
    SentLine = 1010,        // when the group last went to the secretary
    ChangedLine = 1011,     // how many publishers changed since then; shown when not 0
};
template <> inline constexpr bool kIsControlIdEnum<ReportsCtl> = true;

} // namespace zadw
