// A letter as a reader sees it: merged by the library's own engine, rendered to PDF by
// LibreOffice, read back with poppler. Needs soffice and pdftotext at test time, so it runs under
// its own label.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "lastora/class1.h"
#include "lastora/variant.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace lastora {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& name) {
  return std::string(LASTORA_TESTDATA_DIR) + "/mailmerge/" + name;
}

std::string Output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string text;
  char buffer[4096];
  while (pipe && fgets(buffer, sizeof buffer, pipe.get()) != nullptr) text += buffer;
  return text;
}

// A program folder with the template in "Vorlagen" and a folder "Briefe" for the letters.
class RenderedLetterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* program : {"soffice", "pdftotext"}) {
      if (!Output(std::string("command -v ") + program).empty()) continue;
      // `make test` installs them: there a missing tool must not pass as a skipped test.
      if (std::getenv("LASTORA_REQUIRE_OFFICE") != nullptr) FAIL() << program << " not installed";
      GTEST_SKIP() << "LibreOffice or poppler-utils not installed";
    }
    fs::create_directories(home_.path() / "Vorlagen");
    fs::create_directories(home_.path() / "Briefe");
    fs::copy_file(Fixture("Beitragsbescheid.docx"), home_.path() / "Vorlagen" / "Brief.docx");
  }
  testing::ScopedTempDir home_;
  testing::ScopedEnv env_{"LASTORA_HOME", home_.path().string()};
  testing::ScopedTestPlatform platform_{MakeDate(2025, 3, 5)};
};

// One member's letter, saved without printing: it carries the values, print settings included,
// and no placeholder is left.
TEST_F(RenderedLetterTest, TheLetterShowsTheValuesAndNoPlaceholder) {
  testing::WriteBytes(home_.File("Vorlagen/Lastora_Print.ini"),
                      "Usertext_Verein=Kasse & Co\r\nUsertext_Heute=Timeformat=DD.MM.YYYY\r\n");
  const char* titles[] = {"Nr",   "Mitglied",        "Kontoinhaber",
                          "IBAN", "Mandatsreferenz", "Jahresbeitrag"};
  const char* values[] = {
      "17",        "Bäcker, Jürgen", "Jürgen Bäcker <Kasse>", "DE49503201002200456701",
      "TSVM-0017", "120,00"};
  Table header(1, 6), records(1, 6), definitions(1, 24);
  for (int32_t c = 1; c <= 6; ++c) {
    header(1, c) = Variant(titles[c - 1]);
    records(1, c) = Variant(values[c - 1]);
  }
  definitions(1, 2) = Variant("..\\Vorlagen\\Brief.docx");
  definitions(1, 4) = Variant("Nr");
  definitions(1, 5) = Variant("..\\Briefe");
  definitions(1, 7) = Variant("X");
  ASSERT_EQ(
      Class1().ext_CreateSerienbrief(1, records, header, definitions, 1, 0, "", 0, 0, true, false),
      "Seriendruck ok: Anzahl Dokumente: 0 gedruckt, 1 gespeichert, 0 Mailvorlagen angelegt");
  // As LibreOffice prints it.
  const fs::path scratch = home_.path();
  Output("soffice --headless --norestore -env:UserInstallation=file://" +
         (scratch / "profile").string() + " --convert-to pdf --outdir " + scratch.string() + " " +
         (scratch / "Briefe" / "17.docx").string() + " 2>/dev/null");
  const std::string pdf = (scratch / "17.pdf").string();
  ASSERT_TRUE(fs::exists(pdf)) << pdf;
  const std::string text = Output("pdftotext -layout " + pdf + " -");
  for (const char* expected :
       {"Beitragsbescheid für Bäcker, Jürgen", "Jürgen Bäcker <Kasse>", "DE49503201002200456701",
        "TSVM-0017", "120,00 Euro", "Kasse & Co", "05.03.2025", "Mitgliedsnummer 17"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
  EXPECT_EQ(text.find("<<"), std::string::npos) << text;
}

}  // namespace
}  // namespace lastora
