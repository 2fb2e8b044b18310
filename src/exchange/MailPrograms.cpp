#include "MailPrograms.h"

namespace zadw {

MailProgramChoice chooseMailProgram(
    const std::string& sendmailVariable, bool desktopHasMailClient,
    const std::function<ProgramState(const std::string& program, std::string* resolved)>& check) {
    struct Candidate {
        std::string program;
        bool desktop;
    };
    std::vector<Candidate> candidates;
    if (!sendmailVariable.empty()) {
        candidates.push_back({sendmailVariable, false});
    }
    if (desktopHasMailClient) {
        candidates.push_back({"xdg-email", true});
    }
    candidates.push_back({"/usr/sbin/sendmail", false});
    candidates.push_back({"/usr/lib/sendmail", false});

    MailProgramChoice choice;
    for (const Candidate& c : candidates) {
        std::string resolved = c.program;
        switch (check(c.program, &resolved)) {
        case ProgramState::Executable:
            choice.state = MailSystemState::Ready;
            choice.desktopClient = c.desktop;
            choice.program = resolved;
            return choice;
        case ProgramState::NotExecutable:
            if (choice.state == MailSystemState::NotFound) {
                choice.state = MailSystemState::NotExecutable;
                choice.program = resolved;
            }
            break;
        case ProgramState::Missing:
            break;
        }
    }
    return choice;
}

std::vector<std::string> sendmailArguments() {
    return {"-t", "-oi"};
}

std::vector<std::string> sendmailArguments(const MailMessage& message) {
    if (message.bcc.empty()) {
        return sendmailArguments();
    }
    std::vector<std::string> args{"-oi", "--"};
    for (const MailRecipient& r : message.recipients) {
        args.push_back(plainAddress(r));
    }
    for (const MailRecipient& r : message.bcc) {
        args.push_back(plainAddress(r));
    }
    return args;
}

std::vector<std::string> xdgEmailArguments(const MailMessage& message) {
    std::vector<std::string> args{"--utf8"};
    if (!message.subject.empty()) {
        args.insert(args.end(), {"--subject", message.subject});
    }
    if (!message.noteText.empty()) {
        args.insert(args.end(), {"--body", message.noteText});
    }
    for (const MailAttachment& a : message.attachments) {
        args.insert(args.end(), {"--attach", a.path});
    }
    for (const MailRecipient& r : message.bcc) {
        args.insert(args.end(), {"--bcc", plainAddress(r)});
    }
    for (const MailRecipient& r : message.recipients) {
        args.push_back(plainAddress(r));
    }
    return args;
}

std::string firstErrorLine(const std::string& errorOutput) {
    constexpr std::size_t kMaxLength = 300;
    std::size_t start = 0;
    while (start < errorOutput.size()) {
        std::size_t end = errorOutput.find('\n', start);
        if (end == std::string::npos) {
            end = errorOutput.size();
        }
        std::string line;
        for (std::size_t i = start; i < end; ++i) {
            const auto c = static_cast<unsigned char>(errorOutput[i]);
            line += (c < 0x20 || c == 0x7F) ? ' ' : static_cast<char>(c);
        }
        const auto first = line.find_first_not_of(' ');
        if (first != std::string::npos) {
            line = line.substr(first, line.find_last_not_of(' ') - first + 1);
            if (line.size() > kMaxLength) {
                // Cut before a UTF-8 continuation byte would be split.
                std::size_t cut = kMaxLength;
                while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
                    --cut;
                }
                line = line.substr(0, cut) + "...";
            }
            return line;
        }
        start = end + 1;
    }
    return std::string();
}

} // namespace zadw
