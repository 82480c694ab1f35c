#include "formats/dtaus_record_layout.h"

#include <gtest/gtest.h>

namespace lastora::dtaus {
namespace {

TEST(DtausRecordLayout, LengthValueAndFileLengthFollowTheExtensionCount) {
  struct Case {
    int extensions;
    size_t length_value, file_length;
    const char* c1;
  };
  const Case cases[] = {
      {0, 187, 256, "0187"}, {2, 245, 256, "0245"}, {3, 274, 384, "0274"}, {15, 622, 768, "0622"}};
  for (const Case& c : cases) {
    EXPECT_EQ(CRecordLengthValue(c.extensions), c.length_value) << c.extensions;
    EXPECT_EQ(CRecordFileLength(c.extensions), c.file_length) << c.extensions;
    EXPECT_EQ(ExtensionsForLengthValue(c.c1), c.extensions) << c.c1;
  }
  EXPECT_EQ(ExtensionsForLengthValue("0188"), -1);
  EXPECT_EQ(ExtensionsForLengthValue("187"), -1);
}

}  // namespace
}  // namespace lastora::dtaus
