// SPDX-License-Identifier: GPL-3.0-or-later
#include "MailPrograms.h"

#include "MailSender.h"
#include "Strings.h"

#include <map>

namespace zadw {

namespace {

std::string lowerTrimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::string();
    }
    std::string out = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool listHas(const std::string& list, const std::string& item) {
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string::npos) {
            end = list.size();
        }
        if (list.compare(start, end - start, item) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

MailProgramChoice tryProgram(
    const std::string& program,
    const std::function<ProgramState(const std::string& program, std::string* resolved)>& check,
    MailProgramChoice& best, bool desktop) {
    std::string resolved = program;
    switch (check(program, &resolved)) {
    case ProgramState::Executable: {
        MailProgramChoice choice;
        choice.state = MailSystemState::Ready;
        choice.desktopClient = desktop;
        choice.program = resolved;
        return choice;
    }
    case ProgramState::NotExecutable:
        if (best.state == MailSystemState::NotFound) {
            best.state = MailSystemState::NotExecutable;
            best.program = resolved;
        }
        break;
    case ProgramState::Missing:
        break;
    }
    return best;
}

} // namespace

std::optional<MailMethod> parseMailMethod(const std::string& text) {
    const std::string t = lowerTrimmed(text);
    for (MailMethod m :
         {MailMethod::Auto, MailMethod::Desktop, MailMethod::Sendmail, MailMethod::File}) {
        if (t == mailMethodName(m)) {
            return m;
        }
    }
    return std::nullopt;
}

const char* mailMethodName(MailMethod method) {
    switch (method) {
    case MailMethod::Desktop:
        return "desktop";
    case MailMethod::Sendmail:
        return "sendmail";
    case MailMethod::File:
        return "file";
    case MailMethod::Auto:
        break;
    }
    return "auto";
}

std::optional<std::vector<std::string>> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord) {
                words.push_back(word);
                word.clear();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const std::size_t close = text.find('\'', i + 1);
            if (close == std::string::npos) {
                return std::nullopt;
            }
            word.append(text, i + 1, close - i - 1);
            i = close;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= text.size()) {
                    return std::nullopt;
                }
                if (text[i] == '"') {
                    break;
                }
                if (text[i] == '\\' && i + 1 < text.size() &&
                    std::string("$`\"\\\n").find(text[i + 1]) != std::string::npos) {
                    ++i;
                    if (text[i] == '\n') {
                        continue;
                    }
                }
                word += text[i];
            }
        } else if (c == '\\') {
            if (i + 1 >= text.size()) {
                return std::nullopt;
            }
            ++i;
            if (text[i] != '\n') {
                word += text[i];
            }
        } else {
            word += c;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

namespace {

// The keys of a desktop entry's main group; false when it has no main group.
bool mainGroupKeys(const std::string& desktopEntry, std::map<std::string, std::string>& keys) {
    bool inMainGroup = false;
    bool sawMainGroup = false;
    std::size_t start = 0;
    while (start < desktopEntry.size()) {
        std::size_t end = desktopEntry.find('\n', start);
        if (end == std::string::npos) {
            end = desktopEntry.size();
        }
        std::string line = desktopEntry.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] == '[') {
            inMainGroup = line == "[Desktop Entry]";
            sawMainGroup = sawMainGroup || inMainGroup;
            continue;
        }
        const auto eq = line.find('=');
        if (!inMainGroup || line.empty() || line[0] == '#' || eq == std::string::npos) {
            continue;
        }
        keys[TrimBlanks(line.substr(0, eq))] = TrimBlanks(line.substr(eq + 1));
    }
    return sawMainGroup;
}

} // namespace

std::string desktopEntryName(const std::string& desktopEntry) {
    std::map<std::string, std::string> keys;
    mainGroupKeys(desktopEntry, keys);
    const auto name = keys.find("Name");
    return name == keys.end() ? std::string() : name->second;
}

MailtoHandler classifyMailtoHandler(const std::string& desktopEntry,
                                    const std::function<bool(const std::string&)>& programExists) {
    std::map<std::string, std::string> keys;
    const bool sawMainGroup = mainGroupKeys(desktopEntry, keys);
    const std::string categories = keys["Categories"];
    const std::string mimeTypes = keys["MimeType"];
    const std::string exec = keys["Exec"];
    const std::string tryExec = keys["TryExec"];
    // A handler that cannot start cannot take even a reminder.
    const auto words = splitWords(exec);
    if (!sawMainGroup || !words || words->empty() || !programExists((*words)[0]) ||
        (!tryExec.empty() && !programExists(tryExec))) {
        return MailtoHandler::MissingCommand;
    }
    if (listHas(categories, "WebBrowser") || listHas(mimeTypes, "x-scheme-handler/http") ||
        listHas(mimeTypes, "x-scheme-handler/https")) {
        return MailtoHandler::WebBrowser;
    }
    return MailtoHandler::MailClient;
}

