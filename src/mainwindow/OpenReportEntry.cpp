// SPDX-License-Identifier: GPL-3.0-or-later
// Opens the report entry for one publisher.
#include "ReportsDlg.h"

#include "ReportEntryDlg.h"

namespace zadw {

void CReportsDlg::RunReportEntry(int pub) {
    // Everything the dialog produces is in the store and the status lines when it closes.
    CReportEntryDlg entry(entryContext_, pub, this);
    entry.exec();
}

} // namespace zadw
