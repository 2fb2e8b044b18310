// SPDX-License-Identifier: GPL-3.0-or-later
#include "SendUpdates.h"

#include "MailSender.h"
#include "Strings.h"

namespace zadw {
namespace {

constexpr int kMonthNames = 102;
constexpr int kSavedNotice = 1038;
constexpr int kClickYes = 1039;
constexpr int kClickNo = 1040;
constexpr int kOr = 1041;
constexpr int kSummaryFile = 1042;
constexpr int kUpdateFileFor = 1043;
constexpr int kGroup = 1058;
constexpr int kReminder = 1422;
constexpr int kAttachByHand = 2014;
constexpr int kShowFile = 2120;
constexpr int kCopyAddress = 2121;

// The update mail is read by the secretary's side, so it is Swedish whatever the program speaks.
std::string mailString(int id) {
    return LoadStringIn(kSwedish, id);
}

std::string monthName(int month) {
    return mailString(kMonthNames + month);
}

// "%1" and "%2" replaced in one pass, so a path holding "%2" stays as it is.
std::string formatTwo(const std::string& text, const std::string& one, const std::string& two) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            out += text[i + 1] == '1' ? one : two;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
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
    return mailString(kGroup) + " " + std::to_string(groupNumber);
}

std::string updateSubject(int month, unsigned groupNumber) {
    return mailString(kSummaryFile) + " - " + monthName(month) + " - " + groupText(groupNumber);
}

std::string updateText(int month, unsigned groupNumber) {
    return monthName(month) + " " + mailString(kUpdateFileFor) + " " + groupText(groupNumber);
}

void SendUpdates(GroupStore& store, MessageSink& messages, MailTransport& transport,
                 FileHandOver* handOver) {
    const std::string path = updateFilePath(store.groupFilePath);
    if (path.empty()) {
        return;
    }
    if (!store.saveGroupFile(path)) {
        return; // the store has said why
    }
    std::string notice = FormatText(LoadString(kSavedNotice), path);
    const std::string address = store.secretaryEmail();
    if (address.find('@') == std::string::npos) {
        messages.show(notice);
        return;
    }
    if (transport.probeAttachments() == MailSystemState::FileOnly) {
        // Offering to mail it would end in a mail without the file, or none at all.
        const std::string shown = visibleAddress(TrimBlanks(address));
        Message m;
        m.text = formatTwo(LoadString(kAttachByHand), path, shown);
        if (handOver != nullptr) {
            m.actions.push_back(
                {LoadString(kShowFile), [handOver, path] { handOver->showFile(path); }});
            m.actions.push_back(
                {LoadString(kCopyAddress), [handOver, shown] { handOver->copyText(shown); }});
        }
        messages.present(m);
        return;
    }
    // A control character would break the question's lines and hide what follows it.
    notice +=
        LoadString(kClickYes) + visibleAddress(address) + LoadString(kOr) + LoadString(kClickNo);
    // Either answer keeps the update file; Enter mails it, which is what the command is for.
    if (messages.ask(notice, MsgAnswer::Yes) != MsgAnswer::Yes) {
        return;
    }

    MailSender sender(transport, messages);
    if (sender.takeError() != MailErrorNone) {
        sender.release();
        return;
    }
    sender.addRecipients(address);
    sender.setSubject(updateSubject(store.reportMonth, store.groupNumber));
    sender.noteText = updateText(store.reportMonth, store.groupNumber);
    sender.addAttachment(path);
    sender.send(); // a failure has been shown; cancelling shows nothing
    sender.release();
}

std::string reminderText(int month) {
    return LoadFormatted(kReminder, kMonthNames + month);
}

void SendReminder(const std::string& reminderAddress, int reportMonth, MessageSink& messages,
                  MailTransport& transport) {
    messages.show(visibleAddress(reminderAddress));
    MailSender sender(transport, messages);
    if (sender.takeError() != MailErrorNone) {
        sender.release();
        return;
    }
    sender.addRecipients(reminderAddress);
    sender.setSubject(kReminderSubject);
    sender.noteText = reminderText(reportMonth);
    sender.send();
    sender.release();
}

bool SendReminderToAll(const std::vector<std::string>& addresses, int reportMonth,
                       MessageSink& messages, MailTransport& transport) {
    MailSender sender(transport, messages);
    if (sender.takeError() != MailErrorNone) {
        sender.release();
        return false;
    }
    // One address at a time, so a ";" in one cannot split it.
    bool accepted = true;
    for (const std::string& address : addresses) {
        if (!sender.addBcc(address)) {
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
