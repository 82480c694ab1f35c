// Class1's own helper method.
#include "component/helpers.h"
#include "lastora/class1.h"

namespace lastora {

int32_t Class1::CountStringInText(const std::string& strDateiinhalt, const std::string& strSearch) {
  return CountOccurrences(strDateiinhalt, strSearch);
}

}  // namespace lastora