MailProgramChoice chooseMailProgram(
    const MailSituation& situation,
    const std::function<ProgramState(const std::string& program, std::string* resolved)>& check) {
    MailMethod method = situation.method;
    if (method == MailMethod::File) {
        if (situation.attachments) {
            MailProgramChoice choice;
            choice.state = MailSystemState::FileOnly;
            return choice;
        }
        method = MailMethod::Auto; // the method is about the update file; reminders still go
    }

    MailProgramChoice best;
    if (situation.sendmailVariable && method != MailMethod::Desktop) {
        // Named by the collector: nothing else is tried, so a typo is not hidden by another
        // program quietly sending the mail.
        const auto words = splitWords(*situation.sendmailVariable);
        if (!words) {
            best.state = MailSystemState::NotExecutable;
            best.program = *situation.sendmailVariable;
            return best;
        }
        if (words->empty()) {
            return best;
        }
        MailProgramChoice choice = tryProgram(words->front(), check, best, false);
        if (choice.state == MailSystemState::Ready) {
            choice.arguments.assign(words->begin() + 1, words->end());
        }
        return choice;
    }

    const bool handlerCarries =
        situation.handler == MailtoHandler::MailClient ||
        (!situation.attachments && situation.handler == MailtoHandler::WebBrowser);
    if (method != MailMethod::Sendmail && handlerCarries) {
        MailProgramChoice choice = tryProgram("xdg-email", check, best, true);
        if (choice.state == MailSystemState::Ready) {
            return choice;
        }
    }
    if (method != MailMethod::Desktop) {
        for (const char* program : {"/usr/sbin/sendmail", "/usr/lib/sendmail"}) {
            MailProgramChoice choice = tryProgram(program, check, best, false);
            // One that keeps mail on this computer would take the update and deliver it nowhere.
            if (choice.state == MailSystemState::Ready &&
                !(situation.deliversOnlyHere && situation.deliversOnlyHere(choice.program))) {
                return choice;
            }
        }
    }
    // The file stays on disk and the collector is told where, rather than a failure alone.
    if (situation.attachments &&
        (method == MailMethod::Auto ||
         (method == MailMethod::Desktop && situation.handler != MailtoHandler::None))) {
        best = MailProgramChoice();
        best.state = MailSystemState::FileOnly;
    }
    return best;
}

namespace {

// The value of "key = value" or "key='value'" lines, the last one counting; "" when none.
std::string configValue(const std::string& text, const std::string& key) {
    std::string value;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = TrimBlanks(text.substr(start, end - start));
        start = end + 1;
        const auto eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos ||
            TrimBlanks(line.substr(0, eq)) != key) {
            continue;
        }
        value = TrimBlanks(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
    }
    return value;
}

std::string baseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool deliversOnlyHere(const std::string& realProgram,
                      const std::function<std::optional<std::string>(const std::string&)>& read) {
    const std::string base = baseName(realProgram);
    if (base.rfind("exim", 0) == 0) {
        // Debian's exim4 as debconf set it up: "local" delivers only to this computer's users,
        // "none" delivers nothing at all.
        const auto conf = read("/etc/exim4/update-exim4.conf.conf");
        const std::string type =
            conf ? lowerTrimmed(configValue(*conf, "dc_eximconfig_configtype")) : std::string();
        return type == "local" || type == "none";
    }
    if (base == "sendmail" || base.rfind("postfix", 0) == 0) {
        // Postfix's "Local only" setup refuses everything that is not for this computer.
        const auto conf = read("/etc/postfix/main.cf");
        if (conf) {
            const std::string transport = lowerTrimmed(configValue(*conf, "default_transport"));
            return transport == "error" || transport.rfind("error:", 0) == 0;
        }
    }
    return false;
}

std::vector<std::string> sendmailArguments(const MailMessage& message) {
    if (message.bcc.empty()) {
        return {"-t", "-oi"};
    }
    std::vector<std::string> args{"-oi", "--"};
    for (const MailRecipient& r : message.recipients) {
        args.push_back(r.address);
    }
    for (const MailRecipient& r : message.bcc) {
        args.push_back(r.address);
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
        args.insert(args.end(), {"--bcc", r.address});
    }
    for (const MailRecipient& r : message.recipients) {
        args.push_back(r.address);
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
