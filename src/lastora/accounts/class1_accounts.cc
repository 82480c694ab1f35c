// Class1's account methods.
#include "component/not_built.h"
#include "component/run_frame.h"
#include "lastora/class1.h"

namespace lastora {

std::string Class1::getPruefziffer(const std::string&) { return FailureText(5, VbErrorDescription(5)); }
bool Class1::IsCharacter(const std::string&, bool) { return false; }
std::string Class1::Get_IBAN(const std::string&) { return FailureText(5, VbErrorDescription(5)); }
std::string Class1::Get_IBAN(const std::string&, std::string&, std::string&, std::string&) {
  return FailureText(5, VbErrorDescription(5));
}
std::string Class1::Check_BIC(int16_t, int16_t, int16_t, int16_t, const std::string&,
                              SEPAVARIABLEN&, Table&, Table&, Table&, Table&) {
  return FailureText(5, VbErrorDescription(5));
}
std::string Class1::Check_BIC(int16_t, int16_t, int16_t, int16_t, const std::string&,
                              SEPAVARIABLEN&, Table&, Table&, Table&, Table&, std::string&,
                              std::string&, std::string&, std::string&) {
  return FailureText(5, VbErrorDescription(5));
}
std::string Class1::RubLeadingZero(const std::string& strText) { return strText; }
bool Class1::Check_BLZ_File(Table&) { return false; }

}  // namespace lastora
