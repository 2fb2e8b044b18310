// SPDX-License-Identifier: GPL-3.0-or-later
#include "Telephony.h"

#include "MailSystem.h"
#include "Telephone.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace zadw {

TelephoneProbe desktopTelephoneProbe(QString xdgMime, QString xdgOpen) {
    return [xdgMime = std::move(xdgMime), xdgOpen = std::move(xdgOpen)] {
        if (defaultSchemeHandler(xdgMime, QStringLiteral("tel")).isEmpty()) {
            return TelephoneService::NotAvailable;
        }
        const QString opener = resolveProgram(xdgOpen);
        return !opener.isEmpty() && QFileInfo(opener).isExecutable() ? TelephoneService::Available
                                                                     : TelephoneService::NoOpener;
    };
}

Telephony::Telephony(TelephoneProbe probe) : probe_(std::move(probe)) {}

void Telephony::dialNumber(const std::string& number, const std::string& calledParty,
                           MessageSink& messages) {
    switch (probe_()) {
    case TelephoneService::NotAvailable:
        messages.show(kNoTelephoneService);
        return;
    case TelephoneService::NoOpener:
        messages.show("bad procaddress");
        return;
    case TelephoneService::Available:
        break;
    }
    // A tel: link has no place for the called party; the handler shows the number.
    static_cast<void>(calledParty);
    QDesktopServices::openUrl(
        QUrl::fromEncoded(QByteArray::fromStdString(telUrl(number)), QUrl::StrictMode));
}

} // namespace zadw
