// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printed summary list on a paged device: a printer, or a PDF file without any window.

#include "GroupStore.h"
#include "SummaryLayout.h"

#include <string>
#include <vector>

class QPaintDevice;
class QPagedPaintDevice;

namespace zadw {

// The device's resolution, printable area and the height of the list's body font on it, as the
// layout wants them. Nothing here depends on the desktop's font.
PrinterMeasures MeasuresOf(const QPaintDevice& device);
// Paints laid-out pages on a printer or PDF, one sheet each; false when it cannot be drawn on.
bool PaintPages(const std::vector<Page>& pages, QPagedPaintDevice& device);

enum class Paper { A4, A5, Letter, Legal };

struct PaperChoice {
    Paper size = Paper::A4;
    bool landscape = false;
};

// Lays out month m (0..11) for the device and paints every sheet as one document, a page per
// sheet. False when painting cannot begin on the device; then nothing was printed.
bool PrintSummaryList(GroupStore& store, int m, QPagedPaintDevice& device);

// The printed list of month m as a PDF file at 600 dpi, in the new or the old form, on the paper
// given; "-" writes it to standard output. Needs a QGuiApplication and starts an offscreen one,
// whatever QT_QPA_PLATFORM says, when there is no application object. The file appears whole or
// not at all. False with the reason in error.
bool WriteSummaryPdf(GroupStore& store, int month, bool newForm, const std::string& pdfPath,
                     std::string* error, const PaperChoice& paper = {});

} // namespace zadw
