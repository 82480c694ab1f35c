// The platform error that a call throws, for tests that check which failure a caller sees.
#ifndef LASTORA_TESTS_SUPPORT_VB_ERROR_NUMBER_H_
#define LASTORA_TESTS_SUPPORT_VB_ERROR_NUMBER_H_

#include <cstdint>
#include <string>
#include <utility>

#include "lastora/vb_error.h"

namespace lastora::testing {

// 0 when the call returns normally; any other exception passes through and fails the test.
template <typename Call>
int32_t ErrorOf(Call&& call) {
  try {
    std::forward<Call>(call)();
  } catch (const VbError& error) {
    return error.number();
  }
  return 0;
}

// Its number and description, "<number> <description>"; "" when the call returns normally.
template <typename Call>
std::string ErrorTextOf(Call&& call) {
  try {
    std::forward<Call>(call)();
  } catch (const VbError& error) {
    return std::to_string(error.number()) + " " + error.description();
  }
  return "";
}

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_VB_ERROR_NUMBER_H_
