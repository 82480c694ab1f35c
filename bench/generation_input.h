// A large club's generation input, shared by the benchmarks of the library and of the automation
// server, so that both time the same work.
#ifndef LASTORA_BENCH_GENERATION_INPUT_H_
#define LASTORA_BENCH_GENERATION_INPUT_H_

#include <string>

#include "lastora/settings.h"
#include "lastora/table.h"
#include "lastora/variant.h"

namespace lastora {

inline SEPAVARIABLEN ClubSettings() {
  SEPAVARIABLEN s;
  s.KreditorNAME.Value = "TSV Musterstadt e.V.";
  s.KreditorIBAN.Value = "DE89370400440532013000";
  s.KreditorBIC_.Value = "COBADEFFXXX";
  s.KreditorID__.Value = "DE98ZZZ09999999999";
  s.SepaAART.Value = "Basislastschrift";
  s.SepaADAT.Value = "01.10.2013";
  s.SepaFPI1.Value = "PII-2013-10-FRST";
  s.SepaFMI1.Value = "MSG-2013-10-FRST";
  s.SepaFPI2.Value = "-";
  s.SepaFMI2.Value = "-";
  s.SepaITXT.Value = "Liste drucken";
  s.SepaBTXT.Value = "Begleitzettel drucken";
  s.SepaFuncWARN.Value = "warnen";
  s.SepaFuncBMAX.Value = "1000";
  s.SepaFuncBMIN.Value = "1";
  for (SEPAVALUES* counter :
       {&s.ProgErzeWarn, &s.ProgErzeDAN1, &s.ProgErzeDAN2, &s.ProgErzeDSU1, &s.ProgErzeDSU2}) {
    counter->Value = "0";
  }
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
