// Class1's file checkers.
#include "component/not_built.h"
#include "component/run_frame.h"
#include "lastora/class1.h"

namespace lastora {

std::string Class1::ext_SEPA_Checker(VariantArray& aVariablen, Table&, Table&, Table&, Table&,
                                     const std::string&, const std::string&) {
  SEPAVARIABLEN fresh;
  return RunInFrame("Exit", FinishRule::kOk, aVariablen, fresh,
                    [](RunContext&) -> RunEnd { ThrowNotBuilt(); });
}

std::string Class1::ext_DTAUS_Checker(VariantArray& aVariablen, Table&, Table&, Table&, Table&,
                                      const std::string&, bool) {
  return RunInFrame("Exit", FinishRule::kOkIfStillStart, aVariablen, settings_,
                    [](RunContext&) -> RunEnd { ThrowNotBuilt(); });
}

}  // namespace lastora
