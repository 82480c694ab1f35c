// Class1's generation run.
#include "component/not_built.h"
#include "component/run_frame.h"
#include "lastora/class1.h"

namespace lastora {

std::string Class1::ext_SEPA_Erzeugung(VariantArray& aVariablen, Table&, Table&,
                                       const std::string&, bool) {
  return RunInFrame("", FinishRule::kResultFromWork, aVariablen, settings_,
                    [](RunContext&) -> RunEnd { ThrowNotBuilt(); });
}

}  // namespace lastora
