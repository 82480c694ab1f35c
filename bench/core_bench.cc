// Per-cell conversions as the runs call them for every row of a large member table.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "lastora/variant.h"

namespace lastora {
namespace {

const std::vector<Variant>& AmountTexts() {
  static const std::vector<Variant> texts = {"1.234,56", "12,5", " 7 ", "-0,01", "99999,99"};
  return texts;
}

void BM_CDblOfText(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(CDbl(AmountTexts()[i++ % 5]));
}
BENCHMARK(BM_CDblOfText);

void BM_IsNumericOfText(benchmark::State& state) {
  const Variant text("Mustermann");
  for (auto _ : state) benchmark::DoNotOptimize(IsNumeric(text));
}
BENCHMARK(BM_IsNumericOfText);

// Amounts as they come from cells (cents divided by 100) and as sums leave them (long binary
// fractions such as 0.1 + 0.2).
double Amount(int64_t i, bool summed) {
  const double cents = static_cast<double>(i % 1000000) / 100.0;
  return summed ? cents + 0.1 + 0.2 : cents;
}

void BM_CStrOfDouble(benchmark::State& state) {
  int64_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(CStr(Amount(++i, state.range(0) != 0)));
}
BENCHMARK(BM_CStrOfDouble)->Arg(0)->Arg(1);

void BM_FormatAmount(benchmark::State& state) {
  int64_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(Format(Amount(++i, state.range(0) != 0), "0.00"));
}
BENCHMARK(BM_FormatAmount)->Arg(0)->Arg(1);

void BM_CDateOfText(benchmark::State& state) {
  const Variant text("01.10.2013");
  for (auto _ : state) benchmark::DoNotOptimize(CDate(text));
}
BENCHMARK(BM_CDateOfText);

void BM_FormatDate(benchmark::State& state) {
  const Variant date = Variant::Date(41548.5);
  for (auto _ : state) benchmark::DoNotOptimize(Format(date, "YYYY-MM-DD"));
}
BENCHMARK(BM_FormatDate);

void BM_ToWindows1252(benchmark::State& state) {
  const std::string line = "Müller, Jörg; Beitrag 2013 — 12,50 € Straße 7\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(text::ToWindows1252(line));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_ToWindows1252);

void BM_MidOfUmlautText(benchmark::State& state) {
  const std::string name = "Bäckerei Müßiggang GmbH & Co. KG Zweigstelle Süd";
  for (auto _ : state) benchmark::DoNotOptimize(text::Mid(name, 10, 27));
}
BENCHMARK(BM_MidOfUmlautText);

}  // namespace
}  // namespace lastora

BENCHMARK_MAIN();
