// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolSupport.h"

#include "ReportRules.h"
#include "Strings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace zadw::tool {

void reportError(const std::string& subject, const std::string& text) {
    std::string line = "zadw-tool: ";
    if (!subject.empty()) {
        line += subject + ": ";
    }
    // Store texts may span lines; scripts read the first line of stderr.
    for (const char c : text) {
        line += c == '\n' ? ' ' : c;
    }
    std::cerr << line << std::endl;
}

MsgAnswer StderrSink::present(const Message& message) {
    reportError(subject, message.text);
    return message.buttons == MsgButtons::YesNo         ? MsgAnswer::No
           : message.buttons == MsgButtons::YesNoCancel ? MsgAnswer::Cancel
                                                        : MsgAnswer::Ok;
}

int loadWholeGroup(GroupStore& store, const std::string& path) {
    if (!store.loadGroupFile(path)) {
        return kExitFailed; // no memory; the store has said so
    }
    switch (store.lastLoadStatus()) {
    case LoadStatus::Loaded:
        break;
    case LoadStatus::CannotOpen:
    case LoadStatus::NotAGroupFile:
    case LoadStatus::Incomplete:
        return kExitBadInput;
    case LoadStatus::NoMemory:
        return kExitFailed;
    }
    if (!store.storageReady) {
        return kExitFailed;
    }
    return kExitOk;
}

std::string inputName(const std::string& path) {
    return path == "-" ? std::string("standard input") : path;
}

bool readInput(const std::string& path, std::string& out, std::string& error) {
    if (path == "-") {
        std::ostringstream text;
        text << std::cin.rdbuf();
        if (std::cin.bad()) {
            error = "cannot be read";
            return false;
        }
        out = text.str();
        return true;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "is a folder";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::string("cannot be opened: ") + std::strerror(errno);
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot be read";
        return false;
    }
    return true;
}

namespace {

// Columns are counted in characters, not bytes: names hold "ä" and "ö".
std::size_t charCount(const std::string& text) {
    std::size_t chars = 0;
    for (const char c : text) {
        chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return chars;
}

std::string padded(const std::string& text, std::size_t width, bool right) {
    const std::size_t chars = charCount(text);
    const std::string fill(width > chars ? width - chars : 0, ' ');
    return right ? fill + text : text + fill;
}

} // namespace

std::string alignedRows(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t k = 0; k < row.size(); ++k) {
            widths[k] = std::max(widths[k], charCount(row[k]));
        }
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t k = 0; k < row.size(); ++k) {
            line += (k == 0 ? "" : "  ") + padded(row[k], widths[k], k != 0);
        }
        while (!line.empty() && line.back() == ' ') {
            line.pop_back();
        }
        out += line + "\n";
    }
    return out;
}

bool writeOutput(const std::string& text) {
    std::cout << text;
    std::cout.flush();
    if (!std::cout) {
        reportError("standard output", "cannot be written");
        return false;
    }
    return true;
}

OptionTaken takeMonthOrForm(const std::vector<std::string>& args, std::size_t& i,
                            std::optional<int>& month, std::optional<bool>& newForm,
                            std::string& error) {
    const std::string& a = args[i];
    if (a != "--month" && a != "--form") {
        return OptionTaken::No;
    }
    if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return OptionTaken::Bad;
    }
    const std::string& v = args[++i];
    if (a == "--month") {
        month.reset();
        for (int m = 0; m < 12; ++m) {
            if (v == std::to_string(m + 1) || v == monthName(m)) {
                month = m;
            }
        }
        if (!month) {
            error = "--month \"";
            error += v;
            error += "\" is not 1 to 12 or a month's name";
            return OptionTaken::Bad;
        }
        return OptionTaken::Yes;
    }
    if (v != "new" && v != "old") {
        error = "--form \"";
        error += v;
        error += "\" is not new or old";
        return OptionTaken::Bad;
    }
    newForm = v == "new";
    return OptionTaken::Yes;
}

bool parseMonthArgs(const std::vector<std::string>& args, MonthArgs& out, const OwnOption& own,
                    const std::string& usage, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        OptionTaken taken = takeMonthOrForm(args, i, out.month, out.newForm, error);
        if (taken == OptionTaken::No) {
            taken = own(args, i, error);
        }
        if (taken == OptionTaken::Bad) {
            return false;
        }
        if (taken == OptionTaken::Yes) {
            continue;
        }
        if (a.size() > 1 && a[0] == '-') {
            error = "unknown option \"" + a + "\"";
            return false;
        }
        if (!out.file.empty()) {
            error = "more than one group file given";
            return false;
        }
        out.file = a;
    }
    if (out.file.empty()) {
        error = usage;
        return false;
    }
    return true;
}

int loadGroupMonth(const MonthArgs& args, int year, int monthIndex, GroupMonth& out) {
    const int status = loadWholeGroup(out.store, args.file);
    if (status != kExitOk) {
        return status;
    }
    out.month = args.month.value_or(out.store.reportMonth);
    out.newForm = args.newForm.value_or(NewFormAtStart(year, monthIndex, out.month));
    return kExitOk;
}

int runToday(int (*command)(const std::vector<std::string>&, int, int),
             const std::vector<std::string>& args) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return command(args, local.tm_year + 1900, local.tm_mon);
}

} // namespace zadw::tool
