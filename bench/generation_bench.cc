// The generation run on a large club: direct debits written as SEPA XML (with list, cover
// sheet and well-formedness check) and as DTAUS, at two sizes to show linear growth (budgets
// at 100,000 payments: 0.6 s for SEPA, 0.3 s for DTAUS); and what the bank's schema check of
// the written document adds to a generation (budget 0.4 s at 100,000 payments).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "generation_input.h"
#include "lastora/class1.h"
#include "lastora/schema_check.h"
#include "lastora/settings.h"
#include "lastora/table.h"
#include "lastora/variant.h"

namespace lastora {
namespace {

std::filesystem::path BenchFolder() {
  return std::filesystem::temp_directory_path() / "lastora-generation-bench";
}

void RunGeneration(benchmark::State& state, bool dtaus) {
  const auto folder = BenchFolder();
  const Table payments = Payments(static_cast<int32_t>(state.range(0)));
  const SEPAVARIABLEN settings = ClubSettings();
  Class1 object;
  Table rows;
  Table colours;
  VariantArray aVariablen;
  for (auto _ : state) {
    // Each call gets the club's tables as the workbook hands them over and an empty folder;
    // releasing the last call's tables and files is not part of the run.
    state.PauseTiming();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    rows = payments;
    colours = Table(rows.RowCount(), 27);
    RecordToVariablen(aVariablen, settings);
    state.ResumeTiming();
    const std::string result =
        object.ext_SEPA_Erzeugung(aVariablen, rows, colours, folder.string() + "/", dtaus);
    if (result != "ok") state.SkipWithError(result.c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove_all(folder);
}

void BM_SepaDirectDebits(benchmark::State& state) { RunGeneration(state, /*dtaus=*/false); }

void BM_SchemaVerdict(benchmark::State& state) {
  const auto folder = BenchFolder();
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  Table rows = Payments(static_cast<int32_t>(state.range(0)));
  Table colours(rows.RowCount(), 27);
  VariantArray aVariablen;
  RecordToVariablen(aVariablen, ClubSettings());
  Class1 object;
  const std::string written =
      object.ext_SEPA_Erzeugung(aVariablen, rows, colours, folder.string() + "/", false);
  const std::string document = (folder / "SEPA_2013-10-01_FRST.xml").string();
  for (auto _ : state) {
    const std::string verdict = written == "ok" ? SchemaVerdict(document) : written;
    if (verdict != "ok") state.SkipWithError(verdict.c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove_all(folder);
}
void BM_DtausDirectDebits(benchmark::State& state) { RunGeneration(state, /*dtaus=*/true); }

BENCHMARK(BM_SepaDirectDebits)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchemaVerdict)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DtausDirectDebits)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lastora

BENCHMARK_MAIN();
