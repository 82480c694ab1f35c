// The club the tests and benchmarks collect for: TSV Musterstadt e.V., billing the year 2013 and
// debiting on 1 October 2013. Each case changes only what it is about.
#ifndef LASTORA_TESTS_SUPPORT_CLUB_SETTINGS_H_
#define LASTORA_TESTS_SUPPORT_CLUB_SETTINGS_H_

#include "lastora/settings.h"

namespace lastora::testing {

// Contributions by the year, to the month, no merging of a family's rows, no warnings.
inline SEPAVARIABLEN ClubProcessingSettings() {
  SEPAVARIABLEN s;
  s.KreditorID__.Value = "DE98ZZZ09999999999";
  s.SepaVERF.Value = "SEPA";
  s.SepaCYCL.Value = "Jahr";
  s.SepaDAT1.Value = "01.01.2013";
  s.SepaDAT2.Value = "31.12.2013";
  s.SepaAART.Value = "Basislastschrift";
  s.SepaLART.Value = "automatisch";
  s.SepaFuncCOLL.Value = "nicht sammeln";
  s.SepaFuncMONT.Value = "monatsgenau";
  s.SepaFuncAZYK.Value = "Wechselmonat abrechnen";
  s.Import__MONB.Value = "17";
  s.Import__EINT.Value = "18";
  s.Import__AUST.Value = "19";
  s.SepaFuncWARN.Value = "nicht warnen";
  s.SepaFuncBMAX.Value = "1000";
  s.SepaFuncBMIN.Value = "0";
  s.SepaFuncVER1.Value = "Mitgliedsbeitrag 2013";
  s.SepaFuncVER2.Value = "-";
  s.SepaFuncVER3.Value = "-";
  s.SepaFuncVER4.Value = "-";
  s.SepaFuncVERP.Value = "-";
  for (SEPAVALUES* figure : {&s.ProgBearFehl, &s.ProgBearWarn, &s.ProgBearZeic, &s.ProgBearUmla}) {
    figure->Value = "0";
  }
  return s;
}

// The creditor, the collection day, both sequence types' ids, lists and cover sheets on, the
// treasurer's address and zeroed counters: what the generation run needs on top.
inline void AddClubGenerationSettings(SEPAVARIABLEN& s) {
  s.KreditorNAME.Value = "TSV Musterstadt e.V.";
  s.KreditorIBAN.Value = "DE89370400440532013000";
  s.KreditorBIC_.Value = "COBADEFFXXX";
  s.KreditorID__.Value = "DE98ZZZ09999999999";
  s.SepaAART.Value = "Basislastschrift";
  s.SepaADAT.Value = "01.10.2013";
  s.SepaFPI1.Value = "PII-2013-10-FRST";
  s.SepaFMI1.Value = "MSG-2013-10-FRST";
  s.SepaFPI2.Value = "PII-2013-10-RCUR";
  s.SepaFMI2.Value = "MSG-2013-10-RCUR";
  s.SepaITXT.Value = "Liste drucken";
  s.SepaBTXT.Value = "Begleitzettel drucken";
  s.UserNAME.Value = "Erika Kassenwart";
  s.UserSTRE.Value = "Hauptstr. 1";
  s.UserPLZ_.Value = "12345 Musterstadt";
  s.UserTEL_.Value = "0123 456789";
  for (SEPAVALUES* counter :
       {&s.ProgErzeWarn, &s.ProgErzeDAN1, &s.ProgErzeDAN2, &s.ProgErzeDSU1, &s.ProgErzeDSU2}) {
    counter->Value = "0";
  }
}

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_CLUB_SETTINGS_H_
