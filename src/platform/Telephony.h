// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ringing a publisher: the number goes as a tel: link to whatever the desktop has for calls.

#include "MessageSink.h"

#include <QString>
#include <functional>
#include <string>

namespace zadw {

enum class TelephoneService {
    Available,
    NotAvailable, // no handler for tel: links (or nothing to ask)
    NoOpener,     // a handler, but nothing to start it with
};

// Shown when a number is to be rung and nothing can ring it.
inline constexpr const char* kNoTelephoneService = "Telephone service not available";

using TelephoneProbe = std::function<TelephoneService()>;

// Asks xdg-mime for the tel: handler and looks for xdg-open to start it.
TelephoneProbe desktopTelephoneProbe(QString xdgMime = QStringLiteral("xdg-mime"),
                                     QString xdgOpen = QStringLiteral("xdg-open"));

class Telephony {
public:
    // Tests that catch tel: links with QDesktopServices::setUrlHandler pass a probe of their own.
    explicit Telephony(TelephoneProbe probe = desktopTelephoneProbe());

    // Hands the number, exactly as stored, to the tel: handler. What the handler does with it
    // is not examined; only a missing service is shown.
    void dialNumber(const std::string& number, const std::string& calledParty,
                    MessageSink& messages);

private:
    TelephoneProbe probe_;
};

} // namespace zadw
