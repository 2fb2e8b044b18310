// SPDX-License-Identifier: GPL-3.0-or-later
// zadw-tool summary: the printed summary list of a group file as a PDF, without a window.

#include "Strings.h"
#include "SummaryPdf.h"
#include "ToolSupport.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zadw::tool {

int summaryCommand(const std::vector<std::string>& args);
int summaryCommandOn(const std::vector<std::string>& args, int year, int monthIndex);

namespace {

constexpr const char* kName = "summary";

constexpr const char* kUsage = "expects FILE [--month M] [--form new|old] "
                               "[--paper A4|A5|Letter|Legal] [--landscape] --pdf OUT";

struct SummaryArgs : MonthArgs {
    std::string pdf;
    PaperChoice paper;
};

std::optional<Paper> parsePaper(const std::string& text) {
    const std::pair<const char*, Paper> sizes[] = {
        {"A4", Paper::A4}, {"A5", Paper::A5}, {"Letter", Paper::Letter}, {"Legal", Paper::Legal}};
    for (const auto& [name, paper] : sizes) {
        if (text == name) {
            return paper;
        }
    }
    return std::nullopt;
}

bool parseArgs(const std::vector<std::string>& args, SummaryArgs& out, std::string& error) {
    const auto own = [&out](const std::vector<std::string>& words, std::size_t& i,
                            std::string& why) {
        const std::string& a = words[i];
        const bool isOption = a == "--pdf" || a == "--paper";
        if (isOption && i + 1 >= words.size()) {
            why = a + " needs a value";
            return OptionTaken::Bad;
        }
        if (a == "--pdf") {
            out.pdf = words[++i];
        } else if (a == "--paper") {
            const std::string& v = words[++i];
            const std::optional<Paper> paper = parsePaper(v);
            if (!paper) {
                why = "--paper \"" + v + "\" is not A4, A5, Letter or Legal";
                return OptionTaken::Bad;
            }
            out.paper.size = *paper;
        } else if (a == "--landscape") {
            out.paper.landscape = true;
        } else {
            return OptionTaken::No;
        }
        return OptionTaken::Yes;
    };
    if (!parseMonthArgs(args, out, own, kUsage, error)) {
        return false;
    }
    if (out.pdf.empty()) {
        error = kUsage;
        return false;
    }
    return true;
}

} // namespace

int summaryCommandOn(const std::vector<std::string>& args, int year, int monthIndex) {
    SummaryArgs parsed;
    GroupMonth group;
    const int status = startMonthCommand(kName, args, year, monthIndex, parseArgs, parsed, group);
    if (status != kExitOk) {
        return status;
    }
    group.store.language = CurrentLayoutLanguage();
    std::string error;
    if (!WriteSummaryPdf(group.store, group.month, group.newForm, parsed.pdf, &error,
                         parsed.paper)) {
        reportError(kName, error);
        return kExitFailed;
    }
    return kExitOk;
}

int summaryCommand(const std::vector<std::string>& args) {
    return runToday(summaryCommandOn, args);
}

} // namespace zadw::tool
