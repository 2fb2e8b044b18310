// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A mail system that keeps what it is handed and answers as the test says.

#include "MailMessage.h"

#include <optional>
#include <string>
#include <vector>

namespace zadw::test {

class FakeTransport : public MailTransport {
public:
    static DeliveryResult sentBy(const std::string& program, bool desktopClient = false) {
        DeliveryResult r = DeliveryResult::of(SendOutcome::Sent);
        r.program = program;
        r.desktopClient = desktopClient;
        return r;
    }
    MailSystemState probe() override {
        ++probes;
        return state;
    }
    MailSystemState probeAttachments() override {
        ++attachmentProbes;
        return attachmentState.value_or(state);
    }
    DeliveryResult deliver(const MailMessage& message) override {
        delivered.push_back(message);
        return result;
    }

    MailSystemState state = MailSystemState::Ready;
    DeliveryResult result = sentBy("msmtp");
    std::optional<MailSystemState> attachmentState; // none: as state
    int probes = 0;
    int attachmentProbes = 0;
    std::vector<MailMessage> delivered;
};

} // namespace zadw::test
