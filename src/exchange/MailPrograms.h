#pragma once
// Which mail program gets the message and what it is given. Running it is the desktop's work;
// deciding is kept here so it can be tested without one.

#include "MailMessage.h"

#include <functional>
#include <string>
#include <vector>

namespace zadw {

enum class ProgramState { Missing, NotExecutable, Executable };

struct MailProgramChoice {
    MailSystemState state = MailSystemState::NotFound;
    bool desktopClient = false; // true: hand over to xdg-email; false: a sendmail-compatible one
    std::string program;        // as the check resolved it
};

// Tries, in order: the program named by ZADW_SENDMAIL (sendmailVariable, "" when unset); the
// desktop's mail client through xdg-email when the session has one; /usr/sbin/sendmail;
// /usr/lib/sendmail. The first that can be run wins. When none can, NotExecutable if one was
// found at all, else NotFound. check resolves a program name or path (searching PATH for a bare
// name) and reports it through *resolved.
MailProgramChoice chooseMailProgram(
    const std::string& sendmailVariable, bool desktopHasMailClient,
    const std::function<ProgramState(const std::string& program, std::string* resolved)>& check);

// Arguments for a sendmail-compatible program reading the message on standard input.
std::vector<std::string> sendmailArguments();
// The same for this message: with blind copies every recipient is named on the command line,
// since what "-t" does with command-line addresses differs between mail programs.
std::vector<std::string> sendmailArguments(const MailMessage& message);

// Arguments for xdg-email: the client opens with everything filled in.
std::vector<std::string> xdgEmailArguments(const MailMessage& message);

// The first non-empty line of a program's error output, fit to be shown: control characters
// become blanks and the line is cut at a length a message box can carry.
std::string firstErrorLine(const std::string& errorOutput);

} // namespace zadw
