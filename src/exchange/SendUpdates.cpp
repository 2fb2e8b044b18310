// SPDX-License-Identifier: GPL-3.0-or-later
#include "SendUpdates.h"

#include "MailSender.h"
#include "Strings.h"

namespace zadw {
namespace {

// The update mail is read by the secretary's side, so it is Swedish whatever the program speaks.
std::string mailString(StringId id) {
    return LoadStringIn(kSwedish, id);
}

std::string mailMonthName(int month) {
    return monthNameIn(kSwedish, month);
}

} // namespace

std::string updateFilePath(const std::string& groupFilePath) {
    if (groupFilePath.size() < 4) {
        return std::string();
    }
    const std::string stem = groupFilePath.substr(0, groupFilePath.size() - 4);
    const std::string ext = groupFilePath.substr(groupFilePath.size() - 4);
    if (ext != ".z08" && ext != ".Z08") {
        return std::string();
    }
    // Only the file's own extension changes: a folder may well be called "mars.z08".
    return stem + ".z18";
}

std::string groupText(unsigned groupNumber) {
    return mailString(StringId::Group) + " " + std::to_string(groupNumber);
}

std::string updateSubject(int month, unsigned groupNumber) {
    return mailString(StringId::SummaryFile) + " - " + mailMonthName(month) + " - " +
           groupText(groupNumber);
}

std::string updateText(int month, unsigned groupNumber) {
    return mailMonthName(month) + " " + mailString(StringId::UpdateFileFor) + " " +
           groupText(groupNumber);
}

UpdateOutcome SendUpdates(GroupStore& store, MessageSink& messages, MailTransport& transport,
                          FileHandOver* handOver, const std::function<void()>& recordSent) {
    const std::string path = updateFilePath(store.groupFilePath);
    if (path.empty()) {
        return UpdateOutcome::NotWritten;
    }
    // Holds the same names and reports as the group file: no more readable than it.
    if (!store.saveGroupFile(path, store.groupFilePath)) {
        return UpdateOutcome::NotWritten; // the store has said why
    }
    // The collector may pass the file on by other means; then only they can say it has gone.
    const auto sentByHand = [&recordSent](Message& m) {
        if (recordSent) {
            m.actions.push_back({LoadString(StringId::IHaveSentIt), recordSent, true});
        }
    };
    const auto fileButtons = [handOver, &path](Message& m, const std::string& shown) {
        if (handOver != nullptr) {
            m.actions.push_back(
                {LoadString(StringId::ShowFile), [handOver, path] { handOver->showFile(path); }});
            m.actions.push_back({LoadString(StringId::CopyAddress),
                                 [handOver, shown] { handOver->copyText(shown); }});
        }
    };
    std::string notice = FormatText(LoadString(StringId::UpdatesSavedIn), path);
    const std::string address = store.secretaryEmail();
    if (address.find('@') == std::string::npos) {
        Message m{notice, MsgButtons::Ok, MsgIcon::Exclamation, MsgAnswer::Ok, {}};
        sentByHand(m);
        messages.present(m);
        return UpdateOutcome::Saved;
    }
    const std::string shown = visibleAddress(TrimBlanks(address));
    if (transport.probeAttachments() == MailSystemState::FileOnly) {
        // Offering to mail it would end in a mail without the file, or none at all.
        Message m;
        // One pass, so a path holding "%2" stays as it is.
        m.text = FormatArgs(LoadString(StringId::AttachUpdateByHand), {path, shown});
        fileButtons(m, shown);
        sentByHand(m);
        messages.present(m);
        return UpdateOutcome::Saved;
    }
    // A control character would break the question's lines and hide what follows it.
    notice += LoadString(StringId::ClickYesToMail) + visibleAddress(address) +
              LoadString(StringId::OrBetweenChoices) + LoadString(StringId::ClickNoToSendLater);
    // Either answer keeps the update file; Enter mails it, which is what the command is for.
    if (messages.ask(notice, MsgAnswer::Yes) != MsgAnswer::Yes) {
        return UpdateOutcome::Saved;
    }

    MailSender sender(transport, messages);
    if (sender.takeError() != MailErrorNone) {
        sender.release();
        return UpdateOutcome::Saved;
    }
    sender.addRecipients(address);
    sender.setSubject(updateSubject(store.reportMonth, store.groupNumber));
    sender.noteText = updateText(store.reportMonth, store.groupNumber);
    sender.addAttachment(path);
    const bool taken = sender.send(false);
    const bool reached = sender.reachedMailSystem();
    const DeliveryResult result = sender.result();
    sender.release();
    if (taken && result.outcome == SendOutcome::Sent && !result.desktopClient) {
        if (recordSent) {
            recordSent();
        }
        messages.show(FormatArgs(LoadString(StringId::UpdateHandedTo), {result.program, shown}),
                      MsgButtons::Ok, MsgIcon::Information);
        return UpdateOutcome::Sent;
    }
    if (taken && result.outcome == SendOutcome::Sent) {
        Message m{FormatText(LoadString(StringId::UpdateOpenedIn), result.program),
                  MsgButtons::Ok,
                  MsgIcon::Information,
                  MsgAnswer::Ok,
                  {}};
        sentByHand(m);
        messages.present(m);
        return UpdateOutcome::OpenedInClient;
    }
    if (reached && result.outcome == SendOutcome::Failed) {
        Message m;
        // A program that failed without a word is known by its exit status.
        const std::string why =
            !result.errorLine.empty()
                ? result.errorLine
                : FormatText(LoadString(StringId::ExitStatus), std::to_string(result.exitStatus));
        m.text = FormatArgs(LoadString(StringId::UpdateMailFailed), {result.program, why, path});
        fileButtons(m, shown);
        messages.present(m);
        return UpdateOutcome::Failed;
    }
    return UpdateOutcome::Saved; // no mail system after all, or the address refused: said
}

std::string reminderText(int month) {
    return FormatText(LoadString(StringId::ReminderMail), monthName(month));
}

bool SendReminder(const std::string& reminderAddress, const std::string& publisher, int reportMonth,
                  MessageSink& messages, MailTransport& transport) {
    if (messages.ask(FormatArgs(LoadString(StringId::ReminderQuestion),
                                {publisher, visibleAddress(reminderAddress)}),
                     MsgAnswer::No) != MsgAnswer::Yes) {
        return false;
    }
    MailSender sender(transport, messages);
    if (sender.takeError() != MailErrorNone) {
        sender.release();
        return false;
    }
    sender.addOneRecipient(reminderAddress, false);
    sender.setSubject(kReminderSubject);
    sender.noteText = reminderText(reportMonth);
    const bool sent = sender.send();
    sender.release();
    return sent;
}

bool SendReminderToAll(const std::vector<std::string>& addresses, int reportMonth,
                       MessageSink& messages, MailTransport& transport) {
    MailSender sender(transport, messages);
    if (sender.takeError() != MailErrorNone) {
        sender.release();
        return false;
    }
    // One address at a time: a field holding several is refused, never split.
    bool accepted = true;
    for (const std::string& address : addresses) {
        if (!sender.addOneRecipient(address, true)) {
            accepted = false;
            break;
        }
    }
    sender.setSubject(kReminderSubject);
    sender.noteText = reminderText(reportMonth);
    const bool sent = accepted && sender.send();
    sender.release();
    return sent;
}

} // namespace zadw
