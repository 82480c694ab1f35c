// Class1's mail merge.
#include "lastora/class1.h"
#include "mailmerge/merge_run.h"

namespace lastora {

std::string Class1::ext_CreateSerienbrief(int32_t lngSerienbriefID, const Table& aWerteQuelleX,
                                          const Table& aWerteHeader, Table& aZiel, int16_t intBlatt,
                                          int32_t lngActiveRow, const std::string&, int32_t lngPicX,
                                          int32_t lngPicY, bool boolNoPrint, bool boolEmptyPrint) {
  return RunMailMerge({lngSerienbriefID, aWerteQuelleX, aWerteHeader, aZiel, intBlatt, lngActiveRow,
                       lngPicX, lngPicY, boolNoPrint, boolEmptyPrint});
}

}  // namespace lastora
