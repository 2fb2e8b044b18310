// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's year overview command, and the goal it and the report entry measure by.
#include "ReportsDlg.h"

#include "SettingsProfile.h"
#include "Strings.h"
#include "YearOverviewDlg.h"

namespace zadw {

void CReportsDlg::ShowYearOverview() {
    if (store.storageReady && store.publisherCount > 0) {
        // The year of the report month as start-up computed it.
        const int year = ReportMonthYear(today.year(), today.month() - 1, store.reportMonth);
        CYearOverviewDlg overview(store, services_, year, RegularPioneerGoal(), this);
        overview.exec();
    }
    FocusList();
}

int CReportsDlg::RegularPioneerGoal() {
    if (!regularPioneerGoal_) {
        std::optional<int> goal = kDefaultRegularPioneerGoal;
        if (services_.profile != nullptr) {
            goal = readRegularPioneerGoal(*services_.profile, kDefaultRegularPioneerGoal);
            if (!goal) {
                messages().show(FormatText(LoadString(StringId::BadRegularPioneerGoal),
                                           services_.profile->location().toStdString()));
            }
        }
        regularPioneerGoal_ = goal.value_or(kDefaultRegularPioneerGoal);
    }
    return *regularPioneerGoal_;
}

} // namespace zadw
