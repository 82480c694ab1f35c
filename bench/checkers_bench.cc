// Reading payment files back: a SEPA direct-debit document and a DTAUS transfer file of 10,000
// and 100,000 payments, written once by the generation run's writers to a temporary file and
// then checked per iteration.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "generation/dtaus_writer.h"
#include "generation/sepa_document.h"
#include "lastora/class1.h"
#include "support/payment_samples.h"

namespace lastora {
namespace {

std::string TempFile(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("lastora-bench-" + name)).string();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Written once per size and process; removed when the process ends.
class SampleFiles {
 public:
  ~SampleFiles() {
    for (const auto& [key, path] : paths_) std::filesystem::remove(path);
  }
  const std::string& Sepa(int payments) {
    return Get("sepa-" + std::to_string(payments) + ".xml", [payments] {
      generation::SepaDocument document(generation::SepaKindFor("Basislastschrift"),
                                        static_cast<size_t>(payments));
      for (int i = 1; i <= payments; ++i) {
        const testing::SamplePayment p = testing::NumberedPayment(i);
        document.Append({p.reference, 1000 + i % 5000, p.bic, p.name, p.iban, p.remittance,
                         p.mandate, p.mandate_date});
      }
      return document.Text({"MSG-2013-10-FRST", "PII-2013-10-FRST", "2013-09-03T09:05:07Z",
                            "2013-10-01", "FRST", "TSV Beispiel e.V.", "DE89370400440532013000",
                            "COBADEFFXXX", "DE98ZZZ09999999999"});
    });
  }
  const std::string& Dtaus(int payments) {
    return Get("dtaus-" + std::to_string(payments) + ".txt", [payments] {
      const auto field = [](const std::string& text) { return testing::DtausText(text, 27); };
      generation::DtausWriter writer(generation::SepaKindFor("Basislastschrift"),
                                     {field("TSV BEISPIEL"), "16050000", "3503007767"});
      for (int i = 1; i <= payments; ++i) {
        const std::string n = std::to_string(i);
        writer.Append({"37040044",
                       "0532013000",
                       1000 + i % 5000,
                       field("MITGLIED " + n),
                       {field("BEITRAG 2013"), field("MANDATSREFERENZ M-" + n)}});
      }
      return writer.Finish("0000000001", "030913", "01102013").transfer;
    });
  }

 private:
  template <typename Make>
  const std::string& Get(const std::string& name, Make make) {
    auto found = paths_.find(name);
    if (found != paths_.end()) return found->second;
    const std::string path = TempFile(name);
    WriteFile(path, make());
    return paths_.emplace(name, path).first->second;
  }
  std::map<std::string, std::string> paths_;
};

SampleFiles& Samples() {
  static SampleFiles samples;
  return samples;
}

// One checker call per iteration on the sample file of state.range(0) payments.
template <typename Check>
void RunChecker(benchmark::State& state, const std::string& file, Check check) {
  const int payments = static_cast<int>(state.range(0));
  Class1 c1;
  for (auto _ : state) {
    VariantArray vars(206);
    Table values, colours;
    const std::string result = check(c1, vars, values, colours);
    if (result != "ok" || values.RowCount() != payments) state.SkipWithError(result.c_str());
    benchmark::DoNotOptimize(values);
    // Releasing the caller's tables (some 90 MB of cells at 100,000 payments) is the caller's
    // business.
    state.PauseTiming();
    values = Table();
    colours = Table();
    state.ResumeTiming();
  }
  state.counters["payments"] = payments;
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

void BM_SepaChecker(benchmark::State& state) {
  const std::string& file = Samples().Sepa(static_cast<int>(state.range(0)));
  RunChecker(state, file, [&](Class1& c1, VariantArray& vars, Table& values, Table& colours) {
    Table blz_intern, blz_new;
    return c1.ext_SEPA_Checker(vars, values, colours, blz_intern, blz_new, file, "-");
  });
}

void BM_DtausChecker(benchmark::State& state) {
  const std::string& file = Samples().Dtaus(static_cast<int>(state.range(0)));
  RunChecker(state, file, [&](Class1& c1, VariantArray& vars, Table& values, Table& colours) {
    Table unused;
    return c1.ext_DTAUS_Checker(vars, values, colours, unused, unused, file, false);
  });
}

// Both checkers use a second core for their result tables: wall time and the whole process's
// CPU time are reported.
BENCHMARK(BM_SepaChecker)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_DtausChecker)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace
}  // namespace lastora
BENCHMARK_MAIN();
