// SPDX-License-Identifier: GPL-3.0-or-later
// One program for the report-entry tests. Each class runs in turn; a first argument naming a
// class runs only that one, with the rest of the arguments.
#include <QApplication>
#include <cstring>

int runReportEntryDlgTest(int argc, char** argv);
int runReportEntryRemarkTest(int argc, char** argv);
int runReportEntryMonthTest(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const struct {
        const char* name;
        int (*run)(int, char**);
    } classes[] = {
        {"ReportEntryDlgTest", runReportEntryDlgTest},
        {"ReportEntryRemarkTest", runReportEntryRemarkTest},
        {"ReportEntryMonthTest", runReportEntryMonthTest},
    };
    for (const auto& c : classes) {
        if (argc > 1 && std::strcmp(argv[1], c.name) == 0) {
            argv[1] = argv[0];
            return c.run(argc - 1, argv + 1);
        }
    }
    int failed = 0;
    for (const auto& c : classes) {
        failed += c.run(argc, argv);
    }
    return failed;
}
