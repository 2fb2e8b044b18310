// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every zadw-tool command shares: exit codes, error lines and reading group files.

#include "GroupStore.h"
#include "MessageSink.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zadw::tool {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;   // the input was fine, but writing the result failed
constexpr int kExitBadInput = 2; // bad usage, bad JSON, or not a whole group file

// Writes "zadw-tool: [subject: ]text" as one line on standard error.
void reportError(const std::string& subject, const std::string& text);

// The store's messages as error lines; questions are answered No.
class StderrSink : public MessageSink {
public:
    MsgAnswer present(const Message& message) override;
    // Put in front of texts that do not name their file themselves ("" = nothing).
    std::string subject;
};

// Loads a group file for a command that only reads it. Returns kExitOk when the whole group
// was read; otherwise the store has already said why and the result is the exit status.
int loadWholeGroup(GroupStore& store, const std::string& path);

// Reads a whole file, or standard input for "-". False with the reason in error.
bool readInput(const std::string& path, std::string& out, std::string& error);
// How a path given on the command line is named in messages.
std::string inputName(const std::string& path);

// --month (1 to 12, or the month's name) and --form new|old, which the commands that list one
// month share. Yes: args[i] was one of them and i is at its value; Bad: error says why.
enum class OptionTaken { No, Yes, Bad };
OptionTaken takeMonthOrForm(const std::vector<std::string>& args, std::size_t& i,
                            std::optional<int>& month, std::optional<bool>& newForm,
                            std::string& error);

// What a command that lists one month of a group file is given: FILE, --month and --form.
struct MonthArgs {
    std::string file;
    std::optional<int> month; // 0..11
    std::optional<bool> newForm;
};

// The command's own option at args[i]: Yes when taken (i at its last word), No when it is none of
// the command's, Bad with error set.
using OwnOption = std::function<OptionTaken(const std::vector<std::string>& args, std::size_t& i,
                                            std::string& error)>;

// Reads FILE, --month, --form and, through own, the command's other options. False with error
// set; usage is the error when no file is given.
bool parseMonthArgs(const std::vector<std::string>& args, MonthArgs& out, const OwnOption& own,
                    const std::string& usage, std::string& error);

// The group a month-listing command reads, and the month and form it lists.
struct GroupMonth {
    StderrSink sink;
    GroupStore store{sink};
    int month = 0; // 0..11
    bool newForm = false;
};

// Loads args.file whole and settles the month (the file's report month unless --month) and the
// form (the one the program takes for that month when it starts in year, monthIndex, unless
// --form). kExitOk, or the exit status when the file could not be read whole.
int loadGroupMonth(const MonthArgs& args, int year, int monthIndex, GroupMonth& out);

// The start every month-listing command shares: its arguments read by parse (a bad one said as
// the command's error line), then its group loaded. kExitOk, or the status to exit with.
template <class Args>
int startMonthCommand(const std::string& name, const std::vector<std::string>& args, int year,
                      int monthIndex,
                      bool (*parse)(const std::vector<std::string>&, Args&, std::string&),
                      Args& parsed, GroupMonth& group) {
    std::string error;
    if (!parse(args, parsed, error)) {
        reportError(name, error);
        return kExitBadInput;
    }
    return loadGroupMonth(parsed, year, monthIndex, group);
}

// Runs command for this machine's year and month (0..11) today.
int runToday(int (*command)(const std::vector<std::string>&, int, int),
             const std::vector<std::string>& args);

// Rows as lines of aligned columns two blanks apart, counted in characters: the first column
// to the left, the others to the right.
std::string alignedRows(const std::vector<std::vector<std::string>>& rows);

// Writes text to standard output; false (and an error line) when it could not be written.
bool writeOutput(const std::string& text);

} // namespace zadw::tool
