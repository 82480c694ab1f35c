// The number of the VbError an expression throws, for tests of the platform's failures.
#ifndef LASTORA_TESTS_CORE_ERROR_OF_H_
#define LASTORA_TESTS_CORE_ERROR_OF_H_

#include <cstdint>

#include "lastora/vb_error.h"

namespace lastora::testing {

// 0 when f throws nothing.
template <typename F>
int32_t ErrorOf(F f) {
  try {
    f();
  } catch (const VbError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace lastora::testing

#endif  // LASTORA_TESTS_CORE_ERROR_OF_H_
