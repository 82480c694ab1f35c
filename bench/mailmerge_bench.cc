// 1,000 contribution notices from a two-page letter with header, footer and logo, merged by the
// library's own engine and saved, not printed (budget: 5 s, about the time a treasurer waits for
// a progress bar without wondering whether it hangs; a club of 1,000 members is a large one).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "lastora/class1.h"
#include "lastora/office.h"

namespace {

namespace fs = std::filesystem;
constexpr int32_t kLetters = 1000;

void BM_MergeAndSave1000Letters(benchmark::State& state) {
  // The program folder of a club of its own, removed at the end.
  const fs::path folder =
      fs::temp_directory_path() / ("lastora-merge-bench-" + std::to_string(getpid()));
  fs::remove_all(folder);
  setenv("LASTORA_HOME", folder.c_str(), 1);
  struct Remover {
    fs::path path;
    ~Remover() { fs::remove_all(path); }
  } remover{folder};
  const std::string data = std::string(LASTORA_TESTDATA_DIR) + "/mailmerge/";
  fs::create_directories(folder / "Vorlagen");
  fs::create_directories(folder / "Briefe");
  fs::copy_file(data + "Zweiseiter.docx", folder / "Vorlagen" / "Brief.docx");
  fs::copy_file(data + "logo.png", folder / "Vorlagen" / "Lastora_Logo.png");
  const char* titles[] = {"Nr",   "Mitglied",        "Kontoinhaber",
                          "IBAN", "Mandatsreferenz", "Jahresbeitrag"};
  lastora::Table header(1, 6);
  for (int32_t c = 1; c <= 6; ++c) header(1, c) = lastora::Variant(titles[c - 1]);
  lastora::Table members(kLetters, 6);
  for (int32_t r = 1; r <= kLetters; ++r) {
    members(r, 1) = lastora::Variant(std::to_string(r));
    members(r, 2) = lastora::Variant("Mitglied " + std::to_string(r));
    members(r, 3) = lastora::Variant("Kontoinhaber Nummer " + std::to_string(r));
    members(r, 4) = lastora::Variant("DE02120300000000202051");
    members(r, 5) = lastora::Variant("TSVM-" + std::to_string(r));
    members(r, 6) = lastora::Variant("120,00");
  }
  for (auto _ : state) {
    lastora::Table definitions(1, 24);
    definitions(1, 2) = lastora::Variant("..\\Vorlagen\\Brief.docx");
    definitions(1, 4) = lastora::Variant("\"Beitrag_\";Nr");
    definitions(1, 5) = lastora::Variant("..\\Briefe");
    definitions(1, 7) = lastora::Variant("X");
    lastora::Class1 component;
    const std::string result = component.ext_CreateSerienbrief(1, members, header, definitions, 0,
                                                               0, "", 0, 0, true, false);
    if (!result.starts_with("Seriendruck ok")) {
      state.SkipWithError(result.c_str());
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kLetters);
}
BENCHMARK(BM_MergeAndSave1000Letters)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
