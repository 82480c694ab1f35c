// Letters as a reader sees them: merged by the library's own engine, rendered to PDF by
// LibreOffice, read back with poppler. Needs soffice, pdftotext and pdfimages at test time, so
// it runs under its own label.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

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

bool Installed(const char* program) {
  return !Output(std::string("command -v ") + program).empty();
}

// One picture, the logo (twice as wide as high, where the grey box it replaced is 3:4), shown
// 51 points wide: the box's width, the narrower of the two ratios.
void ExpectOnlyTheLogoScaledIntoItsBox(const std::string& pdf) {
  std::istringstream images(Output("pdfimages -list " + pdf));
  std::string line;
  std::vector<std::string> rows;
  while (std::getline(images, line)) {
    if (line.find(" image ") != std::string::npos) rows.push_back(line);
  }
  ASSERT_EQ(rows.size(), 1u);
  std::istringstream fields(rows[0]);
  std::string page, number, type, colour, components, bits, encoding, interpolate, object,
      generation;
  double width = 0, height = 0, x_ppi = 0;
  fields >> page >> number >> type >> width >> height >> colour >> components >> bits >> encoding >>
      interpolate >> object >> generation >> x_ppi;
  EXPECT_NEAR(width / height, 2.0, 0.05) << rows[0];
  EXPECT_NEAR(width / x_ppi * 72, 51, 1.0) << rows[0];
}

// The document as LibreOffice prints it; the PDF's path.
std::string RenderToPdf(const fs::path& document, const fs::path& scratch) {
  Output("soffice --headless --norestore -env:UserInstallation=file://" +
         (scratch / "profile").string() + " --convert-to pdf --outdir " + scratch.string() + " " +
         document.string() + " 2>/dev/null");
  return (scratch / (document.stem().string() + ".pdf")).string();
}

