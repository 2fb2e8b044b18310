// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The summary preview's controls.

#include "DialogTemplates.h"

namespace zadw {

enum class SummaryPreviewCtl : int {
    Close = 2,
    Print = 3,
    PrintSetup = 129,
    Pane = 130, // a place holder the dialog replaces with its painting widget
    PrevPage = 1004,
    NextPage = 1005,
};
template <> inline constexpr bool kIsControlIdEnum<SummaryPreviewCtl> = true;

} // namespace zadw
