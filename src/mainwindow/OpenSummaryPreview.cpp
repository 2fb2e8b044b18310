// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's summary command.
#include "ReportsDlg.h"
#include "SummaryPreviewDlg.h"

namespace zadw {

void CReportsDlg::OnSummaryPreview() {
    CSummaryPreviewDlg preview(store, messages(), services_.printer, store.reportMonth, this);
    preview.exec();
    FocusList();
}

} // namespace zadw
