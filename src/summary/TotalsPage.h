// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview's last screen page, "Summa": the group's totals in the screen page's grid.

#include "DrawOps.h"
#include "GroupTotals.h"
#include "ScreenPage.h"

#include <string>
#include <vector>

namespace zadw {

// The block's rows under the list's headings, then the status lines below the grid, each a wide
// row of its own.
ScreenTable ScreenTotalsTable(const TotalsBlock& block, bool newForm);

std::vector<DrawOp> DrawScreenTotalsPage(const TotalsBlock& block, bool newForm,
                                         const ScreenMeasures& pane, LayoutLanguage language);

} // namespace zadw
