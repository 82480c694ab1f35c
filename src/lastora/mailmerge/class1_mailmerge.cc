// Class1's mail merge.
#include "component/run_frame.h"
#include "lastora/class1.h"
#include "lastora/vb_error.h"

namespace lastora {

std::string Class1::ext_CreateSerienbrief(int32_t, const Table&, const Table&, const Table&,
                                          int16_t, int32_t, const std::string&, int32_t, int32_t,
                                          bool, bool) {
  return FailureText(5, VbErrorDescription(5));
}

}  // namespace lastora
