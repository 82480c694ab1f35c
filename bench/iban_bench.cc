// Check digits per second over the registry examples (budget: 5 million per second).
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "lastora/class1.h"

namespace {

std::vector<std::string> RegistryIbans() {
  std::ifstream in(std::string(LASTORA_TESTDATA_DIR) + "/iban/valid-ibans.txt");
  std::vector<std::string> ibans;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) ibans.push_back(line);
  }
  return ibans;
}

void BM_CheckDigits(benchmark::State& state) {
  const std::vector<std::string> ibans = RegistryIbans();
  if (ibans.empty()) {
    state.SkipWithError("no IBANs in the test data");
    return;
  }
  lastora::Class1 c;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c.getPruefziffer(ibans[i]));
    if (++i == ibans.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CheckDigits);

void BM_ValidateGermanIban(benchmark::State& state) {
  lastora::Class1 c;
  const std::string iban = "DE89370400440532013000";
  for (auto _ : state) benchmark::DoNotOptimize(c.Get_IBAN(iban));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ValidateGermanIban);

}  // namespace

BENCHMARK_MAIN();
