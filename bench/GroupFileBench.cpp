// Load and save of the largest group a file can hold: 127 publishers with every text field full
// and twelve months of reports, and 254 remarks.

#include "CodePage.h"
#include "GroupRecord.h"
#include "GroupStore.h"
#include "MessageSink.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace zadw;

class QuietSink : public MessageSink {
public:
    MsgAnswer show(const std::string& text, MsgButtons, MsgIcon) override {
        ++shown;
        last = text;
        return MsgAnswer::Ok;
    }
    int shown = 0;
    std::string last;
};

std::filesystem::path gFolder;

std::string groupPath() {
    return (gFolder / "grupp.z08").string();
}
std::string savePath() {
    return (gFolder / "grupp.z18").string();
}

// Pads text with letters to exactly `chars` characters, so every field is full.
std::string full(std::string text, int chars, int seed) {
    while (static_cast<int>(utf8Length(text)) < chars) {
        text += static_cast<char>('a' + (seed++ % 26));
    }
    return text;
}

void put(GroupRecord& rec, TextField f, const std::string& text) {
    std::string error;
    if (!setTextField(rec, f, text, &error)) {
        std::fprintf(stderr, "%s: %s\n", textFieldName(f), error.c_str());
        std::exit(1);
    }
}

GroupRecord publisher(int p) {
    static const char* const first[] = {"Åsa", "Björn", "Märta", "Örjan", "Karin", "Sven"};
    static const char* const last[] = {"Öberg", "Lindström", "Åkesson", "Ekholm", "Nyström"};
    GroupRecord r{};
    put(r, TextField::FirstName, full(std::string(first[p % 6]) + " ", 20, p));
    put(r, TextField::LastName, full(std::string(last[p % 5]) + "-", 20, p + 7));
    put(r, TextField::Email,
        full("forkunnare" + std::to_string(p) + ".", 38, p) + "@forsamlingen.example.se");
    put(r, TextField::Phone1, "08-" + std::to_string(10000000000LL + p));
    put(r, TextField::Phone2, "+46701" + std::to_string(100000000 + p));
    put(r, TextField::Phone3, "+46702" + std::to_string(200000000 + p));
    r.groupNumber = 7;
    r.appointment = static_cast<std::uint8_t>(p % 4);
    std::uint16_t newForm = 0;
    for (int m = 0; m < 12; ++m) {
        r.monthStatus[m] = static_cast<std::uint8_t>((p + m) % 4);
        r.hours[m] = static_cast<std::uint8_t>(10 + (p * 7 + m) % 90);
        r.quarterHours[m] = static_cast<std::uint8_t>(m % 4);
        r.creditHours[m] = r.category(m) == 2 ? static_cast<std::uint8_t>(m + 1) : 0;
        if (m >= 8) {
            GroupStore::setNewFormMonth(newForm, m, true);
            packNewForm(r, m, {static_cast<std::uint16_t>(p * 3 + m), 4, 12, 3});
        } else {
            packOldForm(r, m, {5, static_cast<std::uint16_t>(300 + p), 0, 900, 14, 2});
        }
    }
    r.setNewFormMonthsValue(newForm);
    // Two remarks per publisher: 127 x 2 = 254 slots, all of them in use.
    r.remarkSlot[2] = static_cast<std::uint8_t>(2 * p - 1);
    r.remarkSlot[9] = static_cast<std::uint8_t>(2 * p);
    r.lateFlag(1) = 1;
    r.lateFlag(8) = 1;
    return r;
}

bool writeLargestGroup() {
    GroupRecord header{};
    put(header, TextField::Email, "sekreteraren@forsamlingen.example.se");
    header.groupNumber = 7;
    header.reportMonth = 4;
    std::vector<GroupRecord> publishers;
    for (int p = 1; p <= kMaxPublishers; ++p) {
        publishers.push_back(publisher(p));
    }
    std::vector<RemarkSlot> remarks(kMaxRemarkSlots);
    for (int k = 0; k < kMaxRemarkSlots; ++k) {
        const std::string text =
            full("Anteckning " + std::to_string(k + 1) + ": ", kMaxRemarkChars, k);
        text.copy(remarks[static_cast<std::size_t>(k)].text, text.size());
    }
    QuietSink sink;
    GroupStore store(sink);
    store.assign(header, publishers, remarks);
    store.setDurableWrites(false);
    if (!store.saveGroupFile(groupPath())) {
        std::fprintf(stderr, "cannot write the test group: %s\n", sink.last.c_str());
        return false;
    }
    return true;
}

bool loadedWhole(const GroupStore& store) {
    return store.lastLoadStatus() == LoadStatus::Loaded && store.publisherCount == kMaxPublishers &&
           store.remarkCount == kMaxRemarkSlots;
}

void BM_Load(benchmark::State& state) {
    QuietSink sink;
    GroupStore store(sink);
    for (auto _ : state) {
        store.loadGroupFile(groupPath());
        benchmark::DoNotOptimize(store.record(kMaxPublishers));
    }
    if (!loadedWhole(store)) {
        state.SkipWithError("the group did not load whole");
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(groupPath())));
}

void save(benchmark::State& state, bool durable) {
    QuietSink sink;
    GroupStore store(sink);
    store.loadGroupFile(groupPath());
    if (!loadedWhole(store)) {
        state.SkipWithError("the group did not load whole");
        return;
    }
    store.setDurableWrites(durable);
    bool ok = true;
    for (auto _ : state) {
        ok = store.saveGroupFile(savePath()) && ok;
    }
    if (!ok) {
        state.SkipWithError(("saving failed: " + sink.last).c_str());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(savePath())));
}

void BM_Save(benchmark::State& state) {
    save(state, true);
}
void BM_SaveNoSync(benchmark::State& state) {
    save(state, false);
}

BENCHMARK(BM_Load)->Name("load")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Save)->Name("save")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveNoSync)->Name("save_without_fsync")->Unit(benchmark::kMicrosecond);

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

void printTargets(const KeepingReporter& reporter) {
    // Targets for a 2-core machine; they are shown, not enforced.
    const struct {
        const char* name;
        double microseconds;
    } targets[] = {{"load", 50}, {"save_without_fsync", 100}};
    std::FILE* out = reporter.console() ? stdout : stderr;
    bool header = false;
    for (const auto& t : targets) {
        const double seconds = reporter.secondsPerIteration(t.name);
        if (seconds < 0) {
            continue;
        }
        if (!header) {
            std::fprintf(out, "\nTargets:\n");
            header = true;
        }
        const double us = seconds * 1e6;
        std::fprintf(out, "  %-20s %9.1f us   target < %.0f us   %s\n", t.name, us, t.microseconds,
                     us < t.microseconds ? "met" : "MISSED");
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    std::string tmpl = (std::filesystem::temp_directory_path() / "zadw-bench-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    gFolder = tmpl;
    int rc = 1;
    if (writeLargestGroup()) {
        KeepingReporter reporter(benchmark::CreateDefaultDisplayReporter());
        benchmark::RunSpecifiedBenchmarks(&reporter);
        printTargets(reporter);
        rc = 0;
    }
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(gFolder, ec);
    return rc;
}
