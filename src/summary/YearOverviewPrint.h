// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printed year overview on a paged device, painted as the summary list is.

#include "YearOverviewLayout.h"

class QPagedPaintDevice;

namespace zadw {

// Lays out the overview for the device and paints every sheet as one document. False when
// painting cannot begin on the device; then nothing was printed.
bool PrintYearOverview(const YearOverview& year, const YearPrint& print, QPagedPaintDevice& device);

} // namespace zadw
