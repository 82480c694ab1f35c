#include "checkers/dtaus_record_layout.h"

#include <gtest/gtest.h>

#include <span>

namespace lastora::dtaus {
namespace {

// Each field must begin where the previous one ended; returns the position after the last.
size_t EndOfContiguousFields(std::span<const Field> fields) {
  size_t next = 1;
  for (const Field& field : fields) {
    EXPECT_EQ(field.position, next) << field.name;
    next = field.position + field.width;
  }
  return next;
}

// Positions of single fields and extension parts are held by the golden files and by the files of
// other programs that the checker reads; a gap or overlap would hide in the fields nobody reads.
TEST(DtausRecordLayout, RecordsAreContiguousAndHaveTheirLengths) {
  EXPECT_EQ(EndOfContiguousFields(kARecord), 129u);
  EXPECT_EQ(EndOfContiguousFields(kCRecord), 188u);
  EXPECT_EQ(EndOfContiguousFields(kERecord), 129u);
}

TEST(DtausRecordLayout, LengthValueAndFileLengthFollowTheExtensionCount) {
  struct Case {
    int extensions;
    size_t length_value;
    size_t file_length;
    const char* c1;
  };
  const Case cases[] = {{0, 187, 256, "0187"},  {2, 245, 256, "0245"},  {3, 274, 384, "0274"},
                        {6, 361, 384, "0361"},  {7, 390, 512, "0390"},  {10, 477, 512, "0477"},
                        {11, 506, 640, "0506"}, {14, 593, 640, "0593"}, {15, 622, 768, "0622"}};
  for (const Case& c : cases) {
    EXPECT_EQ(CRecordLengthValue(c.extensions), c.length_value) << c.extensions;
    EXPECT_EQ(CRecordFileLength(c.extensions), c.file_length) << c.extensions;
    EXPECT_EQ(ExtensionsForLengthValue(c.c1), c.extensions) << c.c1;
  }
  EXPECT_EQ(ExtensionsForLengthValue("0188"), -1);
  EXPECT_EQ(ExtensionsForLengthValue("0651"), -1);
  EXPECT_EQ(ExtensionsForLengthValue("187"), -1);
}

}  // namespace
}  // namespace lastora::dtaus
