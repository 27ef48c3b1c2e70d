// keepDigits per record on the library backend, the baseline of the automation object measured under Wine.
#include <benchmark/benchmark.h>

#include "bench/data_page.h"
#include "textutil/extract_all_between.h"
#include "textutil/keep_digits.h"

namespace {

void BM_KeepDigitsLibrary(benchmark::State& state) {
    const ExtractionResult records = extractAllBetween(dataPage(100), kTimeLeft, kTimeRight);
    for (auto _ : state) {
        for (const Text& record : records.texts) benchmark::DoNotOptimize(keepDigits(record));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * records.texts.size()));
}

}  // namespace

BENCHMARK(BM_KeepDigitsLibrary)->Unit(benchmark::kMicrosecond);
