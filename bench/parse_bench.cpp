// Throughput of the tokenizer and of the table parser over a generated text
// of about 10 MB, with the process's peak resident memory as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "bench/DocumentGenerator.h"
#include "language/StringStream.h"
#include "language/TableParser.h"

namespace {

constexpr std::size_t kDocumentBytes = 10 * 1024 * 1024;

const std::string& document() {
    static const std::string text = qv::bench::generateTables(kDocumentBytes);
    return text;
}

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_Tokenize(benchmark::State& state) {
    qv::StringPointer text = qv::str(document());
    for (auto _ : state) {
        auto stream = qv::make<qv::StringStream>(text);
        std::size_t tokens = 0;
        while (stream->next()->code() != qv::kEnd)
            ++tokens;
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document().size()));
    state.counters["peak_MB"] = peakResidentMegabytes();
}
BENCHMARK(BM_Tokenize)->Unit(benchmark::kMillisecond);

void BM_ParseTables(benchmark::State& state) {
    qv::StringPointer text = qv::str(document());
    for (auto _ : state) {
        auto stream = qv::make<qv::StringStream>(text);
        std::size_t tables = 0;
        while (stream->peek()->isWord("table")) {
            benchmark::DoNotOptimize(qv::make<qv::TableParser>()->parseTable(stream));
            ++tables;
        }
        benchmark::DoNotOptimize(tables);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document().size()));
    state.counters["peak_MB"] = peakResidentMegabytes();
}
BENCHMARK(BM_ParseTables)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
