// Class1's generation run.
#include "component/run_frame.h"
#include "generation/generation_run.h"
#include "lastora/class1.h"

namespace lastora {

std::string Class1::ext_SEPA_Erzeugung(VariantArray& aVariablen, Table& aImport, Table& aColour,
                                       const std::string& strPathDTA_, bool boolDTAUS) {
  return RunInFrame("", FinishRule::kResultFromWork, aVariablen, settings_,
                    [&](RunContext& context) {
                      return generation::RunGeneration(*this, context, {aImport, aColour},
                                                       strPathDTA_, boolDTAUS);
                    });
}

}  // namespace lastora
