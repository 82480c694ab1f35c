#include "support/schema_validation.h"

#include <gtest/gtest.h>

#include <string>

namespace lastora::testing {
namespace {

TEST(SchemaValidation, AcceptsDocumentsOfOtherPrograms) {
  for (const char* name : {"sepa_king-pain.008.002.02.xml", "sepa_king-pain.001.002.03.xml",
                           "php-sepa-xml-pain.008.002.02.xml"}) {
    EXPECT_EQ(SepaSchemaErrorsOfFile(std::string(LASTORA_TESTDATA_DIR) + "/sepa/" + name), "")
        << name;
  }
}

TEST(SchemaValidation, RejectsBrokenAndForeignDocuments) {
  const std::string head =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.008.002.02\">";
  EXPECT_NE(SepaSchemaErrors(head + "<CstmrDrctDbtInitn/></Document>"), "");
  EXPECT_NE(SepaSchemaErrors(head + "<CstmrDrctDbtInitn>"), "");
  EXPECT_NE(SepaSchemaErrors("<Document xmlns=\"urn:example\"/>"), "");
  EXPECT_NE(SepaSchemaErrorsOfFile("/nonexistent/file.xml"), "");
}

}  // namespace
}  // namespace lastora::testing
