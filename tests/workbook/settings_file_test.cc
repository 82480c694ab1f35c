#include "lastora/settings_file.h"

#include <gtest/gtest.h>

#include "lastora/workbook_error.h"
#include "support/temp_dir.h"

namespace lastora {
namespace {

using testing::ReadBytes;
using testing::ScopedTempDir;
using testing::WriteBytes;

std::string ErrorOf(std::string_view text) {
  try {
    SettingsFile::Parse(text, "verein.ini");
  } catch (const WorkbookError& e) {
    return e.what();
  }
  return "";
}

TEST(SettingsFileTest, ReadsKeysAcrossSectionsCommentsAndQuotes) {
  const SettingsFile file = SettingsFile::Parse(
      "# Kommentar\n; auch einer\n[Kreditor]\n  KreditorNAME=TSV Musterstadt   # Name\n"
      "SepaFuncVER1 = \"  Beitrag #3; 2026 \"\nSepaFuncVER4 = 'mit \"Anfuehrung\"'\n"
      "SepaBTXT = A#B\n\n",
      "verein.ini");
  const SEPAVARIABLEN& record = file.record();
  EXPECT_EQ(record.KreditorNAME.Value, "TSV Musterstadt");
  EXPECT_EQ(record.SepaFuncVER1.Value, "  Beitrag #3; 2026 ");
  EXPECT_EQ(record.SepaFuncVER4.Value, "mit \"Anfuehrung\"");
  EXPECT_EQ(record.SepaBTXT.Value, "A#B");  // a hash inside a word is part of the value
  EXPECT_EQ(file.WhereSet("SepaFuncVER1"), "verein.ini, Zeile 5");
  EXPECT_EQ(file.WhereSet("SepaCYCL"), "verein.ini");
}

TEST(SettingsFileTest, BadLinesNameTheFileTheLineAndTheKey) {
  EXPECT_EQ(ErrorOf("SepaCYCL = Jahr\n\nKreditorNAHME = TSV\n"),
            "verein.ini, Zeile 3: unbekannter Schlüssel \"KreditorNAHME\"");
  EXPECT_EQ(ErrorOf("SepaCYCL = Jahr\r\nSepaCYCL = Halbjahr\r\n"),
            "verein.ini, Zeile 2: Schlüssel \"SepaCYCL\" steht schon weiter oben");
  EXPECT_EQ(ErrorOf("SepaCYCL Jahr\n"),
            "verein.ini, Zeile 1: kein \"SCHLÜSSEL = Wert\": SepaCYCL Jahr");
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
}

TEST(SettingsFileTest, WindowsCodePageFileStaysInItsCodePage) {
  ScopedTempDir dir;
  const std::string path = dir.File("alt.ini");
  WriteBytes(path, "KreditorNAME = M\xFCller\n");
  SettingsFile file = SettingsFile::Load(path);
  EXPECT_EQ(file.record().KreditorNAME.Value, "Müller");
  SEPAVARIABLEN result = file.record();
  result.ProgErzeResu.Value = "Gläubiger ID falsch";
  file.Update(result, [](std::string_view) { return true; });
  file.Save();
  EXPECT_EQ(ReadBytes(path), "KreditorNAME = M\xFCller\nProgErzeResu = Gl\xE4ubiger ID falsch\n");
}

}  // namespace
}  // namespace lastora
