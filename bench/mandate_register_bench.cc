// The mandate register on a large club: recording a run of 100,000 collections (new mandates,
// then a second run on the same mandates), filling a 100,000-row member table from it, and the
// look for repeated collections before a run. The budget for recording is a fifth of writing
// the files (0.6 s for 100,000 SEPA payments).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "lastora/mandate_register.h"
#include "lastora/payment_table.h"
#include "lastora/variant.h"
#include "workbook/register_samples.h"

namespace lastora::mandate_register {
namespace {

using ::lastora::testing::ManyCollections;
using ::lastora::testing::SampleRun;

// A fresh register file in a folder of its own, removed afterwards.
class ScratchRegister {
 public:
  ScratchRegister() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lastora-bench-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
  }
  ~ScratchRegister() { std::filesystem::remove_all(folder_); }
  std::string File() const { return folder_ + "/lastora.db"; }

 private:
  std::string folder_;
};

void BM_RecordRun(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const bool known_mandates = state.range(1) != 0;
  const auto first = ManyCollections(0, rows, "2026-11-02");
  const auto second = ManyCollections(0, rows, "2026-12-01");
  for (auto _ : state) {
    state.PauseTiming();
    ScratchRegister scratch;
    Register reg = Register::Open(scratch.File());
    if (known_mandates) reg.RecordRun(SampleRun("MSG-0", "PMT-0"), first);
    state.ResumeTiming();
    benchmark::DoNotOptimize(reg.RecordRun(SampleRun("MSG-1", "PMT-1"), second));
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_RecordRun)
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_ApplyToTable(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ScratchRegister scratch;
  Register reg = Register::Open(scratch.File());
  reg.RecordRun(SampleRun("MSG-0", "PMT-0"), ManyCollections(0, rows, "2026-11-02"));
  for (auto _ : state) {
    state.PauseTiming();
    Table values(rows, payment_table::kColumnCount);
    for (int row = 1; row <= rows; ++row) {
      values(row, payment_table::kMandateId) = Variant("M" + std::to_string(row - 1));
      values(row, payment_table::kIban) = Variant("DE02120300000000202051");
    }
    state.ResumeTiming();
    const TableOutcome outcome = reg.ApplyToTable(values, MakeDate(2026, 12, 7));
    if (outcome.dates_from_register != rows) state.SkipWithError("rows not filled");
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ApplyToTable)->Arg(100000)->Unit(benchmark::kMillisecond);

// The look for members debited twice on one day, as every generation asks it: the usual next
// month, where nobody was collected yet.
void BM_FindRepeats(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ScratchRegister scratch;
  Register reg = Register::Open(scratch.File());
  reg.RecordRun(SampleRun("MSG-0", "PMT-0"), ManyCollections(0, rows, "2026-11-02"));
  std::vector<std::string> planned;
  for (int i = 0; i < rows; ++i) planned.push_back("M" + std::to_string(i));
  for (auto _ : state) {
    if (!reg.FindRepeats(planned, "2026-12-01").empty()) state.SkipWithError("repeat found");
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_FindRepeats)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lastora::mandate_register

BENCHMARK_MAIN();
