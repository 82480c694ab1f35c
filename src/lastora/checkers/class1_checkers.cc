// Class1's file checkers.
#include "checkers/file_checkers.h"
#include "component/run_frame.h"
#include "lastora/class1.h"

namespace lastora {

std::string Class1::ext_SEPA_Checker(VariantArray& aVariablen, Table& aZielValues,
                                     Table& aZielColors, Table& aBLZintern, Table& aBLZnew,
                                     const std::string& strDTAFile1,
                                     const std::string& strDTAFile2) {
  // The SEPA checker keeps nothing between calls: its record lives for this call only.
  SEPAVARIABLEN fresh;
  return RunInFrame("Exit", FinishRule::kOk, aVariablen, fresh, [&](RunContext& run) {
    return CheckSepaFiles(*this, run, aZielValues, aZielColors, aBLZintern, aBLZnew, strDTAFile1,
                          strDTAFile2);
  });
}

std::string Class1::ext_DTAUS_Checker(VariantArray& aVariablen, Table& aZielValues,
                                      Table& aZielColors, Table&, Table&,
                                      const std::string& strDTAFile, bool boolExtern) {
  return RunInFrame(
      "Exit", FinishRule::kOkIfStillStart, aVariablen, settings_, [&](RunContext& run) {
        return CheckDtausFile(*this, run, aZielValues, aZielColors, strDTAFile, boolExtern);
      });
}

}  // namespace lastora
