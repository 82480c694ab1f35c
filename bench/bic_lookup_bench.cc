// 100,000 result rows looked up against the full Bundesbank table (budget: 0.2 s).
#include <benchmark/benchmark.h>

#include <string>

#include "lastora/class1.h"

namespace {

constexpr int32_t kRows = 100000;

void BM_CheckBic100kRows(benchmark::State& state) {
  lastora::Class1 c;
  c.settings().ProgBLZ_File.Value =
      std::string(LASTORA_TESTDATA_DIR) + "/blz/bundesbank-blz_20200420.txt";
  lastora::Table bank_codes;
  if (!c.Check_BLZ_File(bank_codes)) {
    state.SkipWithError("bank-code file not loaded");
    return;
  }
  // Every row a different bank than the one before, so the previous-code shortcut never helps.
  lastora::Table rows(kRows, 27);
  for (int32_t r = 1; r <= kRows; ++r) {
    const int32_t source = 1 + (r * 7919) % bank_codes.RowCount();
    rows(r, 23) = bank_codes(source, 1);
    rows(r, 24) = lastora::Variant("DE");
  }
  lastora::SEPAVARIABLEN settings;
  lastora::Table no_new;
  for (auto _ : state) {
    state.PauseTiming();
    lastora::Table values = rows;
    lastora::Table colours(kRows, 27);
    state.ResumeTiming();
    const std::string result =
        c.Check_BIC(1, 23, 8, 5, "intern", settings, values, colours, bank_codes, no_new);
    if (result != "ok") state.SkipWithError(("lookup failed: " + result).c_str());
    benchmark::DoNotOptimize(values);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_CheckBic100kRows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
