// SPDX-License-Identifier: GPL-3.0-or-later
// zadw-tool summary: the printed summary list of a group file as a PDF, without a window.

#include "ReportRules.h"
#include "Strings.h"
#include "SummaryPdf.h"
#include "ToolSupport.h"

#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zadw::tool {

int summaryCommand(const std::vector<std::string>& args);
int summaryCommandOn(const std::vector<std::string>& args, int year, int monthIndex);

namespace {

constexpr const char* kName = "summary";

struct SummaryArgs {
    std::string file;
    std::optional<int> month; // 0..11
    std::optional<bool> newForm;
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
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool isOption = a == "--pdf" || a == "--paper";
        if (isOption && i + 1 >= args.size()) {
            error = a + " needs a value";
            return false;
        }
        switch (takeMonthOrForm(args, i, out.month, out.newForm, error)) {
        case OptionTaken::Bad:
            return false;
        case OptionTaken::Yes:
            continue;
        case OptionTaken::No:
            break;
        }
        if (a == "--pdf") {
            out.pdf = args[++i];
        } else if (a == "--paper") {
            const std::string& v = args[++i];
            const std::optional<Paper> paper = parsePaper(v);
            if (!paper) {
                error = "--paper \"" + v + "\" is not A4, A5, Letter or Legal";
                return false;
            }
            out.paper.size = *paper;
        } else if (a == "--landscape") {
            out.paper.landscape = true;
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option \"" + a + "\"";
            return false;
        } else if (out.file.empty()) {
            out.file = a;
        } else {
            error = "more than one group file given";
            return false;
        }
    }
    if (out.file.empty() || out.pdf.empty()) {
        error = "expects FILE [--month M] [--form new|old] [--paper A4|A5|Letter|Legal] "
                "[--landscape] --pdf OUT";
        return false;
    }
    return true;
}

} // namespace

int summaryCommandOn(const std::vector<std::string>& args, int year, int monthIndex) {
    SummaryArgs parsed;
    std::string error;
    if (!parseArgs(args, parsed, error)) {
        reportError(kName, error);
        return kExitBadInput;
    }
    StderrSink sink;
    GroupStore store(sink);
    const int status = loadWholeGroup(store, parsed.file);
    if (status != kExitOk) {
        return status;
    }
    store.language = CurrentLayoutLanguage();
    const int month = parsed.month.value_or(store.reportMonth);
    const bool newForm = parsed.newForm.value_or(NewFormAtStart(year, monthIndex, month));
    if (!WriteSummaryPdf(store, month, newForm, parsed.pdf, &error, parsed.paper)) {
        reportError(kName, error);
        return kExitFailed;
    }
    return kExitOk;
}

int summaryCommand(const std::vector<std::string>& args) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return summaryCommandOn(args, local.tm_year + 1900, local.tm_mon);
}

} // namespace zadw::tool
