// The platform error number that a call throws, for tests that check which failure a caller sees.
#ifndef LASTORA_TESTS_SUPPORT_VB_ERROR_NUMBER_H_
#define LASTORA_TESTS_SUPPORT_VB_ERROR_NUMBER_H_

#include <cstdint>
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

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_SUPPORT_VB_ERROR_NUMBER_H_
