// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands that reach the secretary and the publishers: updates, reminders,
// calls.
#include "ReportsDlg.h"

#include "MailSender.h"
#include "SendUpdates.h"
#include "Telephony.h"

namespace zadw {

void CReportsDlg::OnDial() {
    // Only the publisher selected now is rung: a number left from another cannot be.
    const int p = ContactPublisher();
    if (p != 0 && phoneCount > 0) {
        const std::string& number = phoneNumbers[static_cast<std::size_t>(phoneIndex)];
        const std::string party = store.displayName(p, false);
        if (services_.telephone != nullptr) {
            services_.telephone->dialNumber(number, party, messages());
        } else {
            messages().show(kNoTelephoneService);
        }
    }
    FocusList();
}

void CReportsDlg::OnSendUpdates() {
    WriteBack(); // the group file and the update agree; a failure has been told and sending goes on
    NoMailSystem none;
    SendUpdates(store, messages(), services_.mail != nullptr ? *services_.mail : none,
                services_.handOver, [this] { group.recordSent(); });
    UpdateStatus();
    FocusList();
}

void CReportsDlg::OnSendReminder() {
    // The publisher selected now, and only while their report is still missing.
    const int p = ContactPublisher();
    if (p != 0 && !reminderAddress.empty() &&
        store.collectPhones(p).reminderAddress == reminderAddress) {
        NoMailSystem none;
        SendReminder(reminderAddress, store.displayName(p, false), store.reportMonth, messages(),
                     services_.mail != nullptr ? *services_.mail : none);
    }
    FocusList();
}

} // namespace zadw
