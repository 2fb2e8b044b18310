// SPDX-License-Identifier: GPL-3.0-or-later
// The printed summary list of the largest group written as a PDF, in process, against a PDF of
// one empty page made the same way (the floor: the writer and the file, no list).

#include "KeepingReporter.h"
#include "LargestGroup.h"
#include "SummaryPdf.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using namespace zadw;
using zadw::bench::QuietSink;

constexpr int kNovember = 10;

std::filesystem::path gFolder;

std::string groupPath() {
    return (gFolder / "grupp.z08").string();
}
std::string pdfPath() {
    return (gFolder / "lista.pdf").string();
}

void BM_SummaryPdf(benchmark::State& state) {
    QuietSink sink;
    GroupStore store(sink);
    store.loadGroupFile(groupPath());
    if (store.publisherCount != kMaxPublishers) {
        state.SkipWithError("the group did not load whole");
        return;
    }
    std::string error;
    bool ok = true;
    for (auto _ : state) {
        ok = WriteSummaryPdf(store, kNovember, true, pdfPath(), &error) && ok;
    }
    if (!ok) {
        state.SkipWithError(("no PDF: " + error).c_str());
        return;
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(pdfPath()));
}

void BM_EmptyPagePdf(benchmark::State& state) {
    bool ok = true;
    for (auto _ : state) {
        QSaveFile file(QString::fromStdString(pdfPath()));
        ok = file.open(QIODevice::WriteOnly) && ok;
        {
            QPdfWriter writer(&file);
            writer.setResolution(600);
            writer.setPageSize(QPageSize(QPageSize::A4));
            QPainter painter;
            ok = painter.begin(&writer) && ok;
            painter.end();
        }
        ok = file.commit() && ok;
    }
    if (!ok) {
        state.SkipWithError("no PDF");
    }
}

BENCHMARK(BM_SummaryPdf)->Name("summary_pdf_127")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmptyPagePdf)->Name("empty_page_pdf")->Unit(benchmark::kMillisecond);

// Target for a 2-core machine; shown, not enforced.
const zadw::bench::Target kTargets[] = {{"summary_pdf_127", 150e-3, "ms"}};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv); // fonts need one, as in zadw-tool
    return zadw::bench::runOnLargestGroup(gFolder, kTargets);
}
