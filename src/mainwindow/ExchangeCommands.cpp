// The main window's commands that reach the secretary and the publishers: updates, reminders, calls.
#include "ReportsDlg.h"

namespace zadw {

void CReportsDlg::OnDial() { FocusList(); }

void CReportsDlg::OnSendUpdates() { FocusList(); }

void CReportsDlg::OnSendReminder() { FocusList(); }

} // namespace zadw
