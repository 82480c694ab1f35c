#include "lastora/settings_file.h"

#include <gtest/gtest.h>

#include "lastora/workbook_error.h"
#include "support/field_texts.h"

namespace lastora {
namespace {

using S = SEPAVARIABLEN;
using testing::Texts;
using testing::Values;

std::string ErrorOf(std::string_view text) {
  try {
    SettingsFile::Parse(text, "verein.ini");
  } catch (const WorkbookError& e) {
    return e.what();
  }
  return "";
}

TEST(SettingsFileTest, ReadsKeysAcrossSectionsCommentsAndQuotesAndSwitchesInGermanWords) {
  const SettingsFile file = SettingsFile::Parse(
      "# Kommentar\n; auch einer\n[Kreditor]\n  KreditorNAME=TSV Musterstadt   # Name\n"
      "SepaFuncVER1 = \"  Beitrag #3; 2026 \"\nSepaFuncVER4 = 'mit \"Anfuehrung\"'\n"
      "UserTEL_ = A#B\n\n",
      "verein.ini");
  // A hash inside a word is part of the value.
  EXPECT_EQ(
      Values(file.record(), {&S::KreditorNAME, &S::SepaFuncVER1, &S::SepaFuncVER4, &S::UserTEL_}),
      (Texts{"TSV Musterstadt", "  Beitrag #3; 2026 ", "mit \"Anfuehrung\"", "A#B"}));
  EXPECT_EQ(file.WhereSet("SepaFuncVER1"), "verein.ini, Zeile 5");
  EXPECT_EQ(file.WhereSet("SepaCYCL"), "verein.ini");

  // The component switches off only on "nicht"; the file takes what a German user writes.
  const SEPAVARIABLEN record =
      SettingsFile::Parse(
          "SepaFuncCOLL = Nein\nSepaFuncWARN = AUS\nSepaBTXT = an\nSepaITXT = nicht schreiben\n"
          "SepaFuncMONT = Ja\nProgChecBLZ_ = An\nProgBLZ_Inte = aus\n",
          "verein.ini")
          .record();
  // ProgChecBLZ_ waits for a "ja".
  EXPECT_EQ(Values(record, {&S::SepaFuncCOLL, &S::SepaFuncWARN, &S::SepaBTXT, &S::SepaITXT,
                            &S::SepaFuncMONT, &S::ProgChecBLZ_, &S::ProgBLZ_Inte}),
            (Texts{"nicht", "nicht", "ja", "nicht", "ja", "ja", "nein"}));
}

// A value the component would not know changes the run without failing it (an unknown cycle
// bills monthly), so the file refuses it like a bad line, saying where and what is allowed.
TEST(SettingsFileTest, BadLinesAndValuesAreRefusedWhereTheyAreSet) {
  EXPECT_EQ(ErrorOf("SepaCYCL = Jahr\n\nKreditorNAHME = TSV\n"),
            "verein.ini, Zeile 3: unbekannter Schlüssel \"KreditorNAHME\"");
  EXPECT_EQ(ErrorOf("SepaCYCL = Jahr\r\nSepaCYCL = Halbjahr\r\n"),
            "verein.ini, Zeile 2: Schlüssel \"SepaCYCL\" steht schon weiter oben");
  EXPECT_EQ(ErrorOf("SepaCYCL Jahr\n"),
            "verein.ini, Zeile 1: kein \"SCHLÜSSEL = Wert\": SepaCYCL Jahr");
  EXPECT_EQ(ErrorOf("SepaLART = RCURR\nSepaADAT = morgen\nSepaFuncBMAX = 500 Euro\n"),
            "verein.ini, Zeile 2: SepaADAT = \"morgen\": kein Datum; erwartet: Datum TT.MM.JJJJ\n"
            "verein.ini, Zeile 1: SepaLART = \"RCURR\": unbekannter Wert; erlaubt: automatisch, "
            "FRST, RCUR, FNAL, OOFF\n"
            "verein.ini, Zeile 3: SepaFuncBMAX = \"500 Euro\": keine Zahl; erwartet: Zahl");
  // Case and blanks are no reason to refuse: the component gets its own spelling.
  const SEPAVARIABLEN record = SettingsFile::Parse(
                                   "SepaCYCL = jahr\nSepaVERF = dtaus\nSepaAART = ÜBERWEISUNG\n"
                                   "SepaFuncAZYK = wechselmonat nicht abrechnen\n",
                                   "verein.ini")
                                   .record();
  EXPECT_EQ(Values(record, {&S::SepaCYCL, &S::SepaVERF, &S::SepaAART, &S::SepaFuncAZYK}),
            (Texts{"Jahr", "DTAUS", "Überweisung", "Wechselmonat nicht abrechnen"}));
  // What a run cannot do without is named all at once, set empty or left out.
  const SettingsFile file = SettingsFile::Parse("SepaCYCL = Jahr\nSepaDAT1 =\n", "verein.ini");
  EXPECT_NO_THROW(file.Require(file.record(), {"SepaCYCL"}));
  try {
    file.Require(file.record(), {"SepaCYCL", "SepaDAT1", "SepaAART"});
    ADD_FAILURE() << "missing settings accepted";
  } catch (const WorkbookError& e) {
    EXPECT_STREQ(e.what(),
                 "verein.ini, Zeile 2: SepaDAT1 ist leer; erwartet: Datum TT.MM.JJJJ\n"
                 "verein.ini: SepaAART fehlt; erlaubt: Basislastschrift, Firmenlastschrift, "
                 "Überweisung");
  }
}

TEST(SettingsFileTest, UpdateKeepsCommentsOrderAndLineEndsAndAppendsMissingKeys) {
  SettingsFile file = SettingsFile::Parse(
      "# Ergebnisse\r\n[Programm]\r\nProgBearFehl = 7   ; alt\r\nKreditorNAME = TSV\r\n", "x.ini");
  SEPAVARIABLEN result = file.record();
  result.ProgBearFehl.Value = "2";
  result.ProgBearDSUM.Value = "1234,5";
  result.ProgBearResu.Value = " ok mit # ";
  result.KreditorNAME.Value = "anders";  // not selected: stays as the user wrote it
  file.Update(result, [](std::string_view name) { return name.starts_with("ProgBear"); });
  EXPECT_EQ(file.Bytes(),
            "# Ergebnisse\r\n[Programm]\r\nProgBearFehl = 2   ; alt\r\nKreditorNAME = TSV\r\n"
            "ProgBearResu = \" ok mit # \"\r\nProgBearDSUM = 1234,5\r\n");
  // What was written reads back as the values that were set.
  EXPECT_EQ(SettingsFile::Parse(file.Bytes(), "x.ini").record().ProgBearResu.Value, " ok mit # ");

  // A key added after a last line without a break must not run on into that line.
  SettingsFile open_end = SettingsFile::Parse("UserNAME = x", "x.ini");
  open_end.Update(result, [](std::string_view name) { return name == "ProgBearFehl"; });
  EXPECT_EQ(open_end.Bytes(), "UserNAME = x\nProgBearFehl = 2\n");
}

}  // namespace
}  // namespace lastora
