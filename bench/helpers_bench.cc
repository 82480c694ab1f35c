// The shared helpers as the runs call them: the character cleaners once per member-table cell,
// the row sort over a whole table, and counting and cutting in a whole read-back file.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "component/helpers.h"
#include "lastora/table.h"

namespace lastora {
namespace {

const std::string kPlainCell = "DE89370400440532013000 Mitgliedsbeitrag 2013";
const std::string kUmlautCell = "Jürgen Müller-Lüdenscheidt, Große Straße";

void BM_ReplaceUmlauts(benchmark::State& state) {
  const std::string& cell = state.range(0) != 0 ? kUmlautCell : kPlainCell;
  for (auto _ : state) benchmark::DoNotOptimize(ReplaceUmlauts(cell));
}
BENCHMARK(BM_ReplaceUmlauts)->Arg(0)->Arg(1);

void BM_ReplaceNonAscii(benchmark::State& state) {
  const std::string& cell = state.range(0) != 0 ? kUmlautCell : kPlainCell;
  for (auto _ : state) benchmark::DoNotOptimize(ReplaceNonAscii(cell));
}
BENCHMARK(BM_ReplaceNonAscii)->Arg(0)->Arg(1);

void BM_PadLeft(benchmark::State& state) {
  const Variant value("123456");
  const Variant width(10);
  const Variant fill("0");
  for (auto _ : state) benchmark::DoNotOptimize(PadLeft(value, width, fill));
}
BENCHMARK(BM_PadLeft);

// A member table of 100,000 rows and 28 columns sorted by a name column.
void BM_QuickSortRows(benchmark::State& state) {
  std::mt19937 random(1);
  std::uniform_int_distribution<int> letter(0, 25);
  Table original(100000, 28);
  for (int32_t row = 1; row <= original.RowUpper(); ++row) {
    std::string name;
    for (int i = 0; i < 8; ++i) name.push_back(static_cast<char>('A' + letter(random)));
    original(row, 3) = Variant(name);
    original(row, 8) = Variant(row * 0.5);
  }
  Table table;
  for (auto _ : state) {
    state.PauseTiming();
    table = original;
    state.ResumeTiming();
    int32_t first = 1;
    int32_t last = table.RowUpper();
    int16_t key = 3;
    int16_t direction = 1;
    QuickSortRows(first, last, key, direction, table);
    benchmark::DoNotOptimize(table);
  }
}
BENCHMARK(BM_QuickSortRows)->Unit(benchmark::kMillisecond);

// A read-back file of 100,000 transactions joined into one text.
const std::string& JoinedFile() {
  static const std::string text = [] {
    std::string joined;
    for (int i = 0; i < 100000; ++i) {
      joined += "<DrctDbtTxInf><PmtId><EndToEndId>E2E" + std::to_string(i) +
                "</EndToEndId></PmtId><InstdAmt Ccy=\"EUR\">12.50</InstdAmt></DrctDbtTxInf>";
    }
    return joined;
  }();
  return text;
}

void BM_CountOccurrences(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(CountOccurrences(JoinedFile(), "<DrctDbtTxInf>"));
  }
}
BENCHMARK(BM_CountOccurrences)->Unit(benchmark::kMillisecond);

void BM_SplitToArray(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(SplitToArray(JoinedFile(), "</DrctDbtTxInf>"));
}
BENCHMARK(BM_SplitToArray)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lastora

BENCHMARK_MAIN();
