// The main window's summary command.
#include "ReportsDlg.h"
#include "SummaryPreviewDlg.h"

namespace zadw {

void CReportsDlg::OnSummaryPreview() {
    CSummaryPreviewDlg preview(*this, store.reportMonth);
    preview.exec();
    FocusList();
}

} // namespace zadw
