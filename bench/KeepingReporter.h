// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A benchmark reporter that also keeps each benchmark's time, so a program can print its figures
// against their targets after the usual report.

#include <benchmark/benchmark.h>

#include "LargestGroup.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace zadw::bench {

// Shows the usual report and keeps each benchmark's time per iteration for the summary: the mean
// of its runs, or the "mean" aggregate when repetitions report only aggregates.
class KeepingReporter : public benchmark::BenchmarkReporter {
public:
    explicit KeepingReporter(benchmark::BenchmarkReporter* shown) : shown_(shown) {}
    bool ReportContext(const Context& context) override { return shown_->ReportContext(context); }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0) {
                continue;
            }
            const double seconds =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            Time& t = times_[run.run_name.function_name];
            if (run.run_type == Run::RT_Iteration) {
                t.runSeconds += seconds;
                ++t.runs;
            } else if (run.aggregate_name == "mean") {
                t.meanSeconds = seconds;
            }
        }
        shown_->ReportRuns(runs);
    }
    void Finalize() override { shown_->Finalize(); }
    // JSON or CSV on standard output must stay parseable, so the summary then goes elsewhere.
    bool console() const { return dynamic_cast<benchmark::ConsoleReporter*>(shown_) != nullptr; }

    // Seconds per iteration, or a negative value when the benchmark did not run.
    double secondsPerIteration(const std::string& name) const {
        const auto it = times_.find(name);
        if (it == times_.end()) {
            return -1;
        }
        const Time& t = it->second;
        return t.meanSeconds >= 0 ? t.meanSeconds : t.runs > 0 ? t.runSeconds / t.runs : -1;
    }

private:
    struct Time {
        double runSeconds = 0;
        int runs = 0;
        double meanSeconds = -1;
    };
    benchmark::BenchmarkReporter* shown_;
    std::map<std::string, Time> times_;
};

struct Target {
    const char* name;
    double seconds;   // the figure should stay below this
    const char* unit; // "us" or "ms"
};

// Prints "Targets:" and one line per benchmark that ran; shown, never enforced.
inline void printTargets(const KeepingReporter& reporter, std::span<const Target> targets) {
    std::FILE* out = reporter.console() ? stdout : stderr;
    bool header = false;
    for (const Target& t : targets) {
        const double seconds = reporter.secondsPerIteration(t.name);
        if (seconds < 0) {
            continue;
        }
        if (!header) {
            std::fprintf(out, "\nTargets:\n");
            header = true;
        }
        const double scale = std::string(t.unit) == "ms" ? 1e3 : 1e6;
        std::fprintf(out, "  %-20s %9.1f %s   target < %.0f %s   %s\n", t.name, seconds * scale,
                     t.unit, t.seconds * scale, t.unit, seconds < t.seconds ? "met" : "MISSED");
    }
}

// Writes the largest group as folder/grupp.z08 into a fresh scratch folder, runs the registered
// benchmarks, prints their figures against the targets and removes the folder again.
inline int runOnLargestGroup(std::filesystem::path& folder, std::span<const Target> targets) {
    folder = makeScratchFolder();
    if (folder.empty()) {
        return 1;
    }
    int rc = 1;
    std::string error;
    if (writeLargestGroup((folder / "grupp.z08").string(), error)) {
        KeepingReporter reporter(benchmark::CreateDefaultDisplayReporter());
        benchmark::RunSpecifiedBenchmarks(&reporter);
        printTargets(reporter, targets);
        rc = 0;
    } else {
        std::fprintf(stderr, "cannot write the test group: %s\n", error.c_str());
    }
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return rc;
}

} // namespace zadw::bench
