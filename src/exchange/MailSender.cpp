// SPDX-License-Identifier: GPL-3.0-or-later
#include "MailSender.h"

#include "CodePage.h"
#include "Strings.h"

#include <cstdio>
#include <new>
#include <vector>

namespace zadw {
namespace {

// The code point at i, moving past it; -1 (one byte consumed) for anything not UTF-8.
long codePointAt(const std::string& s, std::size_t& i) {
    char32_t cp = 0;
    return nextCodePoint(s, i, cp) ? static_cast<long>(cp) : -1;
}

bool isControl(long cp) {
    return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp <= 0x9F);
}

bool isAscii(const std::string& s) {
    for (const char c : s) {
        if (static_cast<unsigned char>(c) > 0x7E) {
            return false;
        }
    }
    return true;
}

} // namespace

bool isSafeAddress(const std::string& address) {
    if (!address.empty() && address[0] == '-') {
        return false;
    }
    for (std::size_t i = 0; i < address.size();) {
        const long cp = codePointAt(address, i);
        if (cp < 0 || isControl(cp)) {
            return false;
        }
    }
    return true;
}

std::string visibleAddress(const std::string& address) {
    std::string out;
    char buf[32];
    for (std::size_t i = 0; i < address.size();) {
        const std::size_t start = i;
        const long cp = codePointAt(address, i);
        if (cp < 0) {
            std::snprintf(buf, sizeof buf, "[0x%02X]", static_cast<unsigned char>(address[start]));
            out += buf;
        } else if (cp == '\r') {
            out += "[CR]";
        } else if (cp == '\n') {
            out += "[LF]";
        } else if (cp == '\t') {
            out += "[TAB]";
        } else if (isControl(cp)) {
            std::snprintf(buf, sizeof buf, "[U+%04lX]", static_cast<unsigned long>(cp));
            out += buf;
        } else {
            out.append(address, start, i - start);
        }
    }
    return out;
}

MailSender::MailSender(MailTransport& transport, MessageSink& messages)
    : transport_(transport), messages_(messages) {
    switch (transport_.probe()) {
    case MailSystemState::Ready:
    case MailSystemState::FileOnly: // this message may carry no file
        usable_ = true;
        break;
    case MailSystemState::NotFound:
        messages_.show(LoadString(StringId::NoMailSystem));
        error_ = MailErrorNoMailSystem;
        break;
    case MailSystemState::NotExecutable:
        messages_.show(LoadString(StringId::InvalidMailSystem));
        error_ = MailErrorInvalidMailSystem;
        break;
    }
}

int MailSender::takeError() {
    const int e = error_;
    error_ = MailErrorNone;
    return e;
}

bool MailSender::addRecipients(const std::string& list) {
    return addAddresses(list, message_.recipients, false);
}

bool MailSender::addBcc(const std::string& list) {
    return addAddresses(list, message_.bcc, false);
}

bool MailSender::addOneRecipient(const std::string& address, bool blindCopy) {
    return addAddresses(address, blindCopy ? message_.bcc : message_.recipients, true);
}

bool MailSender::addAddresses(const std::string& list, std::vector<MailRecipient>& to,
                              bool onlyOne) {
    std::vector<std::string> addresses;
    std::size_t start = 0;
    while (start <= list.size()) {
        // A mail header separates addresses with ",", so a "," splits them here too.
        std::size_t end = list.find_first_of(";,", start);
        if (end == std::string::npos) {
            end = list.size();
        }
        std::string piece = TrimBlanks(list.substr(start, end - start));
        if (!piece.empty()) {
            if (!isSafeAddress(piece) || !isAscii(piece)) {
                // Refuse the whole list: a message to only some of the intended people is
                // worse than none, and the collector can correct the address.
                messages_.show(
                    FormatText(LoadString(StringId::BadMailAddress), visibleAddress(piece)));
                error_ = MailErrorBadAddress;
                refused_ = true;
                return false;
            }
            addresses.push_back(std::move(piece));
        }
        start = end + 1;
    }
    if (onlyOne && addresses.size() > 1) {
        messages_.show(FormatText(LoadString(StringId::BadMailAddress), visibleAddress(list)));
        error_ = MailErrorBadAddress;
        refused_ = true;
        return false;
    }
    for (const std::string& a : addresses) {
        try {
            to.push_back(MailRecipient{a});
        } catch (const std::bad_alloc&) {
            error_ = MailErrorNoMemoryRecipient;
            return false;
        }
    }
    return true;
}

void MailSender::setSubject(const std::string& subject) {
    message_.subject = subject;
}

bool MailSender::addAttachment(const std::string& path, const char* displayName) {
    try {
        MailAttachment a;
        a.path = path;
        if (displayName != nullptr) {
            a.displayName = std::string(displayName);
        }
        message_.attachments.push_back(std::move(a));
    } catch (const std::bad_alloc&) {
        error_ = MailErrorNoMemoryAttachment;
        return false;
    }
    return true;
}

bool MailSender::send(bool sayFailure) {
    result_ = DeliveryResult();
    reached_ = false;
    if (!usable_ || released_ || refused_) {
        return false;
    }
    reached_ = true;
    // Each attachment stands at a blank of its own at the end of the text.
    message_.noteText = noteText;
    message_.noteText.append(message_.attachments.size(), ' ');

    result_ = transport_.deliver(message_);
    const DeliveryResult& result = result_;
    switch (result.outcome) {
    case SendOutcome::Sent:
    case SendOutcome::Cancelled:
        return true;
    case SendOutcome::NotFound:
        messages_.show(LoadString(StringId::NoMailSystem));
        return false;
    case SendOutcome::NotExecutable:
        messages_.show(LoadString(StringId::InvalidMailSystem));
        return false;
    case SendOutcome::Failed:
        break;
    }
    if (!sayFailure) {
        return false;
    }
    std::string text = LoadString(StringId::SendMailFailed);
    if (!result.errorLine.empty()) {
        text += '\n';
        text += result.errorLine;
    }
    messages_.show(text);
    return false;
}

void MailSender::release() {
    message_ = MailMessage();
    noteText.clear();
    released_ = true;
}

} // namespace zadw