TEST(RenderedLetterTest, ValuesAndLogoAreOnThePageAndNoPlaceholderIsLeft) {
  if (!Installed("soffice") || !Installed("pdftotext") || !Installed("pdfimages")) {
    GTEST_SKIP() << "LibreOffice or poppler-utils not installed";
  }
  testing::ScopedTempDir home;
  testing::ScopedEnv env("LASTORA_HOME", home.path().string());
  testing::ScopedTestPlatform platform(MakeDate(2025, 3, 5));
  fs::create_directories(home.path() / "Vorlagen");
  fs::create_directories(home.path() / "Briefe");
  fs::copy_file(Fixture("Beitragsbescheid.docx"), home.path() / "Vorlagen" / "Brief.docx");
  fs::copy_file(Fixture("logo.png"), home.path() / "Vorlagen" / "Lastora_Logo.png");
  testing::WriteBytes(home.File("Vorlagen/Lastora_Print.ini"),
                      "Usertext_Verein=Kasse & Co\r\nUsertext_Heute=Timeformat=DD.MM.YYYY\r\n");
  const char* titles[] = {"Nr",   "Mitglied",        "Kontoinhaber",
                          "IBAN", "Mandatsreferenz", "Jahresbeitrag"};
  const char* values[] = {
      "17",        "Bäcker, Jürgen", "Jürgen Bäcker <Kasse>", "DE49503201002200456701",
      "TSVM-0017", "120,00"};
  Table header(1, 6);
  Table records(1, 6);
  for (int32_t c = 1; c <= 6; ++c) {
    header(1, c) = Variant(titles[c - 1]);
    records(1, c) = Variant(values[c - 1]);
  }
  Table definitions(1, 24);
  definitions(1, 2) = Variant("..\\Vorlagen\\Brief.docx");
  definitions(1, 4) = Variant("Nr");
  definitions(1, 5) = Variant("..\\Briefe");
  definitions(1, 7) = Variant("X");
  Class1 component;
  ASSERT_EQ(
      component.ext_CreateSerienbrief(1, records, header, definitions, 0, 0, "", 0, 0, true, false),
      "Seriendruck ok: Anzahl Dokumente: 0 gedruckt, 1 gespeichert, 0 Mailvorlagen angelegt");

  const std::string pdf = RenderToPdf(home.path() / "Briefe" / "17.docx", home.path());
  ASSERT_TRUE(fs::exists(pdf));
  const std::string text = Output("pdftotext -layout " + pdf + " -");
  for (const char* expected :
       {"Beitragsbescheid für Bäcker, Jürgen", "Jürgen Bäcker <Kasse>", "DE49503201002200456701",
        "TSVM-0017", "120,00 Euro", "Kasse & Co", "05.03.2025", "Mitgliedsnummer 17"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
  EXPECT_EQ(text.find("<<"), std::string::npos) << text;
  ExpectOnlyTheLogoScaledIntoItsBox(pdf);
}

TEST(RenderedLetterTest, AWorkbookGetsTheLogoInItsBoxToo) {
  if (!Installed("soffice") || !Installed("pdfimages")) {
    GTEST_SKIP() << "LibreOffice or poppler-utils not installed";
  }
  testing::ScopedTempDir home;
  testing::ScopedEnv env("LASTORA_HOME", home.path().string());
  testing::ScopedTestPlatform platform(MakeDate(2025, 3, 5));
  fs::create_directories(home.path() / "Vorlagen");
  fs::create_directories(home.path() / "Karten");
  fs::copy_file(Fixture("Mitgliedsausweis.xlsx"), home.path() / "Vorlagen" / "Karte.xlsx");
  fs::copy_file(Fixture("logo.png"), home.path() / "Vorlagen" / "Lastora_Logo.png");
  Table header(1, 2);
  header(1, 1) = Variant("Nr");
  header(1, 2) = Variant("Kontoinhaber");
  Table records(1, 2);
  records(1, 1) = Variant("17");
  records(1, 2) = Variant("Jürgen Bäcker");
  Table definitions(1, 24);
  definitions(1, 2) = Variant("..\\Vorlagen\\Karte.xlsx");
  definitions(1, 4) = Variant("Nr");
  definitions(1, 5) = Variant("..\\Karten");
  definitions(1, 7) = Variant("X");
  Class1 component;
  ASSERT_EQ(
      component.ext_CreateSerienbrief(1, records, header, definitions, 0, 0, "", 0, 0, true, false),
      "Seriendruck ok: Anzahl Dokumente: 0 gedruckt, 1 gespeichert, 0 Mailvorlagen angelegt");
  const std::string pdf = RenderToPdf(home.path() / "Karten" / "17.xlsx", home.path());
  ASSERT_TRUE(fs::exists(pdf));
  EXPECT_NE(Output("pdftotext -layout " + pdf + " -").find("Jürgen Bäcker"), std::string::npos);
  ExpectOnlyTheLogoScaledIntoItsBox(pdf);
}

// The sample club's label sheet for 23 members: 21 labels on the first page, three across and
// seven down, two on the second; every label filled and numbered, the layout sheet not printed.
TEST(RenderedLabelsTest, AllMembersOnOneSheetAcrossTwoPages) {
  if (!Installed("soffice") || !Installed("pdftotext") || !Installed("pdfinfo")) {
    GTEST_SKIP() << "LibreOffice or poppler-utils not installed";
  }
  testing::ScopedTempDir home;
  testing::ScopedEnv env("LASTORA_HOME", home.path().string());
  testing::ScopedTestPlatform platform(MakeDate(2025, 3, 5));
  fs::create_directories(home.path() / "Vorlagen");
  fs::create_directories(home.path() / "Etiketten");
  fs::copy_file(Fixture("Adressetiketten.xlsx"), home.path() / "Vorlagen" / "Etiketten.xlsx");
  testing::WriteBytes(home.File("Vorlagen/Lastora_Print.ini"), "Usertext_Verein=TSV & Co\r\n");
  const char* titles[] = {"Nr", "Mitglied", "Kontoinhaber", "IBAN"};
  Table header(1, 4);
  for (int32_t c = 1; c <= 4; ++c) header(1, c) = Variant(titles[c - 1]);
  Table records(23, 4);
  for (int32_t r = 1; r <= 23; ++r) {
    records(r, 1) = Variant(std::to_string(r));
    records(r, 2) = Variant("Mitglied " + std::to_string(100 + r));
    records(r, 3) = Variant("Inhaber " + std::to_string(100 + r));
    records(r, 4) = Variant("DE00 0000 " + std::to_string(1000 + r));
  }
  // The layout is Settings row 2, so the labels are definition row 2.
  Table definitions(2, 24);
  definitions(2, 2) = Variant("..\\Vorlagen\\Etiketten.xlsx");
  definitions(2, 4) = Variant("\"Etiketten\"");
  definitions(2, 5) = Variant("..\\Etiketten");
  definitions(2, 7) = Variant("X");
  Class1 component;
  ASSERT_EQ(
      component.ext_CreateSerienbrief(1, records, header, definitions, 2, 0, "", 0, 0, true, false),
      "Seriendruck ok: Anzahl Dokumente: 0 gedruckt, 1 gespeichert, 0 Mailvorlagen angelegt");

  const std::string pdf = RenderToPdf(home.path() / "Etiketten" / "Etiketten.xlsx", home.path());
  ASSERT_TRUE(fs::exists(pdf));
  EXPECT_NE(Output("pdfinfo " + pdf).find("Pages:           2\n"), std::string::npos)
      << Output("pdfinfo " + pdf);
  const std::string first = Output("pdftotext -layout -f 1 -l 1 " + pdf + " -");
  const std::string second = Output("pdftotext -layout -f 2 -l 2 " + pdf + " -");
  for (int r = 1; r <= 23; ++r) {
    const std::string& page = r <= 21 ? first : second;
    for (const std::string& expected :
         {"Inhaber " + std::to_string(100 + r), "Mitglied: Mitglied " + std::to_string(100 + r),
          "Etikett " + std::to_string(r) + " · TSV & Co"}) {
      EXPECT_NE(page.find(expected), std::string::npos) << expected << "\n" << page;
    }
  }
  // Labels side by side, as on the label paper: one printed line holds a row's three names.
  const size_t line_start = first.rfind('\n', first.find("Inhaber 101")) + 1;
  const std::string line = first.substr(line_start, first.find('\n', line_start) - line_start);
  EXPECT_NE(line.find("Inhaber 102"), std::string::npos) << line;
  EXPECT_NE(line.find("Inhaber 103"), std::string::npos) << line;
  EXPECT_EQ(line.find("Inhaber 104"), std::string::npos) << line;
  for (const std::string& page : {first, second}) {
    EXPECT_EQ(page.find("<<"), std::string::npos) << page;
    EXPECT_EQ(page.find("Zeilen je Etikett"), std::string::npos) << page;
  }
}

}  // namespace
}  // namespace lastora
