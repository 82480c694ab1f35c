#include "support/schema_validation.h"

#include <gtest/gtest.h>

#include <string>

namespace lastora::testing {
namespace {

// Every test that validates a written document shows the validator accepts what is valid; this
// shows it can fail at all.
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
