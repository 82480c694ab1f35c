#include "workbook/document_halves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "lastora/schema_check.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

using document_halves::Cut;
using document_halves::FindCut;

const std::string kTransaction = "<DrctDbtTxInf>";

// The club's RCUR document with its transactions repeated `times` times in one block.
std::string ClubDocument(int times) {
  const std::string sample = ReadBytes(std::string(LASTORA_TESTDATA_DIR) +
                                       "/club_calls/files/Ausgabe/SEPA_2026-03-16_RCUR.xml");
  const size_t first = sample.find("      " + kTransaction);
  const std::string end_tag = "</DrctDbtTxInf>\r\n";
  const size_t end = sample.rfind(end_tag) + end_tag.size();
  std::string document = sample.substr(0, first);
  for (int i = 0; i < times; ++i) document += sample.substr(first, end - first);
  return document + sample.substr(end);
}

class DocumentHalvesTest : public ::testing::Test {
 protected:
  std::string VerdictOf(const std::string& document) {
    WriteBytes(path_, document);
    return SchemaVerdict(path_);
  }

  ScopedTempDir dir_;
  const std::string path_ = dir_.File("document.xml");
};

// Large enough to be validated in halves: every fault is still found, and named with its line in
// the whole document, wherever it lies.
TEST_F(DocumentHalvesTest, ALargeDocumentsVerdictNamesTheFaultWhereverItLiesOrAMissingSchema) {
  const std::string document = ClubDocument(500);
  ASSERT_GT(document.size(), size_t{8} << 20);
  EXPECT_EQ(VerdictOf(document), "ok");
  WriteBytes(path_, document);
  const std::optional<Cut> cut = FindCut(path_, 0);
  ASSERT_TRUE(cut.has_value());
  // A half with any complaint costs a second validation of the whole: both must be valid.
  EXPECT_EQ(VerdictOf(document.substr(0, cut->resume_at) + cut->closing), "ok");
  EXPECT_EQ(VerdictOf(document.substr(0, cut->run_start) + document.substr(cut->resume_at)), "ok");
  const std::string amount = "<InstdAmt Ccy=\"EUR\">120.00</InstdAmt>";
  for (const size_t near : {size_t{0}, cut->run_start + 1000, cut->resume_at - 1000, cut->resume_at,
                            document.size() - 10000}) {
    std::string faulty = document;
    const size_t at = near == 0 ? faulty.find("<CtrlSum>") : faulty.find(amount, near);
    faulty.insert(at, "<Unexpected/>");
    const auto line = std::to_string(std::count(faulty.begin(), faulty.begin() + at, '\n') + 1);
    EXPECT_TRUE(
        VerdictOf(faulty).starts_with("Schema pain.008.002.02 verletzt, Zeile " + line + ":"))
        << near << ": " << VerdictOf(faulty);
  }

  // A schema that cannot be opened is named in the verdict alone: a terminal user sees no parser
  // warning beside it.
  const ScopedEnv no_schemas("LASTORA_SCHEMA_DIR", dir_.path().string());
  ::testing::internal::CaptureStderr();
  const std::string verdict = VerdictOf(ClubDocument(1));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(verdict, "Schema nicht lesbar: " + dir_.path().string() + "/pain.008.002.02.xsd");
}

}  // namespace
}  // namespace lastora::testing
