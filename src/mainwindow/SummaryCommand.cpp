// The main window's summary command.
#include "ReportsDlg.h"

namespace zadw {

void CReportsDlg::OnSummaryPreview() { FocusList(); }

} // namespace zadw
