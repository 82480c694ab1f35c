// Class1's processing run.
#include "component/not_built.h"
#include "component/run_frame.h"
#include "lastora/class1.h"

namespace lastora {

std::string Class1::ext_SEPA_Bearbeitung(VariantArray& aVariablen, Table&, Table&) {
  SEPAVARIABLEN fresh;
  return RunInFrame("Exit", FinishRule::kOk, aVariablen, fresh,
                    [](RunContext&) -> RunEnd { ThrowNotBuilt(); });
}

}  // namespace lastora
