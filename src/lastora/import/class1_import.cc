// Class1's spreadsheet import.
#include "component/run_frame.h"
#include "lastora/class1.h"
#include "lastora/vb_error.h"

namespace lastora {

std::string Class1::GetColumnsFromExcelFile(const std::string&, Table&, const std::string&,
                                            int32_t, int16_t, const std::string&,
                                            const Variant&) {
  return "Error";
}

void Class1::TestGC() {
  Table discarded;
  GetColumnsFromExcelFile("D:\\test.xls", discarded, "", 2, 2, "Desc");
}

}  // namespace lastora
