#include "generation/payment_list.h"

#include <gtest/gtest.h>

#include <string>

#include "generation/text_pieces.h"

namespace lastora::generation {
namespace {

// A list far longer than the part held in memory: the rows that were moved out come back first,
// in order, between the heading and the total.
TEST(PaymentListTest, ALongListKeepsItsRowsInOrder) {
  constexpr int kRows = 99999;  // the most that five places number
  PaymentList list(kRows);
  for (int i = 1; i <= kRows; ++i) {
    list.Append("Müller " + std::to_string(i), "BEISDEM1XXX", "DE12123056001000123401", 1234,
                "Beitrag");
  }
  std::string text;
  list.Write(SepaKindFor("Lastschrift"), {"Lastschrift", "01.03.2026", "MSG", "16.03.2026"},
             int64_t{1234} * kRows, AppendTo(text));
  ASSERT_GT(text.size(), size_t{8} << 20);
  EXPECT_TRUE(text.starts_with("Sammel-Lastschrift"));
  EXPECT_TRUE(text.ends_with("1233987,66\r\n\r\n"));
  // Each row starts with its number right-aligned in five places.
  const auto row_start = [](int i) {
    const std::string number = std::to_string(i);
    return "\r\n" + std::string(5 - number.size(), ' ') + number + " M\xfcller " + number + " ";
  };
  size_t at = text.find(row_start(1));
  ASSERT_NE(at, std::string::npos);
  for (int i = 2; i <= kRows; ++i) {
    const size_t next = text.find(row_start(i), at);
    ASSERT_NE(next, std::string::npos) << i;
    ASSERT_LT(next - at, size_t{300}) << i;
    at = next;
  }
}

}  // namespace
}  // namespace lastora::generation
