// Damaged .xls files: the reader that may crash on them runs in a child process, so every damage
// ends in the import's failure, never in the end of the program.
#include <sys/resource.h>

#include <string>

#include "gtest/gtest.h"
#include "import/import_fixture.h"

namespace lastora::testing {
namespace {

class XlsIsolationTest : public ImportTest {
 protected:
  // Imports the bank-code workbook with one byte changed; the table must be either filled or
  // left exactly as it was.
  std::string ImportMutated(size_t offset, char value) {
    std::string bytes = original_;
    bytes[offset] = value;
    const std::string path = dir_.File("blz.xls");
    WriteBytes(path, bytes);
    Table table(1, 1);
    table(1, 1) = Variant("vorher");
    const std::string result = c_.GetColumnsFromExcelFile(path, table, "", 1);
    if (result != "ok") {
      EXPECT_EQ(table(1, 1), Variant("vorher")) << offset;
    }
    return result;
  }

  const std::string original_ = ReadBytes(LASTORA_TESTDATA_DIR "/blz/blz_20200420.xls");
};

TEST_F(XlsIsolationTest, DamageThatCrashedOrStoppedTheReaderEndsInTheImportFailure) {
  ASSERT_GT(original_.size(), 3608u);
  EXPECT_EQ(ImportMutated(3608, 100), "Error");
  EXPECT_NE(LogText().find("Die Datei kann nicht gelesen werden"), std::string::npos) << LogText();
  EXPECT_EQ(ImportMutated(0, 0), "Error");
  // The same file undamaged still reads.
  EXPECT_EQ(ImportMutated(3608, original_[3608]), "ok");

  // FreeXL gives up on this damage yet answers "ok" without a workbook: that is a damaged file,
  // not a workbook without sheets.
  std::string bytes = ReadBytes(LASTORA_TESTDATA_DIR "/xls/blaetter.xls");
  ASSERT_GT(bytes.size(), 2186u);
  bytes[2186] = static_cast<char>(247);
  const std::string path = dir_.File("blaetter.xls");
  WriteBytes(path, bytes);
  Table table(1, 1);
  EXPECT_EQ(c_.GetColumnsFromExcelFile(path, table, "", 1), "Error");
  EXPECT_NE(LogText().find("(keine lesbare Excel-Arbeitsmappe)"), std::string::npos) << LogText();
}

// On this damaged file FreeXL asks for 1.6 GB a few bytes at a time before it gives up: the
// reader's child may not have that much.
TEST_F(XlsIsolationTest, AFileThatMakesTheReaderHoardMemoryFailsWithinTheChildsAllowance) {
  Table table(1, 1);
  table(1, 1) = Variant("vorher");
  EXPECT_EQ(
      c_.GetColumnsFromExcelFile(LASTORA_TESTDATA_DIR "/xls/speicherhunger.xls", table, "", 1),
      "Error");
  EXPECT_EQ(table(1, 1), Variant("vorher"));
  EXPECT_NE(LogText().find("Die Datei kann nicht gelesen werden"), std::string::npos) << LogText();
  rusage children{};
  ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &children), 0);
  EXPECT_LT(children.ru_maxrss, 1024 * 1024) << "KB";
}

}  // namespace
}  // namespace lastora::testing
