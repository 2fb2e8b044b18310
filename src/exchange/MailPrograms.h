// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which mail program gets the message and what it is given. Running it is the desktop's work;
// deciding is kept here so it can be tested without one.

#include "MailMessage.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zadw {

enum class ProgramState { Missing, NotExecutable, Executable };

// How the collector wants mail to leave ("[Mail] Method" in the profile).
enum class MailMethod {
    Auto,     // ZADW_SENDMAIL, else the desktop's mail client, else a sendmail on the machine
    Desktop,  // only the desktop's mail client
    Sendmail, // only a sendmail-compatible program
    File,     // the update file is never mailed: the collector is told where it is
};

// "auto", "desktop", "sendmail" or "file", in any letter case, blanks around ignored.
std::optional<MailMethod> parseMailMethod(const std::string& text);
const char* mailMethodName(MailMethod method);

// What the desktop's default mailto handler is, as far as carrying a file goes.
enum class MailtoHandler {
    None,           // no graphical session or no handler registered
    MailClient,     // can be handed a file
    WebBrowser,     // a webmail site: xdg-email succeeds but the file is dropped
    MissingCommand, // its desktop entry is missing or names a program that is not there
};

// Classifies the text of a handler's desktop entry ("" when the file could not be read).
// programExists resolves a program named by Exec or TryExec.
MailtoHandler classifyMailtoHandler(const std::string& desktopEntry,
                                    const std::function<bool(const std::string&)>& programExists);

// The Name of a desktop entry's main group ("" when it has none).
std::string desktopEntryName(const std::string& desktopEntry);

// Splits text into words as a POSIX shell would, but with no expansion of any kind: blanks
// separate, '...' is literal, "..." and a backslash escape. nullopt on an unclosed quote.
std::optional<std::vector<std::string>> splitWords(const std::string& text);

struct MailSituation {
    MailMethod method = MailMethod::Auto;
    std::optional<std::string> sendmailVariable; // ZADW_SENDMAIL when set
    MailtoHandler handler = MailtoHandler::None;
    bool attachments = false; // the message carries a file
    // Whether the machine's own sendmail (as resolved) delivers only on this computer; such a
    // one counts as missing. ZADW_SENDMAIL is taken as the collector names it.
    std::function<bool(const std::string& program)> deliversOnlyHere;
};

// Whether a sendmail, by its real path (links resolved), is set up to deliver only on this
// computer: Debian's exim4 configured "local" or "none", or Postfix with the error transport as
// its default. read gives a configuration file's text, nullopt when it cannot be read.
bool deliversOnlyHere(const std::string& realProgram,
                      const std::function<std::optional<std::string>(const std::string&)>& read);

struct MailProgramChoice {
    MailSystemState state = MailSystemState::NotFound;
    bool desktopClient = false;         // true: hand over to xdg-email; false: a sendmail
    std::string program;                // as the check resolved it
    std::vector<std::string> arguments; // those ZADW_SENDMAIL gives beyond the program
};

// ZADW_SENDMAIL, when set, is the only sendmail tried: it runs or the choice says why not. Else,
// as the method allows, the desktop's mail client through xdg-email (for a file only when the
// handler can carry one), then /usr/sbin/sendmail, then /usr/lib/sendmail. A file that nothing
// can carry gives FileOnly (always with the method File). check resolves a program name or path
// (searching PATH for a bare name) and reports it through *resolved.
MailProgramChoice chooseMailProgram(
    const MailSituation& situation,
    const std::function<ProgramState(const std::string& program, std::string* resolved)>& check);

// Arguments for a sendmail-compatible program reading the message on standard input. With blind
// copies every recipient is named on the command line: sendmails differ in what -t does with
// named ones, and a Bcc header must never reach the message.
std::vector<std::string> sendmailArguments(const MailMessage& message = MailMessage());

// Arguments for xdg-email: the client opens with everything filled in.
std::vector<std::string> xdgEmailArguments(const MailMessage& message);

// The first non-empty line of a program's error output, fit to be shown: control characters
// become blanks and the line is cut at a length a message box can carry.
std::string firstErrorLine(const std::string& errorOutput);

} // namespace zadw
