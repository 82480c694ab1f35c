// The settings record of a run and its exchange with the caller's settings array.
#ifndef LASTORA_SETTINGS_H_
#define LASTORA_SETTINGS_H_

#include <cstdint>
#include <span>
#include <string>

#include "lastora/export.h"
#include "lastora/table.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

// One setting. Only Value is exchanged and used; the other members are carried for callers that
// fill them themselves.
struct SEPAVALUES {
  std::string Value;
  int16_t Row = 0;
  int32_t Column = 0;
  std::string IniSection;
  std::string IniEntry;
};

// The 169 named settings of a run, in their declared order.
struct SEPAVARIABLEN {
  SEPAVALUES KreditorNAME;
  SEPAVALUES KreditorBANK;
  SEPAVALUES KreditorBIC_;
  SEPAVALUES KreditorIBAN;
  SEPAVALUES KreditorID__;
  SEPAVALUES UserNAME;
  SEPAVALUES UserSTRE;
  SEPAVALUES UserPLZ_;
  SEPAVALUES UserTEL_;
  SEPAVALUES UserMAIL;
  SEPAVALUES User1VOR;
  SEPAVALUES User1KAS;
  SEPAVALUES User1JUG;
  SEPAVALUES SepaVERF;
  SEPAVALUES SepaFILE;
  SEPAVALUES SepaFIL1;
  SEPAVALUES SepaFIL2;
  SEPAVALUES SepaPATH;
  SEPAVALUES SepaCYCL;
  SEPAVALUES SepaADAT;
  SEPAVALUES SepaADA1;
  SEPAVALUES SepaADA2;
  SEPAVALUES SepaDAT1;
  SEPAVALUES SepaDAT2;
  SEPAVALUES SepaLFNR;
  SEPAVALUES SepaFMID;
  SEPAVALUES SepaFMI1;
  SEPAVALUES SepaFMI2;
  SEPAVALUES SepaFPID;
  SEPAVALUES SepaFPI1;
  SEPAVALUES SepaFPI2;
  SEPAVALUES SepaFRID;
  SEPAVALUES SepaAART;
  SEPAVALUES SepaLART;
  SEPAVALUES SepaLAR1;
  SEPAVALUES SepaLAR2;
  SEPAVALUES SepaSRT1;
  SEPAVALUES SepaSRT2;
  SEPAVALUES SepaSRT3;
  SEPAVALUES SepaBTXT;
  SEPAVALUES SepaITXT;
  SEPAVALUES SepaFuncCOLL;
  SEPAVALUES SepaFuncMONT;
  SEPAVALUES SepaFuncEINM;
  SEPAVALUES SepaFuncNACH;
  SEPAVALUES SepaFuncGUTS;
  SEPAVALUES SepaFuncVER0;
  SEPAVALUES SepaFuncVER1;
  SEPAVALUES SepaFuncVER2;
  SEPAVALUES SepaFuncVER3;
  SEPAVALUES SepaFuncVER4;
  SEPAVALUES SepaFuncVERP;
  SEPAVALUES SepaFuncWARN;
  SEPAVALUES SepaFuncBMAX;
  SEPAVALUES SepaFuncBMIN;
  SEPAVALUES SepaFuncAZYK;
  SEPAVALUES ProgSepaVers;
  SEPAVALUES ProgSepaErst;
  SEPAVALUES ProgSepaMail;
  SEPAVALUES ProgSepaLang;
  SEPAVALUES ProgNew_Vers;
  SEPAVALUES ProgSepaLanz;
  SEPAVALUES ProgSepaUser;
  SEPAVALUES ProgImpoDate;
  SEPAVALUES ProgImpoTime;
  SEPAVALUES ProgImpoResu;
  SEPAVALUES ProgImpoFehl;
  SEPAVALUES ProgImpoWarn;
  SEPAVALUES ProgImpoZeic;
  SEPAVALUES ProgImpoUmla;
  SEPAVALUES ProgImpoAuto;
  SEPAVALUES ProgChecDate;
  SEPAVALUES ProgChecTime;
  SEPAVALUES ProgChecResu;
  SEPAVALUES ProgChecFehl;
  SEPAVALUES ProgChecWarn;
  SEPAVALUES ProgChecZeic;
  SEPAVALUES ProgChecUmla;
  SEPAVALUES ProgChecAuto;
  SEPAVALUES ProgChecBLZ_;
  SEPAVALUES ProgChecDANZ;
  SEPAVALUES ProgChecDAN1;
  SEPAVALUES ProgChecDAN2;
  SEPAVALUES ProgChecDSUM;
  SEPAVALUES ProgChecDSU1;
  SEPAVALUES ProgChecDSU2;
  SEPAVALUES ProgChecKANZ;
  SEPAVALUES ProgChecKAN1;
  SEPAVALUES ProgChecKAN2;
  SEPAVALUES ProgChecKSUM;
  SEPAVALUES ProgChecKSU1;
  SEPAVALUES ProgChecKSU2;
  SEPAVALUES ProgChecBSUM;
  SEPAVALUES ProgChecISUM;
  SEPAVALUES ProgChecPAOK;
  SEPAVALUES ProgChecPAO1;
  SEPAVALUES ProgChecPAO2;
  SEPAVALUES ProgBearDate;
  SEPAVALUES ProgBearTime;
  SEPAVALUES ProgBearResu;
  SEPAVALUES ProgBearFehl;
  SEPAVALUES ProgBearWarn;
  SEPAVALUES ProgBearZeic;
  SEPAVALUES ProgBearUmla;
  SEPAVALUES ProgBearAuto;
  SEPAVALUES ProgErzeDate;
  SEPAVALUES ProgErzeTime;
  SEPAVALUES ProgErzeResu;
  SEPAVALUES ProgErzeFehl;
  SEPAVALUES ProgErzeWarn;
  SEPAVALUES ProgErzeZeic;
  SEPAVALUES ProgErzeUmla;
  SEPAVALUES ProgErzeAuto;
  SEPAVALUES ProgAlleDate;
  SEPAVALUES ProgAlleTime;
  SEPAVALUES ProgAlleResu;
  SEPAVALUES ProgAlleFehl;
  SEPAVALUES ProgAlleWarn;
  SEPAVALUES ProgAlleZeic;
  SEPAVALUES ProgAlleUmla;
  SEPAVALUES ProgBearDANZ;
  SEPAVALUES ProgBearDAN1;
  SEPAVALUES ProgBearDAN2;
  SEPAVALUES ProgBearDSUM;
  SEPAVALUES ProgBearDSU1;
  SEPAVALUES ProgBearDSU2;
  SEPAVALUES ProgErzeFil1;
  SEPAVALUES ProgErzeBtx1;
  SEPAVALUES ProgErzeItx1;
  SEPAVALUES ProgErzeFil2;
  SEPAVALUES ProgErzeBtx2;
  SEPAVALUES ProgErzeItx2;
  SEPAVALUES ProgErzeDANZ;
  SEPAVALUES ProgErzeDAN1;
  SEPAVALUES ProgErzeDAN2;
  SEPAVALUES ProgErzeDSUM;
  SEPAVALUES ProgErzeDSU1;
  SEPAVALUES ProgErzeDSU2;
  SEPAVALUES ProgErzePAOK;
  SEPAVALUES ProgErzePAO1;
  SEPAVALUES ProgErzePAO2;
  SEPAVALUES ProgBLZ_Inte;
  SEPAVALUES ProgBLZ_File;
  SEPAVALUES ProgIni_Date;
  SEPAVALUES ProgTextEdit;
  SEPAVALUES ProgZippProg;
  SEPAVALUES Import__VORL;
  SEPAVALUES Import__FILE;
  SEPAVALUES Import__SHEE;
  SEPAVALUES Import__LINE;
  SEPAVALUES Import__NAME;
  SEPAVALUES Import__IBAN;
  SEPAVALUES Import__BIC_;
  SEPAVALUES Import__KONT;
  SEPAVALUES Import__BLZ_;
  SEPAVALUES Import__LAND;
  SEPAVALUES Import__MAND;
  SEPAVALUES Import__MDAT;
  SEPAVALUES Import__MONB;
  SEPAVALUES Import__EINT;
  SEPAVALUES Import__AUST;
  SEPAVALUES Import__MITG;
  SEPAVALUES Import__EINM;
  SEPAVALUES Import__NACH;
  SEPAVALUES Import__GUTS;
  SEPAVALUES Import__PAID;
  SEPAVALUES Import__VERW;
  SEPAVALUES Import__EDAT;
  SEPAVALUES Import__FREE;
};

// One field of the record and its cell in the settings array (0: never exchanged).
struct SettingsField {
  const char* name;
  SEPAVALUES SEPAVARIABLEN::*member;
  int32_t index;
};

// All 169 fields in declared order.
std::span<const SettingsField> SettingsFields();

inline constexpr int32_t kSettingsArraySize = 206;

// Copies cells 1..206 (ascending) into the record's Values. Throws VbError 9 at the first missing
// cell and VbError 94 at a Null cell; fields before it are already filled.
void VariablenToRecord(const VariantArray& aVariablen, SEPAVARIABLEN& sAct);
// Re-creates aVariablen with cells 1..206: each exchanged field's Value as a text, cell 160 the
// empty text, every other cell Empty.
void RecordToVariablen(VariantArray& aVariablen, const SEPAVARIABLEN& sAct);

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_SETTINGS_H_
