// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One message, filled by the caller and handed to the mail system once. Failures are shown where
// they happen (through the MessageSink) and kept as an error code for the caller.

#include "MailMessage.h"
#include "MessageSink.h"

#include <string>
#include <vector>

namespace zadw {

enum MailError : int {
    MailErrorNone = 0,
    MailErrorNoMailSystem = 1,      // nothing to hand a message to (NoMailSystem shown)
    MailErrorInvalidMailSystem = 2, // the mail program cannot be run (InvalidMailSystem shown)
    MailErrorNoMemoryRecipient = 3,
    MailErrorNoMemoryAttachment = 5,
    MailErrorBadAddress = 6, // an address with characters no header may carry (BadMailAddress)
};

// Whether an address may reach a mail header or a command line. Control characters (C0, DEL, C1),
// bytes that are not UTF-8 and a leading "-" (a mail program would read an option) are refused.
bool isSafeAddress(const std::string& address);
// The address with every refused character spelled out ("[CR]", "[LF]", "[U+0085]", "[0xFF]"),
// so the message naming it can be read.
std::string visibleAddress(const std::string& address);

// Stands in when the program was started without a mail system: sending says so.
class NoMailSystem : public MailTransport {
public:
    MailSystemState probe() override { return MailSystemState::NotFound; }
    DeliveryResult deliver(const MailMessage&) override {
        return DeliveryResult::of(SendOutcome::NotFound);
    }
};

class MailSender {
public:
    // Asks the transport whether a mail system is there; when not, says so and sets the error.
    MailSender(MailTransport& transport, MessageSink& messages);

    // The error code, reset to 0.
    int takeError();
    // One address or several separated by ";" or ","; empty pieces are skipped, blanks around each
    // address dropped. An unsafe address refuses the whole list (BadMailAddress) and the message
    // is not sent at all.
    // Addresses must be plain ASCII: an address with other characters is refused the same way
    // (a raw one would break the To header, and not every mail system takes an encoded one).
    bool addRecipients(const std::string& list);
    // Blind copies, given and checked the same way; no header of the message names them.
    bool addBcc(const std::string& list);
    // One publisher's address, as a recipient or a blind copy: a field that holds more than one
    // address is refused the same way, so it cannot reach people the collector did not see.
    bool addOneRecipient(const std::string& address, bool blindCopy);
    void setSubject(const std::string& subject);
    bool addAttachment(const std::string& path, const char* displayName = nullptr);
    // True when the mail system took the message or the user cancelled. A refusal by the mail
    // program is said unless sayFailure is false; the caller then says it, from result().
    bool send(bool sayFailure = true);
    // What the mail system answered; meaningful only when the message reached it.
    const DeliveryResult& result() const { return result_; }
    bool reachedMailSystem() const { return reached_; }
    void release();

    std::string noteText;

    const MailMessage& message() const { return message_; }

private:
    bool addAddresses(const std::string& list, std::vector<MailRecipient>& to, bool onlyOne);

    MailTransport& transport_;
    MessageSink& messages_;
    MailMessage message_;
    DeliveryResult result_;
    bool reached_ = false;
    int error_ = MailErrorNone;
    bool refused_ = false; // an address was refused: nothing may go out
    bool usable_ = false;  // the mail system was there when the sender was made
    bool released_ = false;
};

} // namespace zadw
