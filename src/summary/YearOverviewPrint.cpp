// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearOverviewPrint.h"

#include "OpPainter.h"
#include "SummaryPdf.h"

#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPainter>

namespace zadw {

bool PrintYearOverview(const YearOverview& year, const YearPrint& print,
                       QPagedPaintDevice& device) {
    const DeviceTextMeasure measure(&device, QGuiApplication::font());
    const std::vector<Page> pages = LayOutPrintedYear(year, print, MeasuresOf(device), measure);
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    OpPainter ops(painter, QGuiApplication::font());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            device.newPage();
        }
        ops.paint(pages[i]);
    }
    painter.end();
    return true;
}

} // namespace zadw
