// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview's last screen page, "Summa": the group's totals in the screen page's grid.

#include "DrawOps.h"
#include "GroupTotals.h"
#include "ScreenPage.h"

#include <string>
#include <vector>

namespace zadw {

std::vector<DrawOp> DrawScreenTotalsPage(const TotalsBlock& block, bool newForm,
                                         const ScreenMeasures& pane, LayoutLanguage language);

} // namespace zadw
