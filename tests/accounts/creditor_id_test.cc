#include "accounts/creditor_id.h"

#include <gtest/gtest.h>

#include <string>

namespace lastora::detail {
namespace {

TEST(CreditorId, CheckDigitsLeaveTheBusinessCodeOut) {
  // The Bundesbank's published example, with its business code changed and in small letters.
  for (const char* sound :
       {"DE98ZZZ09999999999", "DE98ABC09999999999", "de98zzz09999999999", "AT61ZZZ01234567890"}) {
    EXPECT_TRUE(CreditorIdCheckDigitsValid(sound)) << sound;
  }
  for (const char* wrong : {"DE97ZZZ09999999999", "DE98ZZZ09999999998", "DE98ZZZ0999999999-",
                            "DEXXZZZ09999999999", "DE98ZZZ", ""}) {
    EXPECT_FALSE(CreditorIdCheckDigitsValid(wrong)) << wrong;
  }
}

}  // namespace
}  // namespace lastora::detail
