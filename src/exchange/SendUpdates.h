// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sending the month's updates back to the secretary: the ".z18" file beside the group file and
// the offer to mail it; and the reminder to a publisher whose report is missing.

#include "FileHandOver.h"
#include "GroupStore.h"
#include "MailMessage.h"
#include "MessageSink.h"

#include <functional>
#include <string>
#include <vector>

namespace zadw {

// The update file for a group file: its ".z08" or ".Z08" extension becomes ".z18"; the folders
// are left alone. "" when the group file does not end in ".z08" (any case).
std::string updateFilePath(const std::string& groupFilePath);

// The update mail's texts are Swedish in every language: the secretary's side reads them.
std::string groupText(unsigned groupNumber); // "Grupp 4"
std::string updateSubject(int month,
                          unsigned groupNumber);         // "Sammanställningsfil - mars - Grupp 4"
std::string updateText(int month, unsigned groupNumber); // "mars .z18-fil för Grupp 4"

enum class UpdateOutcome {
    NotWritten,     // no group file to send, or the update file could not be written (said)
    Saved,          // on disk only: no address, not mailed, or no way to mail it
    OpenedInClient, // a desktop mail client has it: it leaves when the collector sends it there
    Sent,           // a mail program took it
    Failed,         // the mail program refused it (said, with where the file is)
};

// Writes the update file and, when the header holds an address and the collector agrees, mails
// it to the secretary. When nothing can carry the file, says where it is and to whom it must go,
// with buttons that show the file and copy the address (when handOver is given). Every outcome
// has been shown by the time it returns. recordSent runs when the update has surely left, and
// when the collector says (with a button of the message) that it was sent by other means.
UpdateOutcome SendUpdates(GroupStore& store, MessageSink& messages, MailTransport& transport,
                          FileHandOver* handOver = nullptr,
                          const std::function<void()>& recordSent = {});

inline constexpr const char* kReminderSubject = "Report";
// In the program's language.
std::string reminderText(int month); // "Skicka in din rapport för mars. \nTack."

// Asks first (the publisher's name and the address; Enter answers No), then mails. True when
// the mail system took it.
bool SendReminder(const std::string& reminderAddress, const std::string& publisher, int reportMonth,
                  MessageSink& messages, MailTransport& transport);
// The same reminder as one message to everyone, each address a blind copy so that no publisher
// sees another's. An address that may not be sent refuses the whole message (said so). True when
// the mail system took it.
bool SendReminderToAll(const std::vector<std::string>& addresses, int reportMonth,
                       MessageSink& messages, MailTransport& transport);

} // namespace zadw
