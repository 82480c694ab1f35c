// The processing run over a large member table: cleaning, contributions, merges, amounts,
// sequence types, remittance lines and mandate checks, row for row.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "lastora/class1.h"
#include "lastora/settings.h"
#include "lastora/table.h"
#include "lastora/variant.h"
#include "support/club_settings.h"

namespace lastora {
namespace {

constexpr int32_t kColumns = 29;

// Every switch that costs work on: merging, warnings, limits and four remittance lines.
SEPAVARIABLEN ClubSettings() {
  SEPAVARIABLEN settings = testing::ClubProcessingSettings();
  settings.SepaFuncCOLL.Value = "Sammeln";
  settings.SepaFuncWARN.Value = "warnen";
  settings.SepaFuncBMAX.Value = "500";
  settings.SepaFuncBMIN.Value = "1";
  settings.SepaFuncVER2.Value = "Mandat-ID";
  settings.SepaFuncVER3.Value = "Mitgliedsname und Einzelbetrag";
  settings.SepaFuncVER4.Value = "Vielen Dank";
  return settings;
}

// A club as it comes: every tenth member shares the account of the one before (family), every
// seventh has an umlaut, some joined or left during the year, most were collected before.
Table MemberTable(int32_t rows) {
  Table table(rows, kColumns);
  for (int32_t row = 1; row <= rows; ++row) {
    const int32_t account = row % 10 == 0 ? row - 1 : row;
    const std::string name =
        (row % 7 == 0 ? "Jürgen Müller " : "Anna Schmidt ") + std::to_string(row);
    table(row, 1) = Variant(static_cast<double>(row));
    table(row, 3) = Variant(name);
    table(row, 4) = Variant("DE" + std::to_string(10000000000000000000ull + account));
    table(row, 5) = Variant("COBADEFFXXX");
    table(row, 10) = Variant("MANDAT-" + std::to_string(row));
    table(row, 11) = Variant::Date(MakeDate(2010, 1, 1));
    table(row, 17) = Variant(row % 3 == 0 ? 60.0 : 120.0);
    if (row % 11 == 0) table(row, 18) = Variant::Date(MakeDate(2013, 1 + row % 12, 15));
    if (row % 13 == 0) table(row, 19) = Variant::Date(MakeDate(2013, 1 + row % 12, 10));
    if (row % 4 != 0) table(row, 20) = Variant::Date(MakeDate(2011, 3, 1));
    if (row % 17 == 0) table(row, 14) = Variant(12.5);
    table(row, 21) = Variant(name);
  }
  return table;
}

void BM_ProcessMemberTable(benchmark::State& state) {
  const auto rows = static_cast<int32_t>(state.range(0));
  const Table members = MemberTable(rows);
  const SEPAVARIABLEN settings = ClubSettings();
  Class1 object;
  Table values;
  Table colours;
  VariantArray aVariablen;
  for (auto _ : state) {
    // Copies and the release of the previous tables stay outside the measured time.
    state.PauseTiming();
    values = members;
    colours = Table(rows, kColumns);
    RecordToVariablen(aVariablen, settings);
    state.ResumeTiming();
    const std::string result = object.ext_SEPA_Bearbeitung(aVariablen, values, colours);
    if (result != "ok") state.SkipWithError(result.c_str());
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ProcessMemberTable)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lastora

BENCHMARK_MAIN();
