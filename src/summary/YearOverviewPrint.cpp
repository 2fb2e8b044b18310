// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearOverviewPrint.h"

#include "OpPainter.h"
#include "SummaryPdf.h"

#include <QGuiApplication>
#include <QPagedPaintDevice>

namespace zadw {

bool PrintYearOverview(const YearOverview& year, const YearPrint& print,
                       QPagedPaintDevice& device) {
    const DeviceTextMeasure measure(&device, QGuiApplication::font());
    return PaintPages(LayOutPrintedYear(year, print, MeasuresOf(device), measure), device);
}

} // namespace zadw
