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
constexpr const char* kOriginator = "Zad";

// The update mail is read by the secretary's side, so it is Swedish whatever the program speaks.
std::string mailString(int id) {
    return LoadStringIn(kSwedish, id);
}

std::string monthName(int month) {
    return mailString(kMonthNames + month);
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

void SendUpdates(GroupStore& store, MessageSink& messages, MailTransport& transport) {
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
    // A control character would break the question's lines and hide what follows it.
    notice +=
        LoadString(kClickYes) + visibleAddress(address) + LoadString(kOr) + LoadString(kClickNo);
    if (messages.show(notice, MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes) {
        return;
    }

    MailSender sender(transport, messages);
    if (sender.takeError() != MailErrorNone) {
        sender.release();
        return;
    }
    sender.originatorName = kOriginator;
    sender.addRecipients(address);
    sender.setSubject(updateSubject(store.reportMonth, store.groupNumber));
    sender.noteText = updateText(store.reportMonth, store.groupNumber);
    sender.addAttachment(path);
    sender.send(0); // a failure has been shown; cancelling shows nothing
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
    sender.originatorName = kOriginator;
    sender.addRecipients(reminderAddress);
    sender.setSubject(kReminderSubject);
    sender.noteText = reminderText(reportMonth);
    sender.send(0);
    sender.release();
}

} // namespace zadw
