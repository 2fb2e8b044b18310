// SPDX-License-Identifier: GPL-3.0-or-later
// zadw-tool: the group file from the command line, without a window.

#include "GroupJson.h"
#include "Strings.h"
#include "ToolSupport.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zadw::tool {

#ifdef ZADW_HAVE_SUMMARY
int summaryCommand(const std::vector<std::string>& args); // SummaryCommand.cpp
#endif
int totalsCommand(const std::vector<std::string>& args); // TotalsCommand.cpp
int yearCommand(const std::vector<std::string>& args);   // YearCommand.cpp

namespace {

using Args = std::vector<std::string>;

int runDump(const Args& args) {
    const std::string& path = args[0];
    StderrSink sink; // the load messages name the file themselves
    GroupStore store(sink);
    const int status = loadWholeGroup(store, path);
    if (status != kExitOk) {
        return status;
    }
    return writeOutput(dumpGroupJson(store)) ? kExitOk : kExitFailed;
}

// A file the user may not write is not replaced behind their back, as cp refuses it; root, who
// may write anything, is held by the file's missing write bits, as rm asks.
bool isWriteProtected(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    if (::access(path.c_str(), W_OK) != 0) {
        return errno == EACCES || errno == EROFS || errno == EPERM;
    }
    return ::geteuid() == 0 && (st.st_mode & 0222) == 0;
}

int runBuild(const Args& given) {
    Args args;
    bool force = false;
    for (const std::string& a : given) {
        if (a == "--force") {
            force = true;
        } else {
            args.push_back(a);
        }
    }
    if (args.size() != 2) {
        reportError("build", "expects JSON OUT [--force]");
        return kExitBadInput;
    }
    const std::string& jsonPath = args[0];
    const std::string& outPath = args[1];
    const std::string name = inputName(jsonPath);

    std::string text;
    std::string error;
    if (!readInput(jsonPath, text, error)) {
        reportError(name, error);
        return kExitBadInput;
    }
    GroupContent content;
    JsonFault fault;
    if (!parseGroupJson(text, content, fault)) {
        reportError(name, fault.field.empty() ? fault.problem : fault.field + ": " + fault.problem);
        return kExitBadInput;
    }

    StderrSink sink;
    GroupStore store(sink);
    store.assign(content.header, content.publishers, content.remarks);
    if (!store.storageReady) {
        return kExitFailed;
    }
    // Too few publishers is the JSON's fault; the store refuses it with its own message.
    const bool tooFew = store.publisherCount < 2;
    sink.subject = tooFew ? name : std::string();
    if (!tooFew && !force && isWriteProtected(outPath)) {
        reportError(outPath, "is write-protected and is not replaced (--force replaces it)");
        return kExitFailed;
    }
    if (!store.saveGroupFile(outPath)) {
        return tooFew ? kExitBadInput : kExitFailed;
    }
    return kExitOk;
}

int runTotals(const Args& args) {
    return totalsCommand(args);
}

int runYear(const Args& args) {
    return yearCommand(args);
}

#ifdef ZADW_HAVE_SUMMARY
int runSummary(const Args& args) {
    return summaryCommand(args);
}
#endif

// A command that checks its own arguments.
constexpr std::size_t kAnyCount = static_cast<std::size_t>(-1);

struct Command {
    const char* name;
    const char* arguments;
    const char* purpose;
    std::size_t argumentCount;
    int (*run)(const Args&);
};

// New subcommands go here.
const Command kCommands[] = {
    {"dump", "FILE", "print the group file FILE as JSON", 1, runDump},
    {"build", "JSON OUT [--force]",
     "write the group file OUT from JSON (\"-\" reads standard input); nothing is written when "
     "the JSON is refused; a write-protected OUT is replaced only with --force",
     kAnyCount, runBuild},
    {"totals", "FILE [--month M] [--form new|old] [--json]",
     "print the group's totals of month M (1-12 or its name; default: the file's report month) "
     "by service category, as a table or as JSON",
     kAnyCount, runTotals},
    {"year", "FILE [--month M] [--year YYYY] [--json | --csv]",
     "print each publisher's twelve months up to month M (1-12 or its name; default: the file's "
     "report month) of YYYY (default: the latest year in which M lies before this month), with "
     "regularity and service-year hours, as a table, as JSON or as CSV",
     kAnyCount, runYear},
#ifdef ZADW_HAVE_SUMMARY
    {"summary",
     "FILE [--month M] [--form new|old] [--paper A4|A5|Letter|Legal] [--landscape] --pdf OUT",
     "write the printed summary list of month M (1-12 or its name; default: the file's report "
     "month) to the PDF file OUT (\"-\" writes standard output), on A4 portrait unless told",
     kAnyCount, runSummary},
#endif
};

void printUsage(std::ostream& out) {
    out << "usage: zadw-tool COMMAND ARGUMENTS\n\ncommands:\n";
    for (const Command& c : kCommands) {
        out << "  " << c.name << ' ' << c.arguments << "\n      " << c.purpose << '\n';
    }
    out << "\nexit status: 0 done, 1 the result could not be written, 2 bad usage or bad input\n";
}

} // namespace
} // namespace zadw::tool

int main(int argc, char** argv) {
    using namespace zadw::tool;
    // The summary's headings and month names follow the locale, as in the program.
    zadw::SetLanguage(zadw::LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                                               std::getenv("LANG")));
    const Args args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (args.empty()) {
        printUsage(std::cerr);
        return kExitBadInput;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printUsage(std::cout);
        return kExitOk;
    }
    for (const Command& c : kCommands) {
        if (args[0] != c.name) {
            continue;
        }
        if (c.argumentCount != kAnyCount && args.size() - 1 != c.argumentCount) {
            reportError(c.name, std::string("expects ") + c.arguments);
            printUsage(std::cerr);
            return kExitBadInput;
        }
        return c.run(Args(args.begin() + 1, args.end()));
    }
    reportError("", "unknown command \"" + args[0] + "\"");
    printUsage(std::cerr);
    return kExitBadInput;
}
