// A large club's generation input, shared by the benchmarks of the library and of the automation
// server, so that both time the same work.
#ifndef LASTORA_BENCH_GENERATION_INPUT_H_
#define LASTORA_BENCH_GENERATION_INPUT_H_

#include <string>

#include "lastora/settings.h"
#include "lastora/table.h"
#include "lastora/variant.h"
#include "support/club_settings.h"

namespace lastora {

inline SEPAVARIABLEN ClubSettings() {
  SEPAVARIABLEN s;
  testing::AddClubGenerationSettings(s);
  s.SepaFuncWARN.Value = "warnen";
  s.SepaFuncBMAX.Value = "1000";
  s.SepaFuncBMIN.Value = "1";
  return s;
}

// The columns the generation reads; `columns` as wide as the caller's sheet (at least 23).
inline Table Payments(int32_t rows, int32_t columns = 27) {
  Table table(rows, columns);
  for (int32_t i = 1; i <= rows; ++i) {
    const std::string number = std::to_string(i);
    table(i, 3) = "Mitglied Nummer " + number;
    table(i, 4) = "DE50512305000018102010";
    table(i, 5) = "BYLADEM1001";
    table(i, 7) = "BEITRAG-2013-" + number;
    table(i, 8) = 12.5 + i % 100;
    table(i, 9) = "\"Beitrag 2013\",\"Mitglied " + number + "\",\"Abteilung Tennis\"";
    table(i, 10) = "MANDAT-" + number;
    table(i, 11) = Variant::Date(MakeDate(2010, 3, 15));
    table(i, 12) = "FRST";
    table(i, 22) = "18102010";
    table(i, 23) = "51230500";
  }
  return table;
}

}  // namespace lastora

#endif  // LASTORA_BENCH_GENERATION_INPUT_H_
