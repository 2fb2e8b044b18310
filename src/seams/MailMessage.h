// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One outgoing message as the program builds it, and the seam through which it leaves the program.

#include <optional>
#include <string>
#include <vector>

namespace zadw {

struct MailRecipient {
    std::string address; // as given, blanks around it removed
};

struct MailAttachment {
    std::string path;
    std::optional<std::string> displayName; // none: the file's own name is shown
};

struct MailMessage {
    std::vector<MailRecipient> recipients;
    // Blind copies: they receive the message but no header names them.
    std::vector<MailRecipient> bcc;
    std::string subject;
    std::string noteText;
    std::vector<MailAttachment> attachments;
};

// Whether a mail system can be reached at all; asked once when a sender is made.
enum class MailSystemState {
    Ready,
    NotFound,      // nothing to hand a message to
    NotExecutable, // found, but it cannot be run
    FileOnly,      // a message could go out, but nothing at hand would carry a file attached
};

enum class SendOutcome {
    Sent,      // accepted by the mail system
    Cancelled, // the user cancelled in the mail client
    Failed,    // refused; errorLine says why when the mail system said anything
    NotFound,
    NotExecutable,
};

struct DeliveryResult {
    SendOutcome outcome = SendOutcome::Failed;
    std::string errorLine; // first line of the mail program's error output, for Failed
    // Sent by a desktop mail client only means it opened the message: it leaves when the
    // collector sends it there. A sendmail's Sent means the message has left our hands.
    bool desktopClient = false;
    std::string program; // the mail program's name as the collector knows it
    int exitStatus = 0;  // the mail program's, for Failed

    static DeliveryResult of(SendOutcome outcome, std::string errorLine = {}) {
        DeliveryResult r;
        r.outcome = outcome;
        r.errorLine = std::move(errorLine);
        return r;
    }
};

// The platform's mail system. The desktop implementation runs a mail program; tests record.
class MailTransport {
public:
    virtual ~MailTransport() = default;
    virtual MailSystemState probe() = 0;
    // The same for a message with a file attached. FileOnly when the only ways out would drop the
    // file (a web browser as the mail handler) or the collector chose to pass files on by hand.
    virtual MailSystemState probeAttachments() { return probe(); }
    // Hands one message over and waits until the mail system has taken it or given up.
    virtual DeliveryResult deliver(const MailMessage& message) = 0;
};

} // namespace zadw
