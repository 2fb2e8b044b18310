// SPDX-License-Identifier: GPL-3.0-or-later
// Load and save of the largest group a file can hold: 127 publishers with every text field full
// and twelve months of reports, and 254 remarks.

#include "KeepingReporter.h"
#include "LargestGroup.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace zadw;
using zadw::bench::QuietSink;

std::filesystem::path gFolder;

std::string groupPath() {
    return (gFolder / "grupp.z08").string();
}
std::string savePath() {
    return (gFolder / "grupp.z18").string();
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

// Targets for a 2-core machine; they are shown, not enforced.
const zadw::bench::Target kTargets[] = {{"load", 50e-6, "us"},
                                        {"save_without_fsync", 100e-6, "us"}};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    return zadw::bench::runOnLargestGroup(gFolder, kTargets);
}
